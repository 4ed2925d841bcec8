#pragma once
// The element data record: the add-on's own user data on every element it manages. It tells which ElemKind
// the element belongs to and carries the identifiers that tie it to its terrain and to the other objects of
// its feature, as 650 bytes of fixed-width text.
//
// Users' projects hold these records, in the current layout and in the older one of earlier releases: the
// offsets, widths, tags and text rules below are a stored format and must never change.
//
// Building and parsing are pure functions over the 650-byte buffer; storing and fetching the record as the
// element's user data goes through the host (the ElemUserData_ functions at the end).
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"
#include "GSGuid.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The add-on's numbering of its element kinds. 17 is not used.
enum ElemKind : int32_t {
    ElemKind_None = 0,
    ElemKind_Point = 1,
    ElemKind_Constraint = 2,
    ElemKind_Outline = 3,
    ElemKind_Terrain = 4,
    ElemKind_Contour = 5,
    ElemKind_Road = 6,
    ElemKind_Plateau = 7,
    ElemKind_ColouredArea = 8,
    ElemKind_Building = 9,
    ElemKind_Wall = 10,
    ElemKind_Sidewalk = 11,
    ElemKind_Basin = 12,
    ElemKind_LevelMarker = 13,
    ElemKind_PointMarker = 14,
    ElemKind_RetainingWall = 15,
    ElemKind_Section = 16,
    ElemKind_Unused17 = 17,
    ElemKind_SlopeRange = 18,
    ElemKind_SlopedPlateau = 19,
    ElemKind_Bridge = 20,
    ElemKind_Railway = 21,
};

// Header of the host user-data record that carries the element data record.
constexpr uint16_t ElemUserDataVersion = 2;
constexpr uint16_t ElemUserDataPlatformSign = 0x5757;
constexpr uint32_t ElemUserDataHeaderWord = 0x57570002u;  // sign and version as one little-endian word
constexpr uint32_t ElemUserDataFlags = 0;

constexpr uint32_t ElemDataRecordSize = 650;

// Offsets and widths of the current layout. A text or number field holds at most width - 1 bytes and a NUL.
// A number is the shortest decimal text that reads back as the same double ('.' as decimal point, "e+NN" /
// "e-NN" exponents; ',' is read too); a level too long for its field is rounded to the digits that fit, and a
// record read and written again then keeps that value. An empty field is the no-number mark DBL_MAX.
namespace ElemRecordLayout {
constexpr uint32_t Tag = 0;
constexpr uint32_t N1 = 1;           // kind 1: Value
constexpr uint32_t T1 = 27;          // kind 1: name text
constexpr uint32_t ShortWidth = 26;  // N1 and T1
constexpr uint32_t S53 = 53;         // kind 4: terrain identifier
constexpr uint32_t S103 = 103;       // kind 5: ContourText
constexpr uint32_t S153 = 153;       // kind 8: AreaText
constexpr uint32_t S203 = 203;       // ResultGuid
constexpr uint32_t S253 = 253;       // FillGuid
constexpr uint32_t S303 = 303;       // CutGuid
constexpr uint32_t S353 = 353;       // TerrainGuid
constexpr uint32_t S403 = 403;       // OriginalGuid
constexpr uint32_t S453 = 453;       // kind 21: ExtraText
constexpr uint32_t S503 = 503;       // kind 1: Note
constexpr uint32_t SlotWidth = 50;
constexpr uint32_t N553 = 553;  // kind 4: Level1
constexpr uint32_t N573 = 573;  // kind 4: Level2
constexpr uint32_t N593 = 593;  // kind 4: Level3
constexpr uint32_t LevelWidth = 20;
constexpr uint32_t Reserved = 613;  // 37 bytes, zero
constexpr uint32_t ReservedWidth = 37;

// Older layout (read only): kind 1 keeps its number at 2 and its name at 28; kinds 4, 5 and 8 their one
// text at 28; every other kind the tag only.
constexpr uint32_t LegacyNumber = 2;
constexpr uint32_t LegacyText = 28;
}  // namespace ElemRecordLayout

// The record's bytes, as the host's user-data handle holds them.
struct ElemDataRecord {
    uint8_t bytes[ElemDataRecordSize];
};
static_assert(sizeof(ElemDataRecord) == ElemDataRecordSize && std::is_trivially_copyable<ElemDataRecord>::value,
              "the element data record is 650 plain bytes");

// Result of building or parsing a record.
enum class ElemRecordStatus : int32_t {
    Ok = 0,
    NoData,    // null buffer or no bytes
    BadSize,   // a current-layout record that is not exactly 650 bytes, or an older one too short for its fields
    BadKind,   // kind outside 1 to 21, kind 17 (no tag), or a kind the older layout never held (16)
    WrongTag,  // byte 0 is not the tag of the kind asked for
    Garbled,   // a field the kind reads is not NUL-terminated inside its width
    NoMemory,  // a text could not be allocated
};

// In-memory image of one record; every element class holds one.
class ElemDescriptor {
public:
    ElemDescriptor() = default;
    ElemDescriptor(const ElemDescriptor&) = default;
    ElemDescriptor& operator=(const ElemDescriptor&) = default;
    // Moves hand the texts over (Reset assigns a fresh descriptor: with copies only, it copied every text).
    ElemDescriptor(ElemDescriptor&&) = default;
    ElemDescriptor& operator=(ElemDescriptor&&) = default;

    // Every string empty (no buffer), every number and flag zero.
    void Reset();

    // Fills the fields of `kind` from a current-layout record without looking at its tag (a kind without
    // fields, or outside 1 to 21, leaves the descriptor reset). Resets first; on failure it stays reset.
    ElemRecordStatus FillFromRecord(int32_t kind, const void* data, size_t size);

    // Resets, reads the element's user data and fills the fields of `kind` from it, as FillFromRecord. With
    // `switchToPlan` and the 3D window in front the read is made in the floor plan's database and the 3D
    // model's is made current again afterwards. False when the switch or the read fails, when the element has
    // no user data, or when the record cannot be read for the kind; a kind outside 1 to 21 gives true with the
    // descriptor reset once the user data was read.
    bool FromElement(int32_t kind, const API_Elem_Head& head, bool switchToPlan);
    // FromElement without the switch, reading the user data once for two readers: `tagged` tells whether the
    // record also carries the kind's tag, as ElemUserData_ReadFromElement asks. True when filled; `refused` tells
    // the host's refusal of the user data apart from an element without the record.
    bool FromElementTagged(int32_t kind, const API_Elem_Head& head, bool* tagged, bool* refused);

    QV_String Name;            // kind 1: point name (without the trailing digits of the stored name)
    int32_t Number = 0;        // kind 1: point number (the trailing digits of the stored name)
    double Value = 0.0;        // kind 1: point value
    uint8_t AppendNumber = 0;  // kind 1: when set, the stored name carries the number behind it
    QV_String Note;            // kind 1: second text
    QV_String TerrainId;       // kind 4: "<GUID text>_<serial>", ending at the '_' for a serial under 100
    GS::Guid OwnGuid;          // kind 4: the terrain element's GUID the identifier is made from
    int32_t Serial = 0;        // kind 4: its last three digits complete the identifier
    QV_String ContourText;     // kind 5
    QV_String AreaText;        // kind 8
    QV_String ResultGuid;      // GUID text of the feature's "result" object
    QV_String FillGuid;        // GUID text of the feature's "fill" object
    QV_String CutGuid;         // GUID text of the feature's "cut" object
    QV_String TerrainGuid;     // GUID text of the terrain mesh
    QV_String OriginalGuid;    // GUID text of the element the feature was made from
    QV_String ExtraText;       // kind 21
    double Level1 = 0.0;       // kind 4
    double Level2 = 0.0;
    double Level3 = 0.0;
    // Kind 1: the trailing digits split off the stored name exactly as they were stored (leading zeros
    // included), so that rewriting the record gives the name back whole.
    QV_String NameDigits;
};

// Tag character of a kind; 0 for kind 17 and kinds outside 1 to 21.
char ElemKindTag(int32_t kind);

// Decimal text of a number as the dialog manager's format 8 gives it: plain digits, '-' for a negative.
QV_String LongToDecimalText(int32_t value);

// The kind 4 terrain identifier: the GUID text, '_', and the last three characters of the serial's text. A
// serial text of fewer than three characters gives the identifier ending at the '_' (the record holds NUL bytes
// in the missing leading positions, then the digits).
QV_String MakeTerrainId(const GS::Guid& ownGuid, int32_t serial);

// Builds the current-layout record of `kind` (what is stored when an element is written). The record is
// zero-filled first. BadKind for a kind without a tag: such a record could never be read back.
ElemRecordStatus ElemDataRecord_Build(const ElemDescriptor& descriptor, int32_t kind, ElemDataRecord& record);

// The record of a rewrite (the upkeep of old projects): like Build, except that the kind 1 name text is
// Name followed by NameDigits, and the kind 4 identifier is TerrainId as it is.
ElemRecordStatus ElemDataRecord_BuildRewrite(const ElemDescriptor& descriptor, int32_t kind, ElemDataRecord& record);

// Parses a current-layout record of `kind` into `descriptor` (reset first, and left reset on failure).
ElemRecordStatus ElemDataRecord_Parse(const void* data, size_t size, int32_t kind, ElemDescriptor& descriptor);

// Parses an older-layout record of `kind`. The older records' size is not fixed: a field ends at its terminator,
// at the next field or at 650 bytes, and data that ends before that cannot be the record (BadSize). So kinds 1,
// 4, 5 and 8 need their text at 28 with its terminator (or 650 bytes); every other kind holds its tag only and
// is read from one byte. Note and the levels stay empty.
ElemRecordStatus ElemDataRecord_ParseLegacy(const void* data, size_t size, int32_t kind, ElemDescriptor& descriptor);

// Reads an older-layout record and builds its current-layout rewrite.
ElemRecordStatus ElemDataRecord_Upgrade(const void* data, size_t size, int32_t kind, ElemDataRecord& record);

// ---- the record as the element's user data (header: version 2, sign 0x5757, flags 0, 650 bytes) ----
// Each returns false at the first failure: a kind without a tag, memory, a database switch, the host's user-data
// call, a missing, short or garbled record, a tag of another kind. The host copies the bytes it stores; the
// handles made or fetched here are released here.

// Builds the record of the kind and stores it. With the 3D window in front it is stored in the floor plan's
// database, and the 3D model's is made current again afterwards.
bool ElemUserData_WriteRecord(const ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);

// Replaces the element's user data by the record of the kind (the upkeep of old projects): the new record is
// stored over the old one, so a refused store leaves the old user data as it was; kinds 1 and 4 are stored as
// ElemDataRecord_BuildRewrite gives them, without a database switch, every other kind as ElemUserData_WriteRecord
// stores it.
bool ElemUserData_RewriteRecord(const ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);

// Parses user data fetched by the caller (current layout, the tag of the kind). Resets the descriptor first.
bool ElemUserData_ReadRecord(ElemDescriptor& descriptor, int32_t kind, const API_ElementUserData& userData);

// Fetches the element's user data and parses it; with `switchDatabase` the fetch is made in the floor plan's
// database when the 3D window is in front.
bool ElemUserData_ReadFromElement(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head,
                                  bool switchDatabase);
// The same without any database switch.
bool ElemUserData_Read(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);
// Fetches the element's user data (no database switch) and parses the older layout.
bool ElemUserData_ReadLegacy(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);

// What a read of an element's record found, telling the host's refusal from a record that is not there: Found, the
// record of the kind; Absent, no user data, or user data that is not that record (another kind's, another
// layout's, garbled); Failed, the host refused the user data or memory failed.
enum class RecordRead { Found, Absent, Failed };
// The older layout, as ElemUserData_ReadLegacy reads it.
RecordRead ElemUserData_ReadLegacyChecked(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);
// The current layout, as ElemUserData_Read reads it.
RecordRead ElemUserData_ReadChecked(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head);
