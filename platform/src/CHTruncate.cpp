#include "CH.hpp"

#include <cstring>

namespace {
bool DoubleByte(uint32_t codePage) { return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950; }

// Lead bytes of the double-byte pages: the byte after one belongs to the same character.
bool LeadByte(uint32_t codePage, uint8_t b) {
    if (codePage == 932) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return b >= 0x81 && b <= 0xFE;
}
}  // namespace

GSSize CHTruncate(const char* source, char* target, GSSize targetSize, uint32_t codePage) {
    if (target == nullptr || targetSize <= 0) return 0;
    if (source == nullptr) {
        target[0] = '\0';
        return 0;
    }
    const size_t length = std::strlen(source);
    size_t n = length < size_t(targetSize - 1) ? length : size_t(targetSize - 1);
    if (n < length) {
        if (codePage == 65001) {
            // Back over continuation bytes to the start of the character that does not fit whole.
            while (n > 0 && (uint8_t(source[n]) & 0xC0) == 0x80) --n;
        } else if (DoubleByte(codePage)) {
            // Walk whole characters from the start: a trail byte may look like a lead byte.
            size_t i = 0;
            while (i < n) {
                const size_t width = LeadByte(codePage, uint8_t(source[i])) ? 2 : 1;
                if (i + width > n) break;
                i += width;
            }
            n = i;
        }
    }
    std::memcpy(target, source, n);
    target[n] = '\0';
    return GSSize(n);
}
