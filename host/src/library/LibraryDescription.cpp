#include "library/LibraryDescription.hpp"

#include "library/LibraryWords.hpp"

#include "TextFields.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace {
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
    const std::string t = TrimBlanks(s);
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
            item.text = TrimBlanks(t.substr(start, pos - start));
            if (item.text.empty()) {
                *why = "empty value";
                return false;
            }
        }
        items->push_back(item);
        if (pos >= t.size()) return true;
        ++pos;  // ';'
        // Blanks alone may not follow; looking ahead without copying the rest keeps a long line linear.
        if (t.find_first_not_of(" \t", pos) == std::string::npos) {
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
    if (!IsParamName(p->name)) {
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
    if (!ParamTypeOfWord(type, &p->typeID)) {
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
    // The cells after the last value given stay implicit: a declared size costs nothing.
    if (text)
        p->texts.resize(p->GivenCells());
    else
        p->numbers.resize(p->GivenCells());
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
    const std::string value = TrimBlanks(line.substr(eq + 1));
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

std::string Quote(const std::u16string& text) {
    const std::string utf8 = Utf8FromField(text.data(), text.size());
    return QuotedText(utf8);
}

std::string NumberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}
}  // namespace

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
    std::map<std::string, size_t> names;                 // lower-case parameter name -> index
    std::set<std::pair<uint32_t, int16_t>> sectionKeys;  // type and sub-identifier of the sections given
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = TrimBlanks(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 5, "param") == 0 && line.size() > 5 && (line[5] == ' ' || line[5] == '\t')) {
            LibParamDef p;
            std::string why;
            if (!ParseParam(line, &p, &why)) return fail(why);
            if (!names.emplace(LowerCase(p.name), part->params.size()).second)
                return fail("parameter '" + p.name + "' is given twice");
            if (part->params.size() >= LibParamCountMax)
                return fail("more than " + std::to_string(LibParamCountMax) + " parameters");
            part->params.push_back(std::move(p));
            continue;
        }
        if (line.compare(0, 8, "describe") == 0 && line.size() > 8 && (line[8] == ' ' || line[8] == '\t')) {
            // describe <name> = "<text>": the description of a parameter given above.
            const size_t eq = line.find('=');
            const std::string name = eq == std::string::npos ? std::string() : TrimBlanks(line.substr(8, eq - 8));
            const auto found = names.find(LowerCase(name));
            if (found == names.end()) return fail("'describe' needs a parameter given above");
            std::vector<ValueItem> items;
            std::string why;
            if (!SplitValues(line.substr(eq + 1), &items, &why)) return fail(why);
            if (items.size() != 1 || !items[0].quoted) return fail("a description takes one quoted text");
            std::u16string description;
            if (!Utf8ToUtf16(items[0].text, &description) || description.size() > 255)
                return fail("a description is valid UTF-8 of at most 255 units");
            // The host's record ends a description at its first NUL: one would be lost on the way back.
            if (description.find(u'\0') != std::u16string::npos) return fail("text holds a NUL character");
            part->params[found->second].description = std::move(description);
            continue;
        }
        // plan and body items: what a part draws in the floor plan and the solids it builds, each naming
        // parameters given above it.
        const std::string word = line.substr(0, 4);
        if ((word == "plan" || word == "body") && line.size() > 4 && (line[4] == ' ' || line[4] == '\t')) {
            LibPlanItem planItem;
            LibBodyItem bodyItem;
            std::string why;
            const bool plan = word == "plan";
            if (!(plan ? ParsePlanItem(line.substr(5), &planItem, &why)
                       : ParseBodyItem(line.substr(5), &bodyItem, &why)))
                return fail(why);
            for (const std::string& name : plan ? planItem.params : bodyItem.params)
                if (names.find(LowerCase(name)) == names.end())
                    return fail(word + " item names '" + name + "', not a parameter given above");
            if (plan)
                part->plan.push_back(std::move(planItem));
            else
                part->body.push_back(std::move(bodyItem));
            continue;
        }
        if (line.compare(0, 7, "section") == 0 && line.size() > 7 && (line[7] == ' ' || line[7] == '\t')) {
            LibSectionDef section;
            std::string why;
            if (!ParseSectionLine(line, &section, &why)) return fail(why);
            if (!sectionKeys.emplace(section.type, section.subIdent).second)
                return fail("section " + SectionTypeText(section.type) + " " + std::to_string(section.subIdent) +
                            " is given twice");
            part->sections.push_back(std::move(section));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("'<key> = <value>', 'param ...' or 'section ...' expected");
        const std::string key = TrimBlanks(line.substr(0, eq));
        const std::string value = TrimBlanks(line.substr(eq + 1));
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
        } else if (key == "definition") {
            if (value != "missing") return fail("definition can only read 'missing'");
            part->missingDefinition = true;
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
    if (part.missingDefinition) out += "definition = missing\n";
    if (part.details.fixSize != 0 || part.details.autoHotspot != 0)
        out += "details = " + std::to_string(part.details.fixSize != 0 ? 1 : 0) + " " +
            std::to_string(part.details.autoHotspot != 0 ? 1 : 0) + "\n";
    for (const LibParamDef& p : part.params) {
        const char* word = ParamTypeWord(p.typeID);
        out += "param " + p.name + " " + (word != nullptr ? word : "real");
        if (p.dim1 != 0 && p.dim2 != 0) out += "[" + std::to_string(p.dim1) + "][" + std::to_string(p.dim2) + "]";
        out += " =";
        const bool text = p.typeID == LibParType::Text;
        // An array's cells after its last value are 0 / "" when read back: only the values are written.
        const size_t n = std::min(p.GivenCells(), p.CellCount());
        for (size_t i = 0; i < n; ++i)
            out += std::string(i == 0 ? " " : "; ") + (text ? Quote(p.texts[i]) : NumberText(p.numbers[i]));
        if (n == 0) out += text ? " \"\"" : " 0";
        out += "\n";
        if (!p.description.empty()) out += "describe " + p.name + " = " + Quote(p.description) + "\n";
    }
    for (const LibPlanItem& item : part.plan) out += "plan " + DescribePlanItem(item) + "\n";
    for (const LibBodyItem& item : part.body) out += "body " + DescribeBodyItem(item) + "\n";
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
