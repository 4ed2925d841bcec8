#include "HostConfigFile.hpp"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace HostConfig {
namespace {
// Code points of bytes 0x80-0x9F in Windows-1252; 0 where the code page leaves the byte unassigned.
const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Next code point of UTF-8 text; malformed bytes give U+FFFD and advance by one.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
    const uint8_t b = uint8_t(s[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    uint32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= extra; ++k) {
        const uint8_t c = uint8_t(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += size_t(extra) + 1;
    return cp;
}
}  // namespace

std::string Utf8ToCp1252(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t cp = NextCodePoint(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += char(cp);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] != 0 && kHigh[k] == cp) mapped = char(0x80 + k);
        out += mapped;
    }
    return out;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            AppendUtf8(out, kHigh[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

void SwapNibbles(std::string& bytes) {
    for (char& c : bytes) {
        const uint8_t b = uint8_t(c);
        c = char(uint8_t((b << 4) | (b >> 4)));
    }
}

bool Parse(const std::string& text, std::vector<Entry>* entries, std::string* error) {
    entries->clear();
    size_t p = 0;
    const size_t n = text.size();
    auto fail = [&](const std::string& why) {
        *error = why + " (at byte " + std::to_string(p) + ")";
        return false;
    };
    while (p < n) {
        if (text[p] != '$') return fail("an entry must start with '$'");
        const size_t colon = text.find(':', p + 1);
        if (colon == std::string::npos) return fail("entry without ':'");
        const std::string key = text.substr(p + 1, colon - p - 1);
        if (key.empty()) return fail("empty key");
        if (key.find_first_of("\r\n") != std::string::npos) return fail("line break inside a key");
        size_t v = colon + 2;  // the byte after ':' is a separator
        if (v > n) return fail("entry '" + key + "' ends after its ':'");
        std::string value;
        bool ended = false;
        while (v < n) {
            const char c = text[v];
            if (c != '\r' && c != '\n') {
                value += c;
                ++v;
                continue;
            }
            size_t after = v + 1;
            if (c == '\r' && after < n && text[after] == '\n') ++after;
            if (after >= n || text[after] == '$') {
                p = after;
                ended = true;
                break;
            }
            if (text[after] != '#') {
                p = after;
                return fail("line break inside entry '" + key + "' is not followed by '$' or '#'");
            }
            value.append(text, v, after - v);
            v = after + 1;
        }
        if (!ended) {
            p = n;
            return fail("entry '" + key + "' has no line break at the end of the file");
        }
        entries->push_back({Cp1252ToUtf8(key), Cp1252ToUtf8(value)});
    }
    return true;
}

std::string Format(const std::vector<Entry>& entries) {
    std::string text;
    for (const Entry& e : entries) {
        const std::string value = Utf8ToCp1252(e.value);
        text += '$';
        text += Utf8ToCp1252(e.key);
        text += ": ";
        for (size_t i = 0; i < value.size(); ++i) {
            text += value[i];
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
                text += '\n';
                ++i;
            }
            if (value[i] == '\r' || value[i] == '\n') text += '#';
        }
        text += "\r\n";
    }
    return text;
}

bool ReadFile(const std::string& path, std::vector<Entry>* entries, std::string* error) {
    entries->clear();
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return true;  // a missing file has no entries
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    std::string bytes = ss.str();
    SwapNibbles(bytes);
    std::string why;
    if (!Parse(bytes, entries, &why)) {
        *error = path + ": " + why;
        return false;
    }
    return true;
}

bool WriteFile(const std::string& path, const std::vector<Entry>& entries, std::string* error) {
    std::string bytes = Format(entries);
    SwapNibbles(bytes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), std::streamsize(bytes.size()))) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool SetEntry(const std::string& path, const std::string& key, const std::string& value, std::string* error) {
    std::vector<Entry> entries;
    if (!ReadFile(path, &entries, error)) return false;
    bool found = false;
    for (Entry& e : entries)
        if (e.key == key) {
            e.value = value;
            found = true;
            break;
        }
    if (!found) entries.push_back({key, value});
    return WriteFile(path, entries, error);
}

}  // namespace HostConfig
