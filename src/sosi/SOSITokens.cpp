#include "sosi/SOSITokens.hpp"

#include <cstdlib>
#include <cstring>

SOSITokens::SOSITokens(const QV_String& text)
    : SOSITokens(SOSILine{nullptr, text.GetBuffer(), text.GetBuffer() != nullptr ? text.GetLength() : 0}) {}

SOSITokens::SOSITokens(const SOSILine& text) : line(text) {
    const uint32_t n = line.narrow != nullptr || line.wide != nullptr ? line.length : 0;
    uint32_t i = 0;
    while (i < n) {
        while (i < n && line.GetAt(i) == u' ') ++i;
        const uint32_t start = i;
        while (i < n && line.GetAt(i) != u' ') ++i;
        if (i == start) continue;
        if (count < InlineCount)
            inlineRanges[count] = Range{start, i - start};
        else
            more.push_back(Range{start, i - start});
        ++count;
    }
}

bool SOSITokens::Is(int32_t i, const char* ascii) const {
    return Length(i) == std::strlen(ascii) && StartsWith(i, ascii);
}

bool SOSITokens::StartsWith(int32_t i, const char* ascii) const {
    const uint32_t n = uint32_t(std::strlen(ascii));
    if (Length(i) < n) return false;
    for (uint32_t k = 0; k < n; ++k)
        if (At(i, k) != GS::UniChar(uint8_t(ascii[k]))) return false;
    return true;
}

bool SOSITokens::EndsWith(int32_t i, const char* ascii) const {
    const uint32_t n = uint32_t(std::strlen(ascii));
    const uint32_t len = Length(i);
    if (len < n) return false;
    for (uint32_t k = 0; k < n; ++k)
        if (At(i, len - n + k) != GS::UniChar(uint8_t(ascii[k]))) return false;
    return true;
}

QV_String SOSITokens::Text(int32_t i, uint32_t from) const {
    if (from >= Length(i)) return QV_String();
    return line.Part(Get(i).start + from, Length(i) - from);
}

namespace {

// Parses units [p, end) as a number when `strict`: the whole range must be one.
template <typename Unit>
bool ParseUnits(const Unit* p, const Unit* end, bool strict, double& value) {
    char buffer[64];
    size_t n = 0;
    while (!strict && p < end && *p == u' ') ++p;
    if (p < end && (*p == u'-' || *p == u'+')) buffer[n++] = char(*p++);
    bool digits = false, separator = false;
    while (p < end && n < sizeof(buffer) - 1) {
        const GS::UniChar c = GS::UniChar(*p);
        if (c >= u'0' && c <= u'9') {
            buffer[n++] = char(c);
            digits = true;
        } else if ((c == u'.' || c == u',') && !separator && p + 1 < end && p[1] >= u'0' && p[1] <= u'9') {
            buffer[n++] = '.';
            separator = true;
        } else {
            break;
        }
        ++p;
    }
    // An exponent (1e308, 2.5E-3) after the digits; without its digits the 'e' is not part of the number.
    if (digits && p < end && (*p == u'e' || *p == u'E')) {
        const Unit* q = p + 1;
        if (q < end && (*q == u'-' || *q == u'+')) ++q;
        if (q < end && *q >= u'0' && *q <= u'9' && n + size_t(end - p) < sizeof(buffer)) {
            buffer[n++] = 'e';
            for (++p; p < end && (*p == u'-' || *p == u'+' || (*p >= u'0' && *p <= u'9')); ++p) {
                if ((*p == u'-' || *p == u'+') && buffer[n - 1] != 'e') break;
                buffer[n++] = char(*p);
            }
        }
    }
    buffer[n] = '\0';
    if (!digits || (strict && p != end)) {
        value = 0.0;
        return false;
    }
    value = std::strtod(buffer, nullptr);
    return true;
}

}  // namespace

bool SOSITokens::Number(int32_t i, double& value) const {
    const uint32_t start = Get(i).start;
    if (line.narrow != nullptr) return ParseUnits(line.narrow + start, line.narrow + start + Length(i), true, value);
    return ParseUnits(line.wide + start, line.wide + start + Length(i), true, value);
}

double SOSINumber(const QV_String& text) {
    double value = 0.0;
    if (text.GetBuffer() != nullptr) ParseUnits(text.GetBuffer(), text.GetBuffer() + text.GetLength(), false, value);
    return value;
}

long SOSIIdValue(const QV_String& id) {
    const GS::UniChar* p = id.GetBuffer();
    const uint32_t n = p != nullptr ? id.GetLength() : 0;
    uint32_t i = 0;
    while (i < n && p[i] == u' ') ++i;
    if (i < n && (p[i] == u'-' || p[i] == u'+')) ++i;
    long value = 0;
    for (; i < n && p[i] >= u'0' && p[i] <= u'9'; ++i) {
        if (value > 100000000000000L) break;  // ids are far shorter; no overflow
        value = value * 10 + long(p[i] - u'0');
    }
    return value;
}

bool SOSIStartsWith(const SOSILine& text, const char* prefix) {
    const uint32_t n = uint32_t(std::strlen(prefix));
    if (text.length < n) return false;
    for (uint32_t k = 0; k < n; ++k)
        if (text.GetAt(k) != GS::UniChar(uint8_t(prefix[k]))) return false;
    return true;
}

int32_t SOSICoordinateLayout(const SOSILine& line) {
    if (line.GetLength() < 3 || !SOSIStartsWith(line, "..N")) return 0;
    if (line.GetLength() < 7) return line.GetAt(line.GetLength() - 1) == u'H' ? 3 : 1;
    SOSITokens t(line);
    double v = 0.0;
    if (t.Length(0) >= 7 || t.Count() < 3 || !t.Number(1, v) || !t.Number(2, v)) return 0;
    return t.At(0, t.Length(0) - 1) == u'H' ? 3 : 1;
}
