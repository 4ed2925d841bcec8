#include "sosi/SOSILines.hpp"

#include <algorithm>

QV_String SOSILine::Part(uint32_t from, uint32_t count) const {
    QV_String out;
    if (from >= length) return out;
    count = std::min(count, length - from);
    if (wide != nullptr) {
        out.AppendWide(wide + from, count);
        return out;
    }
    std::vector<GS::UniChar> units(narrow + from, narrow + from + count);
    if (count > 0) out.AppendWide(units.data(), count);
    return out;
}

void SOSILines::Clear() {
    std::vector<uint8_t>().swap(narrow_);
    std::vector<GS::UniChar>().swap(wide_);
    std::vector<uint32_t>().swap(starts_);
}

namespace {

// Moves the kept lines to the front of the same block, so the terminators and dropped lines cost nothing.
template <typename Unit>
void KeepLines(std::vector<Unit>& text, std::vector<uint32_t>& starts) {
    Unit* p = text.data();
    const size_t n = text.size();
    size_t to = 0, i = 0;
    while (i < n) {
        size_t start = i;
        while (i < n && p[i] != Unit('\n') && p[i] != Unit('\r')) ++i;
        size_t end = i;
        if (i < n) {
            if (p[i] == Unit('\r') && i + 1 < n && p[i + 1] == Unit('\n')) ++i;
            ++i;
        }
        while (start < end && (p[start] == Unit(' ') || p[start] == 0)) ++start;
        while (end > start && (p[end - 1] == Unit(' ') || p[end - 1] == 0)) --end;
        if (end - start < 2) continue;
        starts.push_back(uint32_t(to));
        for (size_t k = start; k < end; ++k) p[to++] = p[k] == 0 ? Unit(' ') : p[k];  // a NUL never ends a token early
    }
    if (!starts.empty()) starts.push_back(uint32_t(to));
    // The block keeps its size: a copy to shrink it would hold the text twice for a moment.
    text.resize(to);
    starts.shrink_to_fit();
}

}  // namespace

void SOSILines::Take(std::vector<GS::UniChar>&& text) {
    Clear();
    wide_ = std::move(text);
    KeepLines(wide_, starts_);
    if (wide_.empty()) wide_.push_back(0);  // a view never points at nothing
}

void SOSILines::Take(std::vector<uint8_t>&& text) {
    Clear();
    narrow_ = std::move(text);
    KeepLines(narrow_, starts_);
    if (narrow_.empty()) narrow_.push_back(0);
}
