#pragma once
// The tokens of one SOSI line: the line trimmed of spaces, cut at every space, empty pieces dropped. Tokens
// are index ranges into the line, so splitting a line allocates nothing for lines of up to 16 tokens.
#include "foundation/QV_String.hpp"
#include "sosi/SOSILines.hpp"

#include <cstdint>
#include <vector>

class SOSITokens {
public:
    explicit SOSITokens(const SOSILine& line);
    explicit SOSITokens(const QV_String& line);

    int32_t Count() const { return count; }
    uint32_t Length(int32_t i) const { return Get(i).count; }
    GS::UniChar At(int32_t i, uint32_t k) const { return line.GetAt(Get(i).start + k); }
    bool Is(int32_t i, const char* ascii) const;
    bool StartsWith(int32_t i, const char* ascii) const;
    bool EndsWith(int32_t i, const char* ascii) const;
    // Characters from `from` on of token i.
    QV_String Text(int32_t i, uint32_t from = 0) const;
    // The token as a number: optional sign, digits, at most one '.' or ',' followed by a digit, an optional
    // exponent ('e' or 'E', sign, digits). False for anything else; a number too large for a double is infinite.
    bool Number(int32_t i, double& value) const;

private:
    struct Range {
        uint32_t start, count;
    };
    static constexpr int32_t InlineCount = 16;
    const Range& Get(int32_t i) const { return i < InlineCount ? inlineRanges[i] : more[size_t(i - InlineCount)]; }

    SOSILine line;
    int32_t count = 0;
    Range inlineRanges[InlineCount];
    std::vector<Range> more;  // tokens past the inline ones
};

// Decimal-point-tolerant conversion of a whole text: leading spaces, sign, digits, '.' or ',', exponent; what
// follows a valid prefix is ignored; no digits give 0.
double SOSINumber(const QV_String& text);

// The absolute value of an id text's leading integer (sign allowed): what "..REF" lines name.
long SOSIIdValue(const QV_String& id);

// True when `text` begins with the ASCII `prefix`.
bool SOSIStartsWith(const SOSILine& text, const char* prefix);

// The coordinate layout a coordinate keyword line sets: 3 (north, east, height) or 1 (north, east); 0 when the
// line is none. A keyword line is shorter than 7 characters and begins with "..N" (the east letter is never
// compared, so it survives a wrong decoding); a keyword of that kind followed by numbers carries its first
// coordinates.
int32_t SOSICoordinateLayout(const SOSILine& line);
