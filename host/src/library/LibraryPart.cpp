#include "library/LibraryPart.hpp"

#include "IO.hpp"
#include "UniString.hpp"
#include "library/LibraryWords.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace {
struct TypeName {
    const char* word;
    int32_t id;
};
const TypeName kTypes[] = {
    {"real", LibParType::Real},         {"length", LibParType::Length},       {"angle", LibParType::Angle},
    {"integer", LibParType::Integer},   {"boolean", LibParType::Boolean},     {"pen", LibParType::Pen},
    {"linetype", LibParType::LineType}, {"material", LibParType::Material},   {"fill", LibParType::Fill},
    {"colorrgb", LibParType::ColorRGB}, {"intensity", LibParType::Intensity}, {"lightswitch", LibParType::LightSwitch},
    {"string", LibParType::Text},       {"title", LibParType::Title},
};

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
}  // namespace

size_t LibParamDef::GivenCells() const {
    if (!IsArray()) return typeID == LibParType::Text ? texts.size() : numbers.size();
    size_t n = typeID == LibParType::Text ? texts.size() : numbers.size();
    if (typeID == LibParType::Text) {
        while (n > 0 && texts[n - 1].empty()) --n;
    } else {
        // -0.0 is a value of its own: only +0.0 is the empty cell.
        while (n > 0 && numbers[n - 1] == 0.0 && !std::signbit(numbers[n - 1])) --n;
    }
    return n;
}

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
    *normal = UpperCase(text);
    return true;
}

namespace {
std::mt19937_64& UnIDRandom() {
    static std::mt19937_64 random{std::random_device{}()};
    return random;
}
}  // namespace

void SeedLibPartUnIDs(uint64_t seed) {
    // Apart from the GUID sequence's, so the ids do not follow from the groups' ids.
    std::seed_seq sequence{uint32_t(seed), uint32_t(seed >> 32), 0x4C50u};
    UnIDRandom().seed(sequence);
}

std::string NewLibPartUnID() {
    std::mt19937_64& random = UnIDRandom();
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
    record->missingDef = part.missingDefinition ? 1 : 0;
    if (location != nullptr) *location = IO::Location(part.filePath.c_str());
}

std::string Utf8FromField(const char16_t* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != 0) ++length;
    return GS::UniString(field, static_cast<uint32_t>(length)).ToUtf8();
}

const char* ParamTypeWord(int32_t typeID) {
    for (const TypeName& t : kTypes)
        if (t.id == typeID) return t.word;
    return nullptr;
}

bool ParamTypeOfWord(const std::string& word, int32_t* typeID) {
    for (const TypeName& t : kTypes)
        if (word == t.word) {
            *typeID = t.id;
            return true;
        }
    return false;
}
