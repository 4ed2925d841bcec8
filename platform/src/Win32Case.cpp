// Case mapping of single UTF-16 units: Basic Latin, Latin-1, Latin Extended-A, Greek and Coptic, Cyrillic
// and the Cyrillic supplement. Simple one-to-one mappings only (no ß to SS).
#include "Win32.hpp"

namespace {

bool Between(char16_t u, char16_t lo, char16_t hi) { return u >= lo && u <= hi; }
bool Even(char16_t u) { return (u & 1) == 0; }

char16_t Lower(char16_t u) {
    if (u < 0x80) return Between(u, 'A', 'Z') ? static_cast<char16_t>(u + 32) : u;
    if (u < 0x100) return Between(u, 0xC0, 0xDE) && u != 0xD7 ? static_cast<char16_t>(u + 32) : u;
    if (u < 0x180) {
        if (u == 0x130) return 0x69;  // capital I with dot
        if (u == 0x178) return 0xFF;
        if ((Between(u, 0x100, 0x12F) || Between(u, 0x132, 0x137) || Between(u, 0x14A, 0x177)) && Even(u))
            return static_cast<char16_t>(u + 1);
        if ((Between(u, 0x139, 0x148) || Between(u, 0x179, 0x17E)) && !Even(u)) return static_cast<char16_t>(u + 1);
        return u;
    }
    if (Between(u, 0x370, 0x3FF)) {
        if (u == 0x370 || u == 0x372 || u == 0x376) return static_cast<char16_t>(u + 1);
        if (u == 0x37F) return 0x3F3;
        if (u == 0x386) return 0x3AC;
        if (Between(u, 0x388, 0x38A)) return static_cast<char16_t>(u + 37);
        if (u == 0x38C) return 0x3CC;
        if (Between(u, 0x38E, 0x38F)) return static_cast<char16_t>(u + 63);
        if (Between(u, 0x391, 0x3A1) || Between(u, 0x3A3, 0x3AB)) return static_cast<char16_t>(u + 32);
        if (u == 0x3CF) return 0x3D7;
        if (Between(u, 0x3D8, 0x3EF) && Even(u)) return static_cast<char16_t>(u + 1);
        if (u == 0x3F4) return 0x3B8;
        if (u == 0x3F7 || u == 0x3FA) return static_cast<char16_t>(u + 1);
        if (u == 0x3F9) return 0x3F2;
        if (Between(u, 0x3FD, 0x3FF)) return static_cast<char16_t>(u - 130);
        return u;
    }
    if (Between(u, 0x400, 0x52F)) {
        if (Between(u, 0x400, 0x40F)) return static_cast<char16_t>(u + 80);
        if (Between(u, 0x410, 0x42F)) return static_cast<char16_t>(u + 32);
        if ((Between(u, 0x460, 0x481) || Between(u, 0x48A, 0x4BF) || Between(u, 0x4D0, 0x52F)) && Even(u))
            return static_cast<char16_t>(u + 1);
        if (u == 0x4C0) return 0x4CF;
        if (Between(u, 0x4C1, 0x4CE) && !Even(u)) return static_cast<char16_t>(u + 1);
        return u;
    }
    return u;
}

char16_t Upper(char16_t u) {
    if (u < 0x80) return Between(u, 'a', 'z') ? static_cast<char16_t>(u - 32) : u;
    if (u < 0x100) {
        if (u == 0xB5) return 0x39C;  // micro sign
        if (u == 0xFF) return 0x178;
        return Between(u, 0xE0, 0xFE) && u != 0xF7 ? static_cast<char16_t>(u - 32) : u;
    }
    if (u < 0x180) {
        if (u == 0x131) return 0x49;  // dotless i
        if (u == 0x17F) return 0x53;  // long s
        if ((Between(u, 0x101, 0x12F) || Between(u, 0x133, 0x137) || Between(u, 0x14B, 0x177)) && !Even(u))
            return static_cast<char16_t>(u - 1);
        if ((Between(u, 0x13A, 0x148) || Between(u, 0x17A, 0x17E)) && Even(u)) return static_cast<char16_t>(u - 1);
        return u;
    }
    if (Between(u, 0x370, 0x3FF)) {
        if (u == 0x371 || u == 0x373 || u == 0x377) return static_cast<char16_t>(u - 1);
        if (Between(u, 0x37B, 0x37D)) return static_cast<char16_t>(u + 130);
        if (u == 0x3AC) return 0x386;
        if (Between(u, 0x3AD, 0x3AF)) return static_cast<char16_t>(u - 37);
        if (Between(u, 0x3B1, 0x3C1) || Between(u, 0x3C3, 0x3CB)) return static_cast<char16_t>(u - 32);
        if (u == 0x3C2) return 0x3A3;  // final sigma
        if (u == 0x3CC) return 0x38C;
        if (Between(u, 0x3CD, 0x3CE)) return static_cast<char16_t>(u - 63);
        switch (u) {
            case 0x3D0: return 0x392;
            case 0x3D1: return 0x398;
            case 0x3D5: return 0x3A6;
            case 0x3D6: return 0x3A0;
            case 0x3D7: return 0x3CF;
            case 0x3F0: return 0x39A;
            case 0x3F1: return 0x3A1;
            case 0x3F2: return 0x3F9;
            case 0x3F3: return 0x37F;
            case 0x3F5: return 0x395;
            case 0x3F8: return 0x3F7;
            case 0x3FB: return 0x3FA;
            default: break;
        }
        if (Between(u, 0x3D9, 0x3EF) && !Even(u)) return static_cast<char16_t>(u - 1);
        return u;
    }
    if (Between(u, 0x400, 0x52F)) {
        if (Between(u, 0x430, 0x44F)) return static_cast<char16_t>(u - 32);
        if (Between(u, 0x450, 0x45F)) return static_cast<char16_t>(u - 80);
        if ((Between(u, 0x461, 0x481) || Between(u, 0x48B, 0x4BF) || Between(u, 0x4D1, 0x52F)) && !Even(u))
            return static_cast<char16_t>(u - 1);
        if (u == 0x4CF) return 0x4C0;
        if (Between(u, 0x4C2, 0x4CE) && Even(u)) return static_cast<char16_t>(u - 1);
        return u;
    }
    return u;
}

}  // namespace

WCHAR CharLowerW(WCHAR unit) { return Lower(unit); }
WCHAR CharUpperW(WCHAR unit) { return Upper(unit); }

WCHAR* CharLowerW(WCHAR* text) {
    if (text != nullptr)
        for (WCHAR* p = text; *p != 0; ++p) *p = Lower(*p);
    return text;
}

WCHAR* CharUpperW(WCHAR* text) {
    if (text != nullptr)
        for (WCHAR* p = text; *p != 0; ++p) *p = Upper(*p);
    return text;
}
