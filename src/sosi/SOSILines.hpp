#pragma once
// The lines of one SOSI file: the decoded text held once, each line a range of it. A file of a million
// coordinates keeps one block of text and one number a line, not a string per line. Text whose characters all
// lie below U+0100 (nearly every SOSI file) is kept one byte a character.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

// One line: a view into the file's text, valid while its SOSILines is unchanged.
struct SOSILine {
    const uint8_t* narrow = nullptr;    // the units, when the text is kept in bytes
    const GS::UniChar* wide = nullptr;  // else these
    uint32_t length = 0;

    uint32_t GetLength() const { return length; }
    // The unit at `i`; 0 past the end.
    GS::UniChar GetAt(uint32_t i) const {
        return i >= length ? GS::UniChar(0) : narrow != nullptr ? GS::UniChar(narrow[i]) : wide[i];
    }
    QV_String ToString() const { return Part(0, length); }
    // `count` units from `from` on.
    QV_String Part(uint32_t from, uint32_t count) const;
};

class SOSILines {
public:
    int32_t GetCount() const { return starts_.empty() ? 0 : int32_t(starts_.size() - 1); }
    bool IsEmpty() const { return GetCount() == 0; }
    SOSILine operator[](int32_t i) const {
        const uint32_t start = starts_[size_t(i)], length = starts_[size_t(i) + 1] - start;
        return narrow_.empty() ? SOSILine{nullptr, wide_.data() + start, length}
                               : SOSILine{narrow_.data() + start, nullptr, length};
    }
    void Clear();
    // Takes `text` and keeps its lines: LF, CR LF and a lone CR end a line; each line is trimmed of spaces
    // (and NULs) at both ends, a NUL inside it becomes a space, and lines shorter than 2 units are dropped.
    void Take(std::vector<GS::UniChar>&& text);
    // The same for text of characters below U+0100, one byte each.
    void Take(std::vector<uint8_t>&& text);

private:
    std::vector<uint8_t> narrow_;    // the kept lines, one after another
    std::vector<GS::UniChar> wide_;  // or these
    std::vector<uint32_t> starts_;   // where each line starts, and where the last one ends
};
