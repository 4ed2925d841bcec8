#include "LibraryStore.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
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
                    if (e != '"' && e != '\\') {
                        *why = std::string("unknown escape \\") + e + " in text (only \\\" and \\\\)";
                        return false;
                    }
                    item.text += e;
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

}  // namespace

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
    bool hasName = false, hasGuid = false, hasType = false;
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
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("'<key> = <value>' or 'param ...' expected");
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
        } else if (key == "type") {
            if (hasType) return fail("'type' is given twice");
            if (value == "object") {
                part->type = LibPartType_Object;
            } else if (value == "picture") {
                part->type = LibPartType_Picture;
            } else if (!value.empty() && value.size() <= 4 && std::all_of(value.begin(), value.end(), [](char c) {
                           return std::isdigit(uint8_t(c)) != 0;
                       }) && std::stoi(value) >= 1) {
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
            if (cells != nullptr && !packed.empty()) std::memcpy(*cells, packed.data(), packed.size() * sizeof(char16_t));
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
    if (location != nullptr) *location = IO::Location(part.filePath.c_str());
}

std::string Utf8FromField(const char16_t* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != 0) ++length;
    return GS::UniString(field, static_cast<uint32_t>(length)).ToUtf8();
}
