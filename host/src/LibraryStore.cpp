#include "LibraryStore.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(uint8_t(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(uint8_t(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// UTF-8 to UTF-16; false for malformed input (overlong forms, surrogates, values above U+10FFFF).
bool Utf8ToUtf16(const std::string& in, std::u16string* out) {
    GS::UniString text;
    if (!GS::UniString::DecodeUtf8(in.data(), static_cast<uint32_t>(in.size()), &text)) return false;
    *out = text.ToU16String();
    return true;
}

struct TypeName {
    const char* word;
    int32_t id;
};
const TypeName kTypes[] = {
    {"real", LibParType::Real},         {"length", LibParType::Length},       {"angle", LibParType::Angle},
    {"integer", LibParType::Integer},   {"boolean", LibParType::Boolean},     {"pen", LibParType::Pen},
    {"linetype", LibParType::LineType}, {"material", LibParType::Material},   {"fill", LibParType::Fill},
    {"colorrgb", LibParType::ColorRGB}, {"intensity", LibParType::Intensity}, {"lightswitch", LibParType::LightSwitch},
    {"string", LibParType::Text},
};

bool IsNameStart(char c) { return std::isalpha(uint8_t(c)) || c == '_' || c == '~'; }
bool IsNameChar(char c) { return std::isalnum(uint8_t(c)) || c == '_' || c == '~'; }

// Reads a parameter or array size "[n]": digits only, at least 1.
bool ReadDim(const std::string& s, size_t& pos, int64_t* dim, std::string* why) {
    ++pos;  // '['
    size_t start = pos;
    while (pos < s.size() && std::isdigit(uint8_t(s[pos]))) ++pos;
    if (pos == start || pos >= s.size() || s[pos] != ']') {
        *why = "bad array size: '[' must be followed by a whole number and ']'";
        return false;
    }
    const std::string digits = s.substr(start, pos - start);
    ++pos;  // ']'
    if (digits.size() > 9) {
        *why = "array size " + digits + " is too large";
        return false;
    }
    *dim = std::stoll(digits);
    if (*dim < 1) {
        *why = "array size must be at least 1";
        return false;
    }
    return true;
}

// Splits the values after '=' into items: quoted texts (escapes resolved, `quoted` true) or bare words.
struct ValueItem {
    std::string text;
    bool quoted;
};

bool SplitValues(const std::string& s, std::vector<ValueItem>* items, std::string* why) {
    items->clear();
    size_t pos = 0;
    const std::string t = Trim(s);
    if (t.empty()) return true;
    while (true) {
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
        ValueItem item{std::string(), false};
        if (pos < t.size() && t[pos] == '"') {
            item.quoted = true;
            ++pos;
            bool closed = false;
            while (pos < t.size()) {
                const char c = t[pos++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (pos >= t.size()) break;
                    const char e = t[pos++];
                    if (e == 'n') {
                        item.text += '\n';
                    } else if (e == 'r') {
                        item.text += '\r';
                    } else if (e == 't') {
                        item.text += '\t';
                    } else if (e != '"' && e != '\\') {
                        *why = std::string("unknown escape \\") + e + " in text (only \\\", \\\\, \\n, \\r and \\t)";
                        return false;
                    } else {
                        item.text += e;
                    }
                } else {
                    item.text += c;
                }
            }
            if (!closed) {
                *why = "unterminated text";
                return false;
            }
            while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
            if (pos < t.size() && t[pos] != ';') {
                *why = "';' or the end of the line must follow a text";
                return false;
            }
        } else {
            const size_t start = pos;
            while (pos < t.size() && t[pos] != ';') ++pos;
            item.text = Trim(t.substr(start, pos - start));
            if (item.text.empty()) {
                *why = "empty value";
                return false;
            }
        }
        items->push_back(item);
        if (pos >= t.size()) return true;
        ++pos;  // ';'
        if (pos >= t.size() || Trim(t.substr(pos)).empty()) {
            *why = "empty value after ';'";
            return false;
        }
    }
}

bool ParseNumber(const std::string& word, double* value) {
    if (word.empty()) return false;
    const char* begin = word.c_str();
    char* end = nullptr;
    *value = std::strtod(begin, &end);
    return end == begin + word.size() && std::isfinite(*value) && !std::isspace(uint8_t(word[0]));
}

bool ParseParam(const std::string& line, LibParamDef* p, std::string* why) {
    size_t pos = 5;  // after "param"
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const size_t nameStart = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '=') ++pos;
    p->name = line.substr(nameStart, pos - nameStart);
    if (p->name.empty()) {
        *why = "missing parameter name";
        return false;
    }
    if (p->name.size() > LibParamNameMax) {
        *why = "parameter name '" + p->name + "' is longer than 31 bytes";
        return false;
    }
    if (!IsNameStart(p->name[0]) || !std::all_of(p->name.begin(), p->name.end(), IsNameChar)) {
        *why = "parameter name '" + p->name + "' is not a name (letters, digits, '_', '~')";
        return false;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const size_t typeStart = pos;
    while (pos < line.size() && std::isalpha(uint8_t(line[pos]))) ++pos;
    const std::string type = line.substr(typeStart, pos - typeStart);
    if (type.empty()) {
        *why = "missing type of parameter '" + p->name + "'";
        return false;
    }
    bool known = false;
    for (const TypeName& t : kTypes)
        if (type == t.word) {
            p->typeID = t.id;
            known = true;
        }
    if (!known) {
        *why = "unknown parameter type '" + type + "'";
        return false;
    }
    int64_t dims[2] = {0, 0};
    int ndims = 0;
    while (pos < line.size() && line[pos] == '[') {
        if (ndims == 2) {
            *why = "an array has at most two sizes";
            return false;
        }
        if (!ReadDim(line, pos, &dims[ndims], why)) return false;
        ++ndims;
    }
    if (ndims == 1) dims[1] = 1;
    const int64_t cells = ndims > 0 ? dims[0] * dims[1] : 1;
    if (cells > LibArrayCellsMax) {
        *why = "array of " + std::to_string(cells) + " cells is too large (at most " +
            std::to_string(LibArrayCellsMax) + ")";
        return false;
    }
    p->dim1 = int32_t(ndims > 0 ? dims[0] : 0);
    p->dim2 = int32_t(ndims > 0 ? dims[1] : 0);
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') {
        *why = "'=' expected after the type of parameter '" + p->name + "'";
        return false;
    }
    std::vector<ValueItem> items;
    if (!SplitValues(line.substr(pos + 1), &items, why)) return false;
    if (ndims == 0 && items.size() != 1) {
        *why = items.empty() ? "missing value" : "a single value expected for '" + p->name + "'";
        return false;
    }
    if (int64_t(items.size()) > cells) {
        *why = std::to_string(items.size()) + " values for " + std::to_string(cells) + " cells";
        return false;
    }
    const bool text = p->typeID == LibParType::Text;
    for (const ValueItem& item : items) {
        if (text) {
            if (!item.quoted) {
                *why = "a string parameter takes quoted texts, not '" + item.text + "'";
                return false;
            }
            std::u16string u;
            if (!Utf8ToUtf16(item.text, &u)) {
                *why = "text is not valid UTF-8";
                return false;
            }
            if (u.find(u'\0') != std::u16string::npos) {
                *why = "text holds a NUL character";
                return false;
            }
            if (ndims == 0 && u.size() > LibTextUnitsMax) {
                *why = "text of " + std::to_string(u.size()) + " units is longer than 255";
                return false;
            }
            p->texts.push_back(u);
        } else {
            double v = 0.0;
            if (item.quoted || !ParseNumber(item.text, &v)) {
                *why = "'" + item.text + "' is not a number";
                return false;
            }
            p->numbers.push_back(v);
        }
    }
    if (text)
        p->texts.resize(size_t(cells));
    else
        p->numbers.resize(size_t(cells), 0.0);
    return true;
}

bool IsHex(char c) { return std::isxdigit(uint8_t(c)) != 0; }

bool IsGuid(const std::string& s, size_t at) {
    static const int kGroups[5] = {8, 4, 4, 4, 12};
    if (at + 38 > s.size() || s[at] != '{' || s[at + 37] != '}') return false;
    size_t pos = at + 1;
    for (int g = 0; g < 5; ++g) {
        for (int k = 0; k < kGroups[g]; ++k)
            if (!IsHex(s[pos++])) return false;
        if (g < 4 && s[pos++] != '-') return false;
    }
    return true;
}

bool FitsField(const std::string& s, size_t bytes) { return s.size() < bytes; }

// A section type word from four printable characters (no space).
bool ParseSectionType(const std::string& word, uint32_t* type) {
    if (word.size() != 4) return false;
    uint32_t t = 0;
    for (char c : word) {
        if (uint8_t(c) <= 0x20 || uint8_t(c) >= 0x7F) return false;
        t = (t << 8) | uint8_t(c);
    }
    *type = t;
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "section <TYPE> [<subIdent>] = "<text>"" or "... = hex:<bytes>".
bool ParseSectionLine(const std::string& line, LibSectionDef* section, std::string* why) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
        *why = "'=' expected in a section line";
        return false;
    }
    std::istringstream head(line.substr(7, eq - 7));
    std::string typeWord, subWord, extra;
    head >> typeWord >> subWord >> extra;
    if (!ParseSectionType(typeWord, &section->type)) {
        *why = "section type '" + typeWord + "' is not four printable characters";
        return false;
    }
    if (section->type == API_SectParamDef) {
        *why = "the 'PARD' section is given by the param lines";
        return false;
    }
    if (!extra.empty()) {
        *why = "a section line names a type and at most a sub-identifier before '='";
        return false;
    }
    if (!subWord.empty()) {
        char* end = nullptr;
        const long v = std::strtol(subWord.c_str(), &end, 10);
        if (*end != '\0' || v < -32768 || v > 32767) {
            *why = "section sub-identifier '" + subWord + "' is not a number from -32768 to 32767";
            return false;
        }
        section->subIdent = int16_t(v);
    }
    const std::string value = Trim(line.substr(eq + 1));
    if (IsTextSectionType(section->type)) {
        std::vector<ValueItem> items;
        if (!SplitValues(value, &items, why)) return false;
        if (items.size() != 1 || !items[0].quoted) {
            *why = "a text section takes one quoted text";
            return false;
        }
        if (!Utf8ToUtf16(items[0].text, &section->text)) {
            *why = "text is not valid UTF-8";
            return false;
        }
        if (section->text.find(u'\0') != std::u16string::npos) {
            *why = "text holds a NUL character";
            return false;
        }
        return true;
    }
    if (value.compare(0, 4, "hex:") != 0 || (value.size() - 4) % 2 != 0) {
        *why = "section " + typeWord + " takes hex:<bytes> (two hexadecimal digits a byte)";
        return false;
    }
    for (size_t i = 4; i < value.size(); i += 2) {
        const int hi = HexValue(value[i]), lo = HexValue(value[i + 1]);
        if (hi < 0 || lo < 0) {
            *why = "section " + typeWord + " takes hex:<bytes> (two hexadecimal digits a byte)";
            return false;
        }
        section->bytes += char(hi * 16 + lo);
    }
    return true;
}

// 'PARD' first, then the file's sections, then the scripts the file lacks.
void AddDefaultSections(LibPartDef* part) {
    LibSectionDef pard;
    pard.type = API_SectParamDef;
    part->sections.insert(part->sections.begin(), pard);
    const uint32_t scripts[2] = {API_Sect2DScript, API_Sect3DScript};
    for (uint32_t type : scripts) {
        if (part->Section(type, 0) != nullptr) continue;
        LibSectionDef script;
        script.type = type;
        std::u16string name;
        Utf8ToUtf16(part->name, &name);
        script.text = u"! " + name + (type == API_Sect2DScript ? u": 2D script" : u": 3D script") + u"\r\n";
        part->sections.push_back(script);
    }
}

}  // namespace

LibSectionDef* LibPartDef::Section(uint32_t sectType, int16_t subIdent) {
    for (LibSectionDef& s : sections)
        if (s.type == sectType && s.subIdent == subIdent) return &s;
    return nullptr;
}

const LibSectionDef* LibPartDef::Section(uint32_t sectType, int16_t subIdent) const {
    for (const LibSectionDef& s : sections)
        if (s.type == sectType && s.subIdent == subIdent) return &s;
    return nullptr;
}

bool IsTextSectionType(uint32_t type) {
    static const uint32_t kText[] = {API_Selector("1DSC"), API_Selector("2DSC"), API_Selector("3DSC"),
                                     API_Selector("PRSC"), API_Selector("UISC"), API_Selector("VLSC"),
                                     API_Selector("FWSC"), API_Selector("BWSC"), API_Selector("CMNT")};
    for (uint32_t t : kText)
        if (t == type) return true;
    return false;
}

std::string SectionTypeText(uint32_t type) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((type >> shift) & 0xFF);
        if (uint8_t(c) <= 0x20 || uint8_t(c) >= 0x7F) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "0x%08X", type);
            return buf;
        }
        s += c;
    }
    return s;
}

bool ParseLibPartUnID(const std::string& text, std::string* normal) {
    if (text.size() != 77 || !IsGuid(text, 0) || text[38] != '-' || !IsGuid(text, 39)) return false;
    *normal = Upper(text);
    return true;
}

bool ParseLibraryPart(const std::string& text, LibPartDef* part, std::string* error) {
    *part = LibPartDef();
    if (text.size() > LibFileBytesMax) {
        *error = "file is larger than " + std::to_string(LibFileBytesMax) + " bytes";
        return false;
    }
    std::string body = text;
    if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);
    std::istringstream in(body);
    std::string raw;
    int lineNo = 0;
    bool hasName = false, hasGuid = false, hasType = false, hasParent = false, hasDetails = false;
    std::set<std::string> names;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 5, "param") == 0 && line.size() > 5 && (line[5] == ' ' || line[5] == '\t')) {
            LibParamDef p;
            std::string why;
            if (!ParseParam(line, &p, &why)) return fail(why);
            if (!names.insert(Lower(p.name)).second) return fail("parameter '" + p.name + "' is given twice");
            if (part->params.size() >= LibParamCountMax)
                return fail("more than " + std::to_string(LibParamCountMax) + " parameters");
            part->params.push_back(std::move(p));
            continue;
        }
        if (line.compare(0, 7, "section") == 0 && line.size() > 7 && (line[7] == ' ' || line[7] == '\t')) {
            LibSectionDef section;
            std::string why;
            if (!ParseSectionLine(line, &section, &why)) return fail(why);
            if (part->Section(section.type, section.subIdent) != nullptr)
                return fail("section " + SectionTypeText(section.type) + " " + std::to_string(section.subIdent) +
                            " is given twice");
            part->sections.push_back(std::move(section));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("'<key> = <value>', 'param ...' or 'section ...' expected");
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (key == "name") {
            if (hasName) return fail("'name' is given twice");
            if (value.empty() || !FitsField(value, 128)) return fail("the name must have 1 to 127 bytes");
            for (char c : value)
                if (uint8_t(c) < 0x20) return fail("control character in the name");
            part->name = value;
            hasName = true;
        } else if (key == "guid") {
            if (hasGuid) return fail("'guid' is given twice");
            if (!ParseLibPartUnID(value, &part->guid))
                return fail("unique id must read {8-4-4-4-12}-{8-4-4-4-12} in hexadecimal digits");
            hasGuid = true;
        } else if (key == "parent") {
            if (hasParent) return fail("'parent' is given twice");
            if (!ParseLibPartUnID(value, &part->parent))
                return fail("the parent's unique id must read {8-4-4-4-12}-{8-4-4-4-12} in hexadecimal digits");
            hasParent = true;
        } else if (key == "details") {
            if (hasDetails) return fail("'details' is given twice");
            if (value != "0 0" && value != "0 1" && value != "1 0" && value != "1 1")
                return fail("details must read '<fixSize> <autoHotspot>', each 0 or 1");
            part->details.fixSize = value[0] - '0';
            part->details.autoHotspot = value[2] - '0';
            hasDetails = true;
        } else if (key == "type") {
            if (hasType) return fail("'type' is given twice");
            if (value == "object") {
                part->type = LibPartType_Object;
            } else if (value == "picture") {
                part->type = LibPartType_Picture;
            } else if (!value.empty() && value.size() <= 4 &&
                       std::all_of(value.begin(), value.end(), [](char c) { return std::isdigit(uint8_t(c)) != 0; }) &&
                       std::stoi(value) >= 1) {
                part->type = std::stoi(value);
            } else {
                return fail("unknown library-part type '" + value + "'");
            }
            hasType = true;
        } else {
            return fail("unknown key '" + key + "'");
        }
    }
    if (!hasName) return (*error = "no 'name' line", false);
    if (!hasGuid) return (*error = "no 'guid' line", false);
    if (!hasType) return (*error = "no 'type' line", false);
    AddDefaultSections(part);
    return true;
}

// ---- the store ------------------------------------------------------------------------------------------

bool LibraryStore::LoadFolder(const std::string& folder, std::string* error, bool* faultyFile) {
    namespace fs = std::filesystem;
    bool ignored = false;
    if (faultyFile == nullptr) faultyFile = &ignored;
    *faultyFile = false;
    std::string dir = folder;
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (std::find(folders_.begin(), folders_.end(), dir) != folders_.end()) return true;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        *error = "library folder " + dir + " does not exist";
        return false;
    }
    std::vector<std::string> files;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".lpd" && it->is_regular_file()) files.push_back(it->path().string());
    if (ec) {
        *error = "cannot read library folder " + dir;
        return false;
    }
    std::sort(files.begin(), files.end());
    std::vector<Entry> loaded;
    std::set<std::string> seen;
    for (const std::string& path : files) {
        std::error_code sizeError;
        const auto size = fs::file_size(path, sizeError);
        if (sizeError || size > LibFileBytesMax) {
            *faultyFile = true;
            *error = path + ": cannot be read or is larger than " + std::to_string(LibFileBytesMax) + " bytes";
            return false;
        }
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        if (!in) {
            *error = path + ": cannot be read";
            return false;
        }
        Entry e{folders_.size(), LibPartDef()};
        std::string why;
        if (!ParseLibraryPart(ss.str(), &e.part, &why)) {
            *faultyFile = true;
            *error = path + ": " + why;
            return false;
        }
        if (!seen.insert(Lower(e.part.name)).second) {
            *faultyFile = true;
            *error = path + ": library part " + e.part.name + " is described twice in " + dir;
            return false;
        }
        e.part.filePath = path;
        loaded.push_back(std::move(e));
    }
    if (loaded.empty()) {
        *error = "library folder " + dir + " holds no library part description (*.lpd)";
        return false;
    }
    folders_.push_back(dir);
    for (Entry& e : loaded) parts_.push_back(std::move(e));
    return true;
}

void LibraryStore::Clear() {
    folders_.clear();
    parts_.clear();
    creating_ = false;
    newPart_ = LibPartDef();
    overwrite_ = false;
}

int32_t LibraryStore::FindByName(const std::string& name, int32_t type) const {
    const std::string wanted = Lower(name);
    for (size_t i = 0; i < parts_.size(); ++i)
        if ((type == 0 || parts_[i].part.type == type) && Lower(parts_[i].part.name) == wanted) return int32_t(i) + 1;
    return -1;
}

int32_t LibraryStore::FindByUnID(const std::string& unID) const {
    const std::string wanted = Upper(unID);
    for (size_t i = 0; i < parts_.size(); ++i)
        if (parts_[i].part.guid == wanted) return int32_t(i) + 1;
    return -1;
}

const LibPartDef* LibraryStore::Part(int32_t index) const {
    if (index < 1 || size_t(index) > parts_.size()) return nullptr;
    return &parts_[size_t(index) - 1].part;
}

GSHandle LibraryStore::MakeParamHandle(int32_t index) const {
    const LibPartDef* part = Part(index);
    return part != nullptr ? ::MakeParamHandle(part->params) : nullptr;
}

GSHandle MakeParamHandle(const std::vector<LibParamDef>& params) {
    GSHandle h = BMAllocateHandle(GSSize(params.size() * sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return nullptr;
    for (size_t i = 0; i < params.size(); ++i) {
        const LibParamDef& p = params[i];
        API_AddParType& r = reinterpret_cast<API_AddParType*>(*h)[i];
        r.typeID = p.typeID;
        r.index = int16_t(i);
        std::memcpy(r.name, p.name.data(), std::min(p.name.size(), sizeof r.name - 1));
        for (size_t k = 0; k < p.name.size() && k < 255; ++k) r.uDescname[k] = char16_t(uint8_t(p.name[k]));
        r.dim1 = p.dim1;
        r.dim2 = p.dim2;
        const bool text = p.typeID == APIParT_Text;
        if (p.dim1 == 0 || p.dim2 == 0) {
            if (text && !p.texts.empty())
                std::memcpy(r.value.uStr, p.texts[0].data(),
                            std::min<size_t>(p.texts[0].size(), LibTextUnitsMax) * sizeof(char16_t));
            else if (!text && !p.numbers.empty())
                r.value.real = p.numbers[0];
            continue;
        }
        GSHandle cells = nullptr;
        if (text) {
            std::u16string packed;
            for (const std::u16string& t : p.texts) packed += t + u'\0';
            cells = BMAllocateHandle(GSSize(packed.size() * sizeof(char16_t)), 0, 0);
            if (cells != nullptr && !packed.empty())
                std::memcpy(*cells, packed.data(), packed.size() * sizeof(char16_t));
        } else {
            cells = BMAllocateHandle(GSSize(p.numbers.size() * sizeof(double)), 0, 0);
            if (cells != nullptr && !p.numbers.empty())
                std::memcpy(*cells, p.numbers.data(), p.numbers.size() * sizeof(double));
        }
        if (cells == nullptr) {
            // Records after this one are still zero: no handles to release there.
            r.dim1 = r.dim2 = 0;
            DisposeParamHandle(&h);
            return nullptr;
        }
        r.value.array = cells;
    }
    return h;
}

void DisposeParamHandle(GSHandle* params) {
    if (params == nullptr || *params == nullptr) return;
    const GSSize n = BMGetHandleSize(*params) / GSSize(sizeof(API_AddParType));
    for (GSSize i = 0; i < n; ++i) {
        API_AddParType& r = reinterpret_cast<API_AddParType*>(**params)[i];
        if (r.dim1 != 0 && r.dim2 != 0) BMKillHandle(&r.value.array);
    }
    BMKillHandle(params);
}

void FillLibPartRecord(const LibPartDef& part, int32_t index, API_LibPart* record) {
    IO::Location* location = record->location;
    std::memset(record, 0, sizeof *record);
    record->location = location;
    record->typeID = part.type;
    record->index = index;
    std::u16string name;
    Utf8ToUtf16(part.name, &name);
    std::memcpy(record->docu_UName, name.data(), std::min<size_t>(name.size(), 127) * sizeof(char16_t));
    std::u16string file;
    Utf8ToUtf16(std::filesystem::path(part.filePath).filename().string(), &file);
    std::memcpy(record->file_UName, file.data(), std::min<size_t>(file.size(), 127) * sizeof(char16_t));
    std::memcpy(record->ownUnID, part.guid.data(), std::min<size_t>(part.guid.size(), sizeof record->ownUnID - 1));
    std::memcpy(record->parentUnID, part.parent.data(),
                std::min<size_t>(part.parent.size(), sizeof record->parentUnID - 1));
    if (location != nullptr) *location = IO::Location(part.filePath.c_str());
}

std::string Utf8FromField(const char16_t* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != 0) ++length;
    return GS::UniString(field, static_cast<uint32_t>(length)).ToUtf8();
}

// ---- changing parts, creating parts ----------------------------------------------------------------------

namespace {

const char* TypeWord(int32_t typeID) {
    for (const TypeName& t : kTypes)
        if (t.id == typeID) return t.word;
    return nullptr;
}

std::string Quote(const std::u16string& text) {
    const std::string utf8 = Utf8FromField(text.data(), text.size());
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::string NumberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// The rules a parameter of a description meets.
bool ValidParam(const LibParamDef& p, std::string* why) {
    if (p.name.empty() || p.name.size() > LibParamNameMax || !IsNameStart(p.name[0]) ||
        !std::all_of(p.name.begin(), p.name.end(), IsNameChar)) {
        *why = "parameter name '" + p.name + "' is not a name of 1 to 31 letters, digits, '_' or '~'";
        return false;
    }
    if (TypeWord(p.typeID) == nullptr) {
        *why = "parameter '" + p.name + "' has the unknown type " + std::to_string(p.typeID);
        return false;
    }
    const bool array = p.dim1 != 0 || p.dim2 != 0;
    if (array && (p.dim1 < 1 || p.dim2 < 1 || int64_t(p.dim1) * p.dim2 > LibArrayCellsMax)) {
        *why = "parameter '" + p.name + "' has the sizes " + std::to_string(p.dim1) + " x " + std::to_string(p.dim2);
        return false;
    }
    const size_t cells = array ? size_t(int64_t(p.dim1) * p.dim2) : 1;
    const bool text = p.typeID == LibParType::Text;
    if ((text ? p.texts.size() : p.numbers.size()) != cells || (text ? !p.numbers.empty() : !p.texts.empty())) {
        *why = "parameter '" + p.name + "' does not hold one value per cell";
        return false;
    }
    for (double v : p.numbers)
        if (!std::isfinite(v)) {
            *why = "parameter '" + p.name + "' holds a number that is not finite";
            return false;
        }
    for (const std::u16string& t : p.texts) {
        if (t.find(u'\0') != std::u16string::npos) {
            *why = "parameter '" + p.name + "' holds a text with a NUL character";
            return false;
        }
        if (!array && t.size() > LibTextUnitsMax) {
            *why = "parameter '" + p.name + "' holds a text longer than 255 units";
            return false;
        }
    }
    return true;
}

bool ValidParams(const std::vector<LibParamDef>& params, std::string* why) {
    if (params.size() > LibParamCountMax) {
        *why = "more than " + std::to_string(LibParamCountMax) + " parameters";
        return false;
    }
    std::set<std::string> names;
    for (const LibParamDef& p : params) {
        if (!ValidParam(p, why)) return false;
        if (!names.insert(Lower(p.name)).second) {
            *why = "parameter '" + p.name + "' is given twice";
            return false;
        }
    }
    return true;
}

// The parameter definition block: a head, then per parameter its type, sizes, name and cells (numbers as
// doubles; texts as a unit count and the units).
constexpr uint32_t kParamDefMagic = API_SectParamDef;
constexpr uint32_t kParamDefVersion = 1;

struct ParamDefHead {
    uint32_t magic;
    uint32_t version;
    double a;
    double b;
    API_LibPartDetails details;
    uint32_t count;
    uint32_t reserved;
};
static_assert(sizeof(ParamDefHead) == 64, "parameter definition head");

template <typename T>
void Put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads bounded pieces of a block.
class BlockReader {
public:
    BlockReader(const char* data, size_t size) : data_(data), size_(size) {}
    template <typename T>
    bool Get(T* value) {
        if (size_ - pos_ < sizeof(T)) return false;
        std::memcpy(value, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return true;
    }
    bool Bytes(size_t n, std::string* out) {
        if (size_ - pos_ < n) return false;
        out->assign(data_ + pos_, n);
        pos_ += n;
        return true;
    }
    size_t Left() const { return size_ - pos_; }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

std::string NewLibPartUnID() {
    static std::mt19937_64 random{std::random_device{}()};
    std::string out;
    for (int g = 0; g < 2; ++g) {
        const uint64_t hi = random(), lo = random();
        char buf[40];
        std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%012llX}", uint32_t(hi >> 32),
                      uint32_t((hi >> 16) & 0xFFFF), uint32_t(hi & 0xFFFF), uint32_t(lo >> 48),
                      static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
        out += (g == 0 ? "" : "-") + std::string(buf);
    }
    return out;
}

std::string DescribeLibraryPart(const LibPartDef& part) {
    std::string out = "# library part " + part.name + ", written by the host\n";
    out += "name = " + part.name + "\n";
    out += "guid = " + part.guid + "\n";
    out += "type = " +
        (part.type == LibPartType_Object        ? std::string("object")
             : part.type == LibPartType_Picture ? std::string("picture")
                                                : std::to_string(part.type)) +
        "\n";
    if (!part.parent.empty()) out += "parent = " + part.parent + "\n";
    if (part.details.fixSize != 0 || part.details.autoHotspot != 0)
        out += "details = " + std::to_string(part.details.fixSize != 0 ? 1 : 0) + " " +
            std::to_string(part.details.autoHotspot != 0 ? 1 : 0) + "\n";
    for (const LibParamDef& p : part.params) {
        const char* word = TypeWord(p.typeID);
        out += "param " + p.name + " " + (word != nullptr ? word : "real");
        if (p.dim1 != 0 && p.dim2 != 0) out += "[" + std::to_string(p.dim1) + "][" + std::to_string(p.dim2) + "]";
        out += " =";
        const bool text = p.typeID == LibParType::Text;
        const size_t n = text ? p.texts.size() : p.numbers.size();
        for (size_t i = 0; i < n; ++i)
            out += std::string(i == 0 ? " " : "; ") + (text ? Quote(p.texts[i]) : NumberText(p.numbers[i]));
        if (n == 0) out += text ? " \"\"" : " 0";
        out += "\n";
    }
    for (const LibSectionDef& s : part.sections) {
        if (s.type == API_SectParamDef) continue;
        out += "section " + SectionTypeText(s.type) + " " + std::to_string(s.subIdent) + " = ";
        if (IsTextSectionType(s.type)) {
            out += Quote(s.text);
        } else {
            out += "hex:";
            static const char kHex[] = "0123456789ABCDEF";
            for (char c : s.bytes) {
                out += kHex[uint8_t(c) >> 4];
                out += kHex[uint8_t(c) & 15];
            }
        }
        out += "\n";
    }
    return out;
}

bool ParamsFromRecords(const API_AddParType* const* records, std::vector<LibParamDef>* params, std::string* why) {
    params->clear();
    if (records == nullptr) return true;
    const GSSize size = BMGetHandleSize(reinterpret_cast<GSConstHandle>(records));
    if (size % GSSize(sizeof(API_AddParType)) != 0) {
        *why = "the parameter handle does not hold whole records";
        return false;
    }
    const size_t n = size_t(size / GSSize(sizeof(API_AddParType)));
    if (n > LibParamCountMax) {
        *why = "more than " + std::to_string(LibParamCountMax) + " parameters";
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        const API_AddParType& r = (*records)[i];
        LibParamDef p;
        size_t nameLen = 0;
        while (nameLen < sizeof r.name && r.name[nameLen] != '\0') ++nameLen;
        if (nameLen == sizeof r.name) {
            *why = "parameter record " + std::to_string(i) + " has a name without terminator";
            return false;
        }
        p.name.assign(r.name, nameLen);
        p.typeID = r.typeID;
        const bool array = r.dim1 != 0 && r.dim2 != 0;
        const bool text = r.typeID == LibParType::Text;
        if (!array) {
            if (text) {
                size_t len = 0;
                while (len < 256 && r.value.uStr[len] != 0) ++len;
                if (len == 256) {
                    *why = "parameter '" + p.name + "' holds a text without terminator";
                    return false;
                }
                p.texts.emplace_back(r.value.uStr, len);
            } else {
                p.numbers.push_back(r.value.real);
            }
        } else {
            if (r.dim1 < 1 || r.dim2 < 1 || int64_t(r.dim1) * r.dim2 > LibArrayCellsMax) {
                *why = "parameter '" + p.name + "' has the sizes " + std::to_string(r.dim1) + " x " +
                    std::to_string(r.dim2);
                return false;
            }
            p.dim1 = r.dim1;
            p.dim2 = r.dim2;
            const size_t cells = size_t(int64_t(r.dim1) * r.dim2);
            const GSSize bytes = BMGetHandleSize(r.value.array);
            if (r.value.array == nullptr) {
                *why = "array parameter '" + p.name + "' has no cells";
                return false;
            }
            if (text) {
                const size_t units = size_t(bytes) / sizeof(char16_t);
                const char16_t* u = reinterpret_cast<const char16_t*>(*r.value.array);
                size_t at = 0;
                for (size_t c = 0; c < cells; ++c) {
                    size_t end = at;
                    while (end < units && u[end] != 0) ++end;
                    if (end >= units) {
                        *why = "array parameter '" + p.name + "' holds fewer than " + std::to_string(cells) + " texts";
                        return false;
                    }
                    p.texts.emplace_back(u + at, end - at);
                    at = end + 1;
                }
            } else {
                if (size_t(bytes) < cells * sizeof(double)) {
                    *why = "array parameter '" + p.name + "' holds fewer than " + std::to_string(cells) + " numbers";
                    return false;
                }
                p.numbers.resize(cells);
                std::memcpy(p.numbers.data(), *r.value.array, cells * sizeof(double));
            }
        }
        params->push_back(std::move(p));
    }
    return ValidParams(*params, why);
}

GSHandle MakeParamDefSection(const std::vector<LibParamDef>& params, double a, double b,
                             const API_LibPartDetails& details) {
    std::string block;
    ParamDefHead head = {};
    head.magic = kParamDefMagic;
    head.version = kParamDefVersion;
    head.a = a;
    head.b = b;
    head.details = details;
    head.count = uint32_t(params.size());
    Put(block, head);
    for (const LibParamDef& p : params) {
        Put(block, p.typeID);
        Put(block, p.dim1);
        Put(block, p.dim2);
        Put(block, uint32_t(p.name.size()));
        block += p.name;
        if (p.typeID == LibParType::Text) {
            for (const std::u16string& t : p.texts) {
                Put(block, uint32_t(t.size()));
                block.append(reinterpret_cast<const char*>(t.data()), t.size() * sizeof(char16_t));
            }
        } else {
            block.append(reinterpret_cast<const char*>(p.numbers.data()), p.numbers.size() * sizeof(double));
        }
    }
    GSHandle h = BMAllocateHandle(GSSize(block.size()), 0, 0);
    if (h != nullptr) std::memcpy(*h, block.data(), block.size());
    return h;
}

bool ReadParamDefSection(GSConstHandle section, std::vector<LibParamDef>* params, double* a, double* b,
                         API_LibPartDetails* details, std::string* why) {
    params->clear();
    if (section == nullptr || *section == nullptr) {
        *why = "no parameter definition section";
        return false;
    }
    BlockReader in(*section, size_t(BMGetHandleSize(section)));
    ParamDefHead head;
    if (!in.Get(&head) || head.magic != kParamDefMagic) {
        *why = "the block is not a parameter definition section";
        return false;
    }
    if (head.version != kParamDefVersion) {
        *why = "parameter definition section of version " + std::to_string(head.version);
        return false;
    }
    if (!std::isfinite(head.a) || !std::isfinite(head.b)) {
        *why = "the sizes A and B are not finite";
        return false;
    }
    // Every parameter takes at least 16 bytes: a count beyond that is a lie.
    if (head.count > LibParamCountMax || head.count > in.Left() / 16) {
        *why = "parameter definition section names " + std::to_string(head.count) + " parameters";
        return false;
    }
    const std::string cut = "parameter definition section cut short";
    for (uint32_t i = 0; i < head.count; ++i) {
        LibParamDef p;
        uint32_t nameLen = 0;
        if (!in.Get(&p.typeID) || !in.Get(&p.dim1) || !in.Get(&p.dim2) || !in.Get(&nameLen) ||
            nameLen > LibParamNameMax || !in.Bytes(nameLen, &p.name))
            return (*why = cut, false);
        const bool array = p.dim1 != 0 || p.dim2 != 0;
        if (array && (p.dim1 < 1 || p.dim2 < 1 || int64_t(p.dim1) * p.dim2 > LibArrayCellsMax))
            return (*why = "parameter '" + p.name + "' has bad sizes", false);
        const size_t cells = array ? size_t(int64_t(p.dim1) * p.dim2) : 1;
        if (p.typeID == LibParType::Text) {
            for (size_t c = 0; c < cells; ++c) {
                uint32_t units = 0;
                std::string bytes;
                if (!in.Get(&units) || units > in.Left() / sizeof(char16_t) ||
                    !in.Bytes(size_t(units) * sizeof(char16_t), &bytes))
                    return (*why = cut, false);
                std::u16string t(units, u'\0');
                if (units > 0) std::memcpy(&t[0], bytes.data(), bytes.size());
                p.texts.push_back(std::move(t));
            }
        } else {
            std::string bytes;
            if (cells > in.Left() / sizeof(double) || !in.Bytes(cells * sizeof(double), &bytes))
                return (*why = cut, false);
            p.numbers.resize(cells);
            std::memcpy(p.numbers.data(), bytes.data(), bytes.size());
        }
        params->push_back(std::move(p));
    }
    if (in.Left() != 0) return (*why = "parameter definition section has bytes after its parameters", false);
    if (!ValidParams(*params, why)) return false;
    *a = head.a;
    *b = head.b;
    *details = head.details;
    return true;
}

bool SetParamDefSectionDetails(GSHandle section, const API_LibPartDetails& details) {
    if (section == nullptr || *section == nullptr || BMGetHandleSize(section) < GSSize(sizeof(ParamDefHead)))
        return false;
    ParamDefHead head;
    std::memcpy(&head, *section, sizeof head);
    if (head.magic != kParamDefMagic || head.version != kParamDefVersion) return false;
    head.details = details;
    std::memcpy(*section, &head, sizeof head);
    return true;
}

void GetSizeParams(const std::vector<LibParamDef>& params, double* a, double* b) {
    double size[2] = {0.0, 0.0};
    for (const LibParamDef& p : params)
        for (int k = 0; k < 2; ++k)
            if (p.name == (k == 0 ? "A" : "B") && p.dim1 == 0 && !p.numbers.empty()) size[k] = p.numbers[0];
    *a = size[0];
    *b = size[1];
}

void SetSizeParams(std::vector<LibParamDef>* params, double a, double b) {
    const char* names[2] = {"A", "B"};
    const double values[2] = {a, b};
    size_t insertAt = 0;
    for (int k = 0; k < 2; ++k) {
        bool found = false;
        for (size_t i = 0; i < params->size(); ++i) {
            LibParamDef& p = (*params)[i];
            if (Lower(p.name) != Lower(names[k])) continue;
            found = true;
            if (p.typeID != LibParType::Text && p.dim1 == 0 && p.dim2 == 0 && p.numbers.size() == 1)
                p.numbers[0] = values[k];
            insertAt = i + 1;
        }
        if (!found) {
            LibParamDef p;
            p.name = names[k];
            p.typeID = LibParType::Length;
            p.numbers.push_back(values[k]);
            params->insert(params->begin() + std::ptrdiff_t(insertAt), p);
            ++insertAt;
        }
    }
}

LibPartDef* LibraryStore::MutablePart(int32_t index) {
    if (index < 1 || size_t(index) > parts_.size()) return nullptr;
    return &parts_[size_t(index) - 1].part;
}

GSErrCode LibraryStore::BeginPart(const LibPartDef& part, const std::string& folder, int32_t* index, std::string* why) {
    namespace fs = std::filesystem;
    std::string dir = folder;
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const auto found = std::find(folders_.begin(), folders_.end(), dir);
    if (found == folders_.end()) {
        *why = dir + " is not a library folder of the project";
        return APIERR_BADPARS;
    }
    const std::string& name = part.name;
    bool goodName = !name.empty() && name.size() < 128 && name != "." && name != ".." && name.front() != ' ' &&
        name.back() != ' ' && name.front() != '\t' && name.back() != '\t';
    for (char c : name) goodName = goodName && uint8_t(c) >= 0x20 && c != '/' && c != '\\';
    if (!goodName) {
        *why = "'" + name +
            "' cannot name a library part (1 to 127 bytes, no control characters, '/' or '\\', "
            "no spaces around it)";
        return APIERR_BADPARS;
    }
    if (part.type < 1) {
        *why = "library-part type " + std::to_string(part.type);
        return APIERR_BADPARS;
    }
    const size_t folderIndex = size_t(found - folders_.begin());
    const int32_t existing = FindByName(name, 0);
    if (existing > 0) {
        if (!overwrite_) {
            *why = "a library part named " + name + " exists and overwriting is off";
            return APIERR_NAMEALREADYUSED;
        }
        if (parts_[size_t(existing) - 1].folder != folderIndex) {
            *why = "a library part named " + name + " exists in another library";
            return APIERR_NAMEALREADYUSED;
        }
    }
    if (creating_) *why = "library part " + newPart_.name + " was never saved and is dropped";
    newPart_ = LibPartDef();
    newPart_.name = name;
    newPart_.type = part.type;
    newPart_.parent = part.parent;
    const int32_t owner = part.guid.empty() ? -1 : FindByUnID(part.guid);
    newPart_.guid = !part.guid.empty() && (owner < 0 || owner == existing) ? Upper(part.guid) : NewLibPartUnID();
    if (existing > 0) {
        newPart_.filePath = parts_[size_t(existing) - 1].part.filePath;
    } else {
        // Never over another file of the folder.
        std::string path = dir + "/" + name + ".lpd";
        std::error_code ec;
        for (int n = 1; fs::exists(path, ec) ||
             std::any_of(parts_.begin(), parts_.end(), [&](const Entry& e) { return e.part.filePath == path; });
             ++n)
            path = dir + "/" + name + "_" + std::to_string(n) + ".lpd";
        newPart_.filePath = path;
    }
    creating_ = true;
    newFolder_ = folderIndex;
    replaces_ = existing > 0 ? existing : 0;
    newIndex_ = existing > 0 ? existing : PartCount() + 1;
    *index = newIndex_;
    return NoError;
}

GSErrCode LibraryStore::SavePart(int32_t* index, std::string* why) {
    if (!creating_) {
        *why = "no library part is being created";
        return APIERR_NOTCREATING;
    }
    const std::string text = DescribeLibraryPart(newPart_);
    LibPartDef check;
    if (!ParseLibraryPart(text, &check, why)) {
        *why = "library part " + newPart_.name + " cannot be described: " + *why;
        return APIERR_BADPARS;
    }
    const std::string temp = newPart_.filePath + ".saving";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            *why = "cannot write " + newPart_.filePath;
            return APIERR_GENERAL;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, newPart_.filePath, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        *why = "cannot write " + newPart_.filePath;
        return APIERR_GENERAL;
    }
    if (replaces_ > 0 && size_t(replaces_) <= parts_.size()) {
        parts_[size_t(replaces_) - 1].part = newPart_;
        *index = replaces_;
    } else {
        parts_.push_back(Entry{newFolder_, newPart_});
        *index = int32_t(parts_.size());
    }
    creating_ = false;
    newPart_ = LibPartDef();
    return NoError;
}
