#pragma once
// The lines of one SOSI file: the decoded text held once, each line a range of it. A file of a million
// coordinates keeps one block of text and two numbers a line, not a string per line.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

// One line: a view into the file's text, valid while its SOSILines is unchanged.
struct SOSILine {
    const GS::UniChar* text = nullptr;
    uint32_t length = 0;

    uint32_t GetLength() const { return length; }
    // The unit at `i`; 0 past the end.
    GS::UniChar GetAt(uint32_t i) const { return i < length ? text[i] : GS::UniChar(0); }
    QV_String ToString() const;
};

class SOSILines {
public:
    int32_t GetCount() const { return starts_.empty() ? 0 : int32_t(starts_.size() - 1); }
    bool IsEmpty() const { return GetCount() == 0; }
    SOSILine operator[](int32_t i) const {
        return SOSILine{text_.data() + starts_[size_t(i)], starts_[size_t(i) + 1] - starts_[size_t(i)]};
    }
    void Clear();
    // Takes `text` and keeps its lines: LF, CR LF and a lone CR end a line; each line is trimmed of spaces
    // (and NULs) at both ends, a NUL inside it becomes a space, and lines shorter than 2 units are dropped.
    void Take(std::vector<GS::UniChar>&& text);

private:
    std::vector<GS::UniChar> text_;  // the kept lines, one after another
    std::vector<uint32_t> starts_;   // where each line starts, and where the last one ends
};
