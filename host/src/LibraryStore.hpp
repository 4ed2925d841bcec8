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
//
// Optional lines, written by the host when it saves a library part it created (and read back):
//     parent = <unique id>                          (the part it derives from)
//     details = <fixSize> <autoHotspot>             (of the parameter definition section; 0 or 1 each)
//     section <TYPE> [<subIdent>] = "<text>"        (a text section: the scripts and 'CMNT')
//     section <TYPE> [<subIdent>] = hex:<bytes>     (any other section, its bytes in hexadecimal)
// Quoted texts also take the escapes \n, \r and \t. TYPE is four printable characters; 'PARD' is never given
// (the parameters are that section). Every part gets the section list 'PARD', then the sections of its file in
// file order, then a 2D and a 3D script ('2DSC', '3DSC') holding one comment line when the file gives none.
#include "APIDefs.hpp"
#include "APILibPartSections.hpp"
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
    std::vector<double> numbers;        // a numeric parameter: one value, or dim1 * dim2 cells
    std::vector<std::u16string> texts;  // a text parameter: one text, or dim1 * dim2 cells
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
    std::string guid;    // "{main}-{revision}", upper case
    std::string parent;  // unique id of the part it derives from ("" none)
    int32_t type = LibPartType_Object;
    std::string filePath;  // the description file ("/" separated)
    std::vector<LibParamDef> params;
    std::vector<LibSectionDef> sections;
    API_LibPartDetails details = {};

    LibSectionDef* Section(uint32_t sectType, int16_t subIdent);
    const LibSectionDef* Section(uint32_t sectType, int16_t subIdent) const;
};

// Text sections: the scripts and the comment.
bool IsTextSectionType(uint32_t type);
// "2DSC" for a section type word; "0x..." when it is not four printable characters.
std::string SectionTypeText(uint32_t type);

// Parses one description. False with `error` = "line <n>: <what>" on the first fault.
bool ParseLibraryPart(const std::string& text, LibPartDef* part, std::string* error);

// A "{8-4-4-4-12}-{8-4-4-4-12}" unique id (hexadecimal digits); upper-cased into `normal`.
bool ParseLibPartUnID(const std::string& text, std::string* normal);
// A new unique id (random main and revision GUIDs).
std::string NewLibPartUnID();

// The description file of a part (what ParseLibraryPart reads back to the same part).
std::string DescribeLibraryPart(const LibPartDef& part);

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

    // --- changing parts and creating new ones
    LibPartDef* MutablePart(int32_t index);
    // 'OWLP': whether a new part may take the place of a part of its name.
    void SetOverwrite(bool on) { overwrite_ = on; }
    bool Overwrite() const { return overwrite_; }
    // Starts a part (name, type, parent and optional unique id of `part`; its sections and parameters start
    // empty) in `folder`, a loaded library folder. Refused, with `why`: a bad name, a folder that is not a
    // library of the project (APIERR_BADPARS), a part of that name when overwriting is off or when it lies in
    // another library (APIERR_NAMEALREADYUSED). A part being created before is dropped. The index the part will
    // have comes back (that of the part it replaces, or the next one), and its unique id is settled: the one
    // given when no other part has it, else a new one.
    GSErrCode BeginPart(const LibPartDef& part, const std::string& folder, int32_t* index, std::string* why);
    // The part being created and its index; null / 0 when none.
    LibPartDef* PartBeingCreated() { return creating_ ? &newPart_ : nullptr; }
    int32_t IndexBeingCreated() const { return creating_ ? newIndex_ : 0; }
    // Writes the part being created into its folder's description file (a new file "<name>.lpd", or the file
    // of the part it replaces) and makes it a part of the library; its index comes back. Nothing changes when
    // the file cannot be written (APIERR_GENERAL, `why`) or none is being created (APIERR_NOTCREATING).
    GSErrCode SavePart(int32_t* index, std::string* why);

private:
    struct Entry {
        size_t folder;
        LibPartDef part;
    };
    std::vector<std::string> folders_;
    std::vector<Entry> parts_;
    bool overwrite_ = false;
    bool creating_ = false;
    LibPartDef newPart_;
    size_t newFolder_ = 0;
    int32_t newIndex_ = 0;
    int32_t replaces_ = 0;  // the index of the part the new one replaces, 0 none
};

// A NUL-ended UTF-16 field (at most `size` units) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8FromField(const char16_t* field, size_t size);

// Fills a library-part record (names, file, unique id; the location when the record asks for it).
void FillLibPartRecord(const LibPartDef& part, int32_t index, API_LibPart* record);

// Builds records from parameter definitions (null when memory fails).
GSHandle MakeParamHandle(const std::vector<LibParamDef>& params);
// Releases a parameter list and the cell handles of its array records.
void DisposeParamHandle(GSHandle* params);
// Parameter definitions from a handle of records (what a description file can hold): false with `why` for a
// name that is not a name or is given twice, an unknown type, bad sizes, array cells the handle lacks, a number
// that is not finite, a text with a NUL or a scalar text without its terminator.
bool ParamsFromRecords(const API_AddParType* const* records, std::vector<LibParamDef>* params, std::string* why);

// Parameter definition sections ('PARD' content): a block only the host reads. Made from parameter
// definitions, the sizes A and B and the details (null when memory fails); read back with every size checked
// (false with `why` for a block that is not one or is cut short).
GSHandle MakeParamDefSection(const std::vector<LibParamDef>& params, double a, double b,
                             const API_LibPartDetails& details);
bool ReadParamDefSection(GSConstHandle section, std::vector<LibParamDef>* params, double* a, double* b,
                         API_LibPartDetails* details, std::string* why);
// Writes the details into such a block; false when it is not one.
bool SetParamDefSectionDetails(GSHandle section, const API_LibPartDetails& details);
// Sets parameters "A" and "B" to the sizes (added at the front, B after A, when missing).
void SetSizeParams(std::vector<LibParamDef>* params, double a, double b);
// The sizes A and B of a parameter list (0 for a missing one).
void GetSizeParams(const std::vector<LibParamDef>& params, double* a, double* b);
