#include "config/HostConfigFile.hpp"

#include "UniString.hpp"
#include "Win32.hpp"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace HostConfig {

// The system code page of the stand-in is Windows-1252; its conversions are the runtime's own.
std::string Utf8ToCp1252(const std::string& utf8) {
    const std::u16string wide = GS::UniString(utf8).ToU16String();
    if (wide.empty()) return {};
    const int32_t size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int32_t>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size_t(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int32_t>(wide.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int32_t size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int32_t>(bytes.size()), nullptr, 0);
    std::u16string wide(size > 0 ? size_t(size) : 0, u'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int32_t>(bytes.size()), &wide[0], size);
    return GS::UniString(wide).ToUtf8();
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
