#include "project/Guids.hpp"

#include <cstdint>
#include <cstdio>
#include <cstring>

std::string GuidText(const API_Guid& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(g.time_low),
                  unsigned(g.time_mid), unsigned(g.time_hi_and_version), g.clock_seq[0], g.clock_seq[1], g.node[0],
                  g.node[1], g.node[2], g.node[3], g.node[4], g.node[5]);
    return buf;
}

bool ParseGuidText(const std::string& text, API_Guid* guid) {
    if (text.size() != 36) return false;
    uint8_t b[16];
    size_t k = 0;
    for (size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') return false;
            ++i;
            continue;
        }
        int v = 0;
        for (int d = 0; d < 2; ++d) {
            const char c = text[i + size_t(d)];
            int x;
            if (c >= '0' && c <= '9')
                x = c - '0';
            else if (c >= 'a' && c <= 'f')
                x = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                x = c - 'A' + 10;
            else
                return false;
            v = v * 16 + x;
        }
        b[k++] = uint8_t(v);
        i += 2;
    }
    guid->time_low = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    guid->time_mid = uint16_t((b[4] << 8) | b[5]);
    guid->time_hi_and_version = uint16_t((b[6] << 8) | b[7]);
    guid->clock_seq[0] = b[8];
    guid->clock_seq[1] = b[9];
    for (int i = 0; i < 6; ++i) guid->node[i] = b[10 + i];
    return true;
}
