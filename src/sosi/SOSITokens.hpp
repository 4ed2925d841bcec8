#pragma once
// The tokens of one SOSI line: the line trimmed of spaces, cut at every space, empty pieces dropped. Tokens
// are index ranges into the line, so splitting a line allocates nothing for lines of up to 16 tokens.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

class SOSITokens {
public:
    explicit SOSITokens(const QV_String& line);

    int32_t Count() const { return int32_t(ranges.size()); }
    uint32_t Length(int32_t i) const { return ranges[size_t(i)].count; }
    GS::UniChar At(int32_t i, uint32_t k) const { return text[ranges[size_t(i)].start + k]; }
    bool Is(int32_t i, const char* ascii) const;
    bool StartsWith(int32_t i, const char* ascii) const;
    bool EndsWith(int32_t i, const char* ascii) const;
    // Characters from `from` on of token i.
    QV_String Text(int32_t i, uint32_t from = 0) const;
    // The token as a number: optional sign, digits, at most one '.' or ',' followed by a digit. False for
    // anything else.
    bool Number(int32_t i, double& value) const;

private:
    struct Range {
        uint32_t start, count;
    };
    const GS::UniChar* text;
    std::vector<Range> ranges;
};

// Decimal-point-tolerant conversion of a whole text: leading spaces, sign, digits, '.' or ','; what follows a
// valid prefix is ignored; no digits give 0.
double SOSINumber(const QV_String& text);
