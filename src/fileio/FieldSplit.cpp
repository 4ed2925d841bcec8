#include "fileio/FieldSplit.hpp"

#include <cstring>

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
    ForEachFieldBreak(line, DelimiterSpaces, '\t', minBlanks, [&](const char* b, const char* e) {
        out.append(from, size_t(b - from));
        out.push_back('\t');
        from = e;
    });
    out.append(from, size_t(line.data() + line.size() - from));
    return out;
}

void SplitFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks,
                 std::vector<std::string_view>& fields, size_t most) {
    fields.clear();
    const char* from = line.data();
    ForEachFieldBreak(line, mode, delimiter, minBlanks, [&](const char* b, const char* e) {
        if (fields.size() < most) fields.emplace_back(from, size_t(b - from));
        from = e;
    });
    if (fields.size() < most) fields.emplace_back(from, size_t(line.data() + line.size() - from));
}

size_t CountFields(std::string_view line, int32_t mode, char delimiter, int32_t minBlanks) {
    size_t count = 1;
    ForEachFieldBreak(line, mode, delimiter, minBlanks, [&](const char*, const char*) { ++count; });
    return count;
}
