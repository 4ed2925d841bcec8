#include "sosi/SOSILines.hpp"

QV_String SOSILine::ToString() const {
    QV_String out;
    if (length > 0) out.AppendWide(text, length);
    return out;
}

void SOSILines::Clear() {
    std::vector<GS::UniChar>().swap(text_);
    std::vector<uint32_t>().swap(starts_);
}

void SOSILines::Take(std::vector<GS::UniChar>&& text) {
    Clear();
    text_ = std::move(text);
    GS::UniChar* p = text_.data();
    const size_t n = text_.size();
    // The kept lines move to the front of the same block, so the terminators and dropped lines cost nothing.
    size_t to = 0, i = 0;
    while (i < n) {
        size_t start = i;
        while (i < n && p[i] != u'\n' && p[i] != u'\r') ++i;
        size_t end = i;
        if (i < n) {
            if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
            ++i;
        }
        while (start < end && (p[start] == u' ' || p[start] == 0)) ++start;
        while (end > start && (p[end - 1] == u' ' || p[end - 1] == 0)) --end;
        if (end - start < 2) continue;
        starts_.push_back(uint32_t(to));
        for (size_t k = start; k < end; ++k) p[to++] = p[k] == 0 ? GS::UniChar(u' ') : p[k];  // a NUL never ends a token early
    }
    if (!starts_.empty()) starts_.push_back(uint32_t(to));
    text_.resize(to);
    text_.shrink_to_fit();
    starts_.shrink_to_fit();
}
