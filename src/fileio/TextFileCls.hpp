#pragma once
// TextFileCls: the XYZ text reader. One point per line, its fields in one of seven column layouts; a line with
// fewer fields than its layout needs is dropped, a line whose coordinates hold no number makes no point.
#include "fileio/ColumnFileCls.hpp"

#include <cstdint>

// The column layouts, by the number the reader stores ("Format:" lists them in another order).
struct TextLayout {
    int32_t minFields;
    int32_t x, y, z, code, comment;  // field index from 0, -1 when the layout has none (no z: height 0)
};
// Layout 1 to 7; any other number reads as layout 3, "x y z".
const TextLayout& GetTextLayout(int32_t layout);
// Layout number of the "Format:" pop-up's entry 1 to 7 and back.
int32_t LayoutFromFormatEntry(int32_t entry);
int32_t FormatEntryFromLayout(int32_t layout);

class TextFileCls : public ColumnFileCls {
public:
    TextFileCls();

    // Reads, interprets and filters with the options as they stand.
    bool Read() override;

    int32_t layout;  // 1 to 7

protected:
    void DetectFormat() override;
};

// The one-time format detection from the file's second line (delimiter, decimal mark, N, layout); acts only
// while the first-analysis flag is set, and clears it. Reads from the start of the file.
void DetectTextFileFormat(TextFileCls& reader);
// Whether a field is a plain number: optional blanks and sign, digits with at most one '.' or ',' followed by
// a digit, nothing else.
bool IsNumberField(std::string_view field);
