#pragma once
// The host's loaded object libraries: library folders, each holding one description file per library part
// ("<name>.lpd"), and the parts found in them by name or unique id with their default parameter lists.
//
// Description file (UTF-8; '#' starts a comment line; blank lines are skipped):
//     name = VY_PREFS
//     guid = {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}-{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
//     type = object                          (object 4, picture 11, or the number)
//     param <name> <type> = <value>
//     param <name> <type>[<dim1>] = <v1>; <v2>; ...           (a dim1 x 1 array)
//     param <name> <type>[<dim1>][<dim2>] = <row-major values>
// Parameter types: real length angle integer boolean pen linetype material fill colorrgb intensity
// lightswitch (numbers) and string (text). Texts are "quoted" with \" and \\ escapes. Names are identifiers of
// at most 31 bytes. Arrays given fewer values than cells have the rest 0 / "".
#include "APIDefs.hpp"
#include "GSRoot.hpp"

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

struct LibParamDef {
    std::string name;
    int32_t typeID = LibParType::Real;
    int32_t dim1 = 0;  // 0 for a scalar
    int32_t dim2 = 0;
    std::vector<double> numbers;      // a numeric parameter: one value, or dim1 * dim2 cells
    std::vector<std::u16string> texts;  // a text parameter: one text, or dim1 * dim2 cells
};

struct LibPartDef {
    std::string name;
    std::string guid;        // "{main}-{revision}", upper case
    int32_t type = LibPartType_Object;
    std::string filePath;    // the description file ("/" separated)
    std::vector<LibParamDef> params;
};

// Parses one description. False with `error` = "line <n>: <what>" on the first fault.
bool ParseLibraryPart(const std::string& text, LibPartDef* part, std::string* error);

// A "{8-4-4-4-12}-{8-4-4-4-12}" unique id (hexadecimal digits); upper-cased into `normal`.
bool ParseLibPartUnID(const std::string& text, std::string* normal);

class LibraryStore {
public:
    // Loads every description file of the folder as one library; a folder loaded already stays as it is (true).
    // False, with `error`, when the folder cannot be read or any of its files is faulty, when two of its files
    // name the same part, or when it holds no description: nothing changes then. `faultyFile` (optional) tells
    // whether a description itself was at fault.
    bool LoadFolder(const std::string& folder, std::string* error, bool* faultyFile = nullptr);
    void Clear();

    // The loaded folders in load order (as given, "/" separated).
    const std::vector<std::string>& Folders() const { return folders_; }
    int32_t PartCount() const { return int32_t(parts_.size()); }

    // Library-part indices run from 1. Search by name ignores letter case; `type` 0 accepts any type. The first
    // loaded part with that name wins. -1 when absent.
    int32_t FindByName(const std::string& name, int32_t type) const;
    // By unique id, ignoring letter case; -1 when absent.
    int32_t FindByUnID(const std::string& unID) const;
    const LibPartDef* Part(int32_t index) const;

    // The default parameter list of a part: a handle of API_AddParType records (arrays as handles of their
    // cells). Null when the index is bad or memory fails. Free it with DisposeParamHandle.
    GSHandle MakeParamHandle(int32_t index) const;

private:
    struct Entry {
        size_t folder;
        LibPartDef part;
    };
    std::vector<std::string> folders_;
    std::vector<Entry> parts_;
};

// A NUL-ended UTF-16 field (at most `size` units) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8FromField(const char16_t* field, size_t size);

// Fills a library-part record (names, file, unique id; the location when the record asks for it).
void FillLibPartRecord(const LibPartDef& part, int32_t index, API_LibPart* record);

// Builds records from parameter definitions (null when memory fails).
GSHandle MakeParamHandle(const std::vector<LibParamDef>& params);
// Releases a parameter list and the cell handles of its array records.
void DisposeParamHandle(GSHandle* params);
