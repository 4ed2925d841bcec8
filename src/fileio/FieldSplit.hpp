#pragma once
// How the column readers cut a line into fields, and the rule for "N or more spaces" that the import and the
// text import dialog's previews share: a run of at least N spaces followed by another character is one column
// break (a TAB); shorter runs, and a run at the end of the line, stay as they are.
#include <cstddef>
#include <cstdint>
#include <cstring>
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
// delimiter 0 never cuts. `fields` is emptied first; the views point into `line`. At most the first `most` fields
// are kept: a line of millions of fields costs no list of them when a few are read.
void SplitFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks,
                 std::vector<std::string_view>& fields, size_t most = SIZE_MAX);
// Only the number of fields SplitFields would give.
size_t CountFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks);

// Calls `cut(begin, end)` for each break of the line: a single delimiter, or in space mode a TAB or a run of at
// least minBlanks spaces followed by another character.
template <typename Cut>
inline void ForEachFieldBreak(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks, Cut cut) {
    const char* p = line.data();
    const char* end = p + line.size();
    if (mode != DelimiterSpaces) {
        if (delimiter == 0) return;
        while (p < end) {
            const void* hit = std::memchr(p, delimiter, size_t(end - p));
            if (hit == nullptr) return;
            const char* at = static_cast<const char*>(hit);
            cut(at, at + 1);
            p = at + 1;
        }
        return;
    }
    const int32_t n = minBlanks < 1 ? 1 : minBlanks;
    while (p < end) {
        if (*p == '\t') {
            cut(p, p + 1);
            ++p;
        } else if (*p == ' ') {
            const char* runEnd = p;
            while (runEnd < end && *runEnd == ' ') ++runEnd;
            if (runEnd < end && runEnd - p >= n) cut(p, runEnd);
            p = runEnd;
        } else {
            ++p;
        }
    }
}

// Calls `take(field)` for each field, as SplitFields would give them, without a list.
template <typename Take>
inline void ForEachField(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks, Take take) {
    if (mode == DelimiterSpaces && minBlanks <= 1) {
        // Every TAB, and every run of spaces that another character follows, ends a field: one pass.
        const char* p = line.data();
        const char* end = p + line.size();
        const char* from = p;
        while (true) {
            while (p < end && *p != ' ' && *p != '\t') ++p;
            if (p == end) break;
            if (*p == '\t') {
                take(std::string_view(from, size_t(p - from)));
                from = ++p;
                continue;
            }
            const char* runEnd = p;
            while (runEnd < end && *runEnd == ' ') ++runEnd;
            // A run at the end of the line is no break: it stays in the last field.
            if (runEnd == end) break;
            take(std::string_view(from, size_t(p - from)));
            from = p = runEnd;
        }
        take(std::string_view(from, size_t(end - from)));
        return;
    }
    const char* from = line.data();
    ForEachFieldBreak(line, mode, delimiter, minBlanks, [&](const char* b, const char* e) {
        take(std::string_view(from, size_t(b - from)));
        from = e;
    });
    take(std::string_view(from, size_t(line.data() + line.size() - from)));
}
