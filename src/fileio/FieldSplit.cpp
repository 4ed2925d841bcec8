#include "fileio/FieldSplit.hpp"

#include <cstring>

namespace {

// Calls `cut(begin, end)` for each break of the line: a single delimiter, or in space mode a TAB or a run of at
// least minBlanks spaces followed by another character.
template <typename Cut>
void ForEachBreak(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks, Cut cut) {
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

}  // namespace

int32_t MostFrequentSpaceRun(std::string_view line) {
    uint32_t counts[51] = {};
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] != ' ') {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < line.size() && line[j] == ' ') ++j;
        if (j < line.size() && j - i <= 50) ++counts[j - i];
        i = j;
    }
    int32_t best = 1;
    for (int32_t length = 1; length <= 50; ++length)
        if (counts[length] > counts[best]) best = length;
    return best;
}

std::string ConvertSpaceRuns(std::string_view line, int32_t minBlanks) {
    std::string out;
    out.reserve(line.size());
    const char* from = line.data();
    ForEachBreak(line, DelimiterSpaces, '\t', minBlanks, [&](const char* b, const char* e) {
        out.append(from, size_t(b - from));
        out.push_back('\t');
        from = e;
    });
    out.append(from, size_t(line.data() + line.size() - from));
    return out;
}

void SplitFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks,
                 std::vector<std::string_view>& fields) {
    fields.clear();
    const char* from = line.data();
    ForEachBreak(line, mode, delimiter, minBlanks, [&](const char* b, const char* e) {
        fields.emplace_back(from, size_t(b - from));
        from = e;
    });
    fields.emplace_back(from, size_t(line.data() + line.size() - from));
}

size_t CountFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks) {
    size_t count = 1;
    ForEachBreak(line, mode, delimiter, minBlanks, [&](const char*, const char*) { ++count; });
    return count;
}
