#pragma once
// How the column readers cut a line into fields, and the rule for "N or more spaces" that the import and the
// text import dialog's previews share: a run of at least N spaces followed by another character is one column
// break (a TAB); shorter runs, and a run at the end of the line, stay as they are.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Delimiter modes of the column readers' options.
enum DelimiterMode : int32_t {
    DelimiterTab = 1,        // "tab"
    DelimiterSemicolon = 2,  // "semicolon"
    DelimiterSpaces = 3,     // "N or more spaces"
    DelimiterOther = 4,      // "other:"
};

// The most frequent length (1 to 50) of the space runs followed by another character; the shortest on a tie,
// 1 when there is none.
int32_t MostFrequentSpaceRun(std::string_view line);
// The "N or more spaces" rewrite: each run of at least `minBlanks` spaces followed by another character
// becomes one TAB.
std::string ConvertSpaceRuns(std::string_view line, int32_t minBlanks);

// Cuts `line` at every `delimiter`; with DelimiterSpaces the line is cut as if rewritten by ConvertSpaceRuns
// first and then at TABs. Empty fields are kept, and the text after the last break is the last field. A
// delimiter 0 never cuts. `fields` is emptied first; the views point into `line`.
void SplitFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks,
                 std::vector<std::string_view>& fields);
// Only the number of fields SplitFields would give.
size_t CountFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks);
