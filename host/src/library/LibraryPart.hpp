#pragma once
// A library part as the host keeps it: its names and unique ids, its parameters with their default values, and
// its sections; the limits a part meets.
#include "APIDefs.hpp"
#include "APILibPartSections.hpp"
#include "library/LibraryPlan.hpp"

#include <cstdint>
#include <string>
#include <vector>

// Parameter type ids of the host's records (12, text, is the only one the add-on tells apart).
namespace LibParType {
constexpr int32_t Integer = 1;
constexpr int32_t Length = 2;
constexpr int32_t Angle = 3;
constexpr int32_t Real = 4;
constexpr int32_t LightSwitch = 5;
constexpr int32_t ColorRGB = 6;
constexpr int32_t Intensity = 7;
constexpr int32_t LineType = 8;
constexpr int32_t Material = 9;
constexpr int32_t Fill = 10;
constexpr int32_t Pen = 11;
constexpr int32_t Text = APIParT_Text;
constexpr int32_t Boolean = 13;
constexpr int32_t Title = 15;  // a heading among the parameters, no value of its own
}  // namespace LibParType

// Library-part types.
constexpr int32_t LibPartType_Object = 4;
constexpr int32_t LibPartType_Picture = 11;

// Limits of a description.
constexpr size_t LibParamNameMax = 31;         // bytes
constexpr size_t LibTextUnitsMax = 255;        // UTF-16 units of a scalar text (the record's field holds 256)
constexpr int64_t LibArrayCellsMax = 1 << 20;  // cells of one array
constexpr size_t LibParamCountMax = 4096;      // parameters of one part
constexpr size_t LibFileBytesMax = 4 << 20;    // size of one description file

// An array keeps its leading cells only: the cells past the end of its values are 0 / "". So a part takes memory
// for the values it was given, not for the cells it declares ("string[1048576]" alone holds nothing).
struct LibParamDef {
    std::string name;
    int32_t typeID = LibParType::Real;
    int32_t dim1 = 0;  // 0 for a scalar
    int32_t dim2 = 0;
    std::vector<double> numbers;        // a numeric parameter: one value, or up to dim1 * dim2 leading cells
    std::vector<std::u16string> texts;  // a text parameter: one text, or up to dim1 * dim2 leading cells
    std::u16string description;         // the name the user sees; empty: the name

    bool IsArray() const { return dim1 != 0 && dim2 != 0; }
    // The cells the parameter declares: 1 for a scalar.
    size_t CellCount() const { return IsArray() ? size_t(int64_t(dim1) * dim2) : 1; }
    // The leading cells up to the last one that is not 0 (+0.0) or "": the cells an array must keep.
    size_t GivenCells() const;
};

// One section of a library part. A 'PARD' entry holds nothing: its content is the part's parameter list.
struct LibSectionDef {
    uint32_t type = 0;
    int16_t subIdent = 0;
    int32_t version = 1;
    std::u16string text;  // text sections
    std::string bytes;    // other sections
};

struct LibPartDef {
    std::string name;
    std::string guid;                // "{main}-{revision}", upper case
    std::string parent;              // unique id of the part it derives from ("" none)
    bool missingDefinition = false;  // listed, but the library holds no definition
    int32_t type = LibPartType_Object;
    std::string filePath;  // the description file ("/" separated)
    std::vector<LibParamDef> params;
    std::vector<LibSectionDef> sections;
    std::vector<LibPlanItem> plan;  // what it draws in the floor plan (empty: its box)
    API_LibPartDetails details = {};

    LibSectionDef* Section(uint32_t sectType, int16_t subIdent);
    const LibSectionDef* Section(uint32_t sectType, int16_t subIdent) const;
};

// Text sections: the scripts and the comment.
bool IsTextSectionType(uint32_t type);
// "2DSC" for a section type word; "0x..." when it is not four printable characters.
std::string SectionTypeText(uint32_t type);

// "real", "length" ... "string" for a parameter type id; null for an unknown one.
const char* ParamTypeWord(int32_t typeID);
// The type id of a parameter type word; false for an unknown word.
bool ParamTypeOfWord(const std::string& word, int32_t* typeID);

// A "{8-4-4-4-12}-{8-4-4-4-12}" unique id (hexadecimal digits); upper-cased into `normal`.
bool ParseLibPartUnID(const std::string& text, std::string* normal);
// A new unique id (random main and revision GUIDs).
std::string NewLibPartUnID();
// Restarts NewLibPartUnID's sequence from `seed` (a run's seed: the same run makes the same ids).
void SeedLibPartUnIDs(uint64_t seed);

// A NUL-ended UTF-16 field (at most `size` units) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8FromField(const char16_t* field, size_t size);
// Fills a library-part record (names, file, unique id; the location when the record asks for it).
void FillLibPartRecord(const LibPartDef& part, int32_t index, API_LibPart* record);
