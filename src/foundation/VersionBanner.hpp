#pragma once
// The add-on's one-line version banner: name, dotted version, host generation in parentheses, build date
// (dd/mm/yyyy), then optional language codes. The about item shows version and date from it.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

struct VersionInfo {
    QV_String name;         // word 0
    QV_String versionText;  // word 1 as written
    uint16_t major = 0;     // the numbers of word 1 ("20.1.3.7"); a missing one is 0
    uint16_t minor = 0;
    uint16_t release = 0;
    uint16_t build = 0;
    uint16_t hostVersion = 0;     // the number inside word 2
    QV_String date;               // word 3 as year, month, day ("20211105")
    QV_String dateText;           // word 3 as written
    QV_List<uint16_t> languages;  // language indexes 0 (Italian) to 6 (Russian) named from word 4 on
    QV_String extraText;          // touched only by Clear

    // Empties every text, zeroes every number, empties `languages`.
    void Clear();
};

// Fills `info` from the banner. False, with `info` cleared, for an empty banner or one of fewer than four
// words (name, version, host, date); nothing is read that the text does not hold.
bool ParseVersionBanner(QV_String text, VersionInfo& info);

// Words separated by blanks and tabs; separators in a row count as one, but a separator at the very start
// gives an empty first word and one at the end an empty last word. An empty text gives one empty word.
void SplitWords(const QV_String& text, QV_List<QV_String>& words);

// Pieces between occurrences of one byte character (selector 2); two in a row give an empty piece; the rest
// after the last one is always appended.
void SplitAtChar(const QV_String& text, QV_List<QV_String>& pieces, char separator);

// "dd/mm/yyyy" -> "yyyymmdd" (characters 6-9, 3-4, 0-1). A text shorter than ten characters gives an empty
// string and false.
bool DateToSortable(QV_String& out, const QV_String& date);
