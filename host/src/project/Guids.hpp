#pragma once
// GUIDs as text and as keys of ordered maps.
#include "APIDefs.hpp"

#include <cstdint>
#include <cstring>
#include <string>

// The GUIDs' bytes in memory order, as memcmp orders them, compared eight at a time (every element lookup
// goes through here).
struct GuidLess {
    bool operator()(const API_Guid& a, const API_Guid& b) const {
        uint64_t x[2], y[2];
        std::memcpy(x, &a, sizeof x);
        std::memcpy(y, &b, sizeof y);
        if (x[0] != y[0]) return Ordered(x[0]) < Ordered(y[0]);
        return Ordered(x[1]) < Ordered(y[1]);
    }
    static uint64_t Ordered(uint64_t w) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        return __builtin_bswap64(w);
#else
        return w;
#endif
    }
};

// GUIDs as keys of hash tables: both halves mixed, but for the four lowest bits of the first byte, which stay
// the hash's lowest. GUIDs that differ there only (this host's serials, sixteen at a time) then fall on slots side
// by side, and a table met in creation order is read in runs, not at a random slot each time; GUIDs that differ
// anywhere else are spread as well as before.
struct GuidHash {
    static constexpr unsigned kRunBits = 4;
    size_t operator()(const API_Guid& g) const noexcept {
        uint64_t x[2];
        std::memcpy(x, &g, sizeof x);
        constexpr uint64_t run = (uint64_t(1) << kRunBits) - 1;
        uint64_t h = (x[0] & ~run) ^ (x[1] * 0x9E3779B97F4A7C15ull);
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 33;
        return size_t((h & ~run) | (x[0] & run));
    }
};

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
std::string GuidText(const API_Guid& guid);
bool ParseGuidText(const std::string& text, API_Guid* guid);
