#pragma once
// Host interface records shared by the host and the add-on module. Every record is plain and trivially
// copyable: the host hands them across the module boundary by pointer, the module copies them bytewise.
//
// Texts inside records are NUL-ended UTF-8 in fixed-size fields; writers must cut them to the field.
#include "APICoord.hpp"
#include "GSRoot.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// Four-character selector codes ('APPL', 'SMIT' ...) as the 32-bit words the host compares.
constexpr uint32_t API_Selector(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) | (uint32_t(uint8_t(code[2])) << 8) |
        uint32_t(uint8_t(code[3]));
}

// Host error codes.
constexpr GSErrCode APIERR_GENERAL = GSErrCode(0x81060001u);          // also: entry point called before the table
constexpr GSErrCode APIERR_BADPARS = GSErrCode(0x81060002u);          // bad arguments, unknown selector, wrong record
constexpr GSErrCode APIERR_CANCEL = GSErrCode(0x81060003u);           // the user cancelled an input or dialog
constexpr GSErrCode APIERR_NOSEL = GSErrCode(0x810600CEu);            // empty selection (callers treat it as success)
constexpr GSErrCode APIERR_COMPEQUAL = GSErrCode(0x810600D2u);        // 'COMP': the two ids are equal
constexpr GSErrCode APIERR_LINKEXIST = GSErrCode(0x810600DEu);        // solid link already exists
constexpr GSErrCode APIERR_NOMODULEDATA = GSErrCode(0x81060195u);     // no module data under that name
constexpr GSErrCode APIERR_MISSINGHOSTFUNC = GSErrCode(0x81060387u);  // the host table has no such entry
constexpr GSErrCode APIERR_BADNAME = GSErrCode(0x8106000Au);          // no library part has that name or unique id
constexpr GSErrCode APIERR_BADINDEX = GSErrCode(0x81060009u);         // no library part has that index
constexpr GSErrCode APIERR_REFUSED = GSErrCode(0x81060021u);          // the host refused the request (e.g. a library)

// ---------------------------------------------------------------------------------------------------------------
// Identifiers and element heads

struct API_Guid {
    uint32_t time_low;
    uint16_t time_mid;
    uint16_t time_hi_and_version;
    uint8_t clock_seq[2];
    uint8_t node[6];
};
static_assert(sizeof(API_Guid) == 16 && std::is_trivially_copyable<API_Guid>::value, "API_Guid layout");

constexpr API_Guid APINULLGuid = {0, 0, 0, {0, 0}, {0, 0, 0, 0, 0, 0}};

inline bool operator==(const API_Guid& a, const API_Guid& b) {
    if (a.time_low != b.time_low || a.time_mid != b.time_mid || a.time_hi_and_version != b.time_hi_and_version)
        return false;
    for (int i = 0; i < 2; ++i)
        if (a.clock_seq[i] != b.clock_seq[i]) return false;
    for (int i = 0; i < 6; ++i)
        if (a.node[i] != b.node[i]) return false;
    return true;
}
inline bool operator!=(const API_Guid& a, const API_Guid& b) { return !(a == b); }

// Host element type ids the add-on names.
typedef int32_t API_ElemTypeID;
constexpr API_ElemTypeID API_ZombieElemID = 0;  // "no type": all types where a filter is asked for

// The element head: 112 bytes, the first part of every element record and the payload of element events.
struct API_Elem_Head {
    API_ElemTypeID typeID;  // host element type
    int32_t variationID;    // tool variation
    API_Guid guid;          // the element's identity
    API_Guid groupGuid;     // the group the element belongs to (null when none)
    int64_t modiStamp;      // modification stamp
    int16_t floorInd;       // story index
    uint8_t hasMemo;
    uint8_t locked;
    int16_t drwIndex;  // drawing order
    int16_t renovationStatus;
    int32_t hotlinkIndex;
    int32_t layer;            // layer attribute index
    int32_t userDataVersion;  // 0 when the element carries no user data
    uint8_t reserved[44];
};
static_assert(sizeof(API_Elem_Head) == 112 && std::is_trivially_copyable<API_Elem_Head>::value,
              "API_Elem_Head is the 112-byte element head");
static_assert(offsetof(API_Elem_Head, guid) == 8 && offsetof(API_Elem_Head, floorInd) == 48, "head field order");

// ---------------------------------------------------------------------------------------------------------------
// Library-part parameters: the host keeps them as an array of 1600-byte records in a memory handle.

constexpr int32_t APIParT_Text = 12;  // typeID of a text parameter; every other type keeps doubles

struct API_AddParType {
    int32_t typeID;
    int16_t index;
    uint8_t flags;
    uint8_t filler0;
    char name[32];            // ASCII, in the system code page
    char16_t uDescname[256];  // display name
    int32_t dim1;             // an array has both dims non-zero
    int32_t dim2;
    union {
        double real;         // numeric scalar
        char16_t uStr[256];  // text scalar, at most 255 units and the terminator
        GSHandle array;      // array cells: doubles, or texts each ended by a 0 unit
    } value;
    uint8_t reserved[528];
};
static_assert(sizeof(API_AddParType) == 1600 && std::is_trivially_copyable<API_AddParType>::value,
              "API_AddParType is the 1600-byte parameter record");

// ---------------------------------------------------------------------------------------------------------------
// Library parts of the project's loaded libraries

namespace IO {
class Location;
}

constexpr int32_t APILib_ObjectID = 4;    // library-part type of objects
constexpr int32_t APILib_PictureID = 11;  // library-part type of pictures

// One library part, as the search ('by name or unique id') and the get ('by index') answer it.
struct API_LibPart {
    int32_t typeID;            // library-part type; in a search by name 0 accepts any type
    int32_t index;             // from 1; -1 when none
    char16_t docu_UName[128];  // the part's name, NUL-ended
    char16_t file_UName[128];  // its file name, NUL-ended
    IO::Location* location;    // when not null (owned by the caller), receives the part's file
    char ownUnID[128];         // "{main GUID}-{revision GUID}", NUL-ended; a search with it set searches by it
    char parentUnID[128];      // the unique id of the part it derives from, NUL-ended
    uint8_t missingDef;        // 1: the library holds no definition for the part
    uint8_t filler[7];
};
static_assert(sizeof(API_LibPart) == 792 && std::is_trivially_copyable<API_LibPart>::value, "API_LibPart layout");

// The parameter list opened by 'OPAR' (library-part parameters, the Goodies family): a library part's defaults.
struct API_ParamOwnerType {
    int32_t libInd;  // the library part (from 1)
    int32_t reserved0;
    API_Guid guid;  // must be null: this host opens library parts' defaults only
    int32_t reserved[4];
};
static_assert(sizeof(API_ParamOwnerType) == 40 && std::is_trivially_copyable<API_ParamOwnerType>::value,
              "API_ParamOwnerType layout");

// What 'GPAR' hands out: A, B and a new handle of API_AddParType records (arrays keep their cells in handles of
// their own) that the caller releases, cell handles included.
struct API_GetParamsType {
    double a;
    double b;
    GSHandle params;
    int32_t count;  // records in params
    int32_t reserved[5];
};
static_assert(sizeof(API_GetParamsType) == 48 && std::is_trivially_copyable<API_GetParamsType>::value,
              "API_GetParamsType layout");

// ---------------------------------------------------------------------------------------------------------------
// Environment check record: the host fills the kind, the add-on answers with its name and description.

constexpr int32_t APIAppl_Host = 1;  // the only kind the add-on runs in
constexpr int32_t APIAddon_Unknown = 0;
constexpr int32_t APIAddon_Normal = 2;  // answered by the environment check for the host

struct API_AddOnInfo {
    char name[256];         // UTF-8, NUL-ended
    char description[512];  // UTF-8, NUL-ended
};

struct API_EnvirParams {
    int32_t serverApplication;  // kind of host application; first 32-bit field
    int32_t reserved;
    API_AddOnInfo addOnInfo;
};
static_assert(offsetof(API_EnvirParams, serverApplication) == 0, "the kind is the record's first field");
static_assert(sizeof(API_EnvirParams) == 776 && std::is_trivially_copyable<API_EnvirParams>::value,
              "API_EnvirParams layout");

// ---------------------------------------------------------------------------------------------------------------
// Application information ('APPL')

struct API_ServerApplicationInfo {
    int32_t mainVersion;  // written in decimal into marker file names
    int32_t releaseVersion;
    int32_t buildNum;
    int32_t reserved;
    char language[32];  // the host's language code ("INT", "GER", "NOR", "AUT" ...), NUL-ended
};
static_assert(sizeof(API_ServerApplicationInfo) == 48 && std::is_trivially_copyable<API_ServerApplicationInfo>::value,
              "API_ServerApplicationInfo layout");

// ---------------------------------------------------------------------------------------------------------------
// Menus

struct API_MenuItemRef {
    int16_t menuResID;  // menu resource id (32500 + language index for the add-on)
    int16_t itemIndex;  // 1-based item index
};

// What a menu handler receives when the user chooses one of the add-on's items.
struct API_MenuParams {
    API_MenuItemRef menuItemRef;
    int32_t reserved[3];
};
static_assert(sizeof(API_MenuParams) == 16 && std::is_trivially_copyable<API_MenuParams>::value,
              "API_MenuParams layout");

// 'SMIT': set the text of a registered menu item.
struct API_MenuItemText {
    API_MenuItemRef menuItemRef;
    int32_t reserved;
    char text[256];  // UTF-8, NUL-ended
};
static_assert(sizeof(API_MenuItemText) == 264 && std::is_trivially_copyable<API_MenuItemText>::value,
              "API_MenuItemText layout");

typedef GSErrCode API_MenuCommandProc(const API_MenuParams* menuParams);

// 'SUCC': binds a dialog's user-control item to one of the host's attribute choosers; its value is then the
// attribute index the user picks.
struct API_UserControlBinding {
    uint32_t type;  // APIUserControl_...
    int16_t dialogID;
    int16_t itemID;
};
static_assert(sizeof(API_UserControlBinding) == 8 && std::is_trivially_copyable<API_UserControlBinding>::value,
              "API_UserControlBinding layout");
constexpr uint32_t APIUserControl_Pen = 0;           // pens 1..255
constexpr uint32_t APIUserControl_PenWithZero = 1;   // pens 0..255 (a fill's background)
constexpr uint32_t APIUserControl_Fill = 2;          // fill patterns
constexpr uint32_t APIUserControl_Material = 17;     // surface materials
constexpr uint32_t APIUserControl_Layer = 18;        // layers
constexpr uint32_t APIUserControl_LineType = 20;     // line types
constexpr uint32_t APIUserControl_LineTypeAlt = 21;  // line types, the chooser's second look
constexpr uint32_t APIUserControl_BuildingMaterial = 28;

// ---------------------------------------------------------------------------------------------------------------
// Other add-ons and module data

// Identifies another add-on for command calls: a developer id and a local id.
struct API_ModulID {
    uint32_t developerID;
    uint32_t localID;
};
static_assert(sizeof(API_ModulID) == 8, "API_ModulID layout");

// The project's per-add-on data store.
struct API_ModulData {
    int32_t dataVersion;
    uint16_t platformSign;  // 0x5757 for data written on this platform
    uint16_t filler;
    GSHandle dataHdl;  // on get: allocated by the host runtime, released by the caller
};
static_assert(sizeof(API_ModulData) == 16 && std::is_trivially_copyable<API_ModulData>::value, "API_ModulData layout");

// ---------------------------------------------------------------------------------------------------------------
// Notifications

// Project events (codes the add-on reacts to: 1 new, 2 new and reset, 4 open, 256 ...); mask -1 = all events.
typedef GSErrCode API_ProjectEventHandlerProc(int32_t notifID, int32_t param);
constexpr int32_t APINotify_New = 1;
constexpr int32_t APINotify_NewAndReset = 2;
constexpr int32_t APINotify_Open = 4;
constexpr int32_t APINotify_ConvertOldIds = 256;  // a project of an earlier release: convert its old element ids

// Element events: -2 end of a batch, -1 start of a batch, 0-5 the element's own events.
struct API_NotifyElementType {
    int32_t notifID;
    int32_t reserved;
    API_Elem_Head elemHead;
};
static_assert(sizeof(API_NotifyElementType) == 120 && std::is_trivially_copyable<API_NotifyElementType>::value,
              "API_NotifyElementType layout");
typedef GSErrCode API_ElementEventHandlerProc(const API_NotifyElementType* elemType);

// The toolbox item that became current; the tool-change notification passes it.
struct API_ToolBoxItem {
    API_ElemTypeID typeID;
    int32_t variationID;
    int32_t reserved[2];
};
static_assert(sizeof(API_ToolBoxItem) == 16, "API_ToolBoxItem layout");
typedef GSErrCode API_ToolChangeHandlerProc(const API_ToolBoxItem* newToolRec);

// Modeless windows: the host tells a registered palette to close (1), hide (2), show (3), disable (4), enable (5).
// The registration flags say which it takes: APIPalette_Close for 1, APIPalette_Hide for 2 and 3,
// APIPalette_Disable for 4 and 5; other bits are kept and mean nothing to this host.
typedef GSErrCode API_PaletteControlCallBackProc(int32_t referenceID, int32_t messageID, intptr_t param);
constexpr int32_t APIPalette_Close = 0x01;
constexpr int32_t APIPalette_Hide = 0x02;
constexpr int32_t APIPalette_Disable = 0x04;
constexpr int32_t APIPaletteMessage_Close = 1;
constexpr int32_t APIPaletteMessage_Hide = 2;
constexpr int32_t APIPaletteMessage_Show = 3;
constexpr int32_t APIPaletteMessage_Disable = 4;
constexpr int32_t APIPaletteMessage_Enable = 5;

// ---------------------------------------------------------------------------------------------------------------
// The module's entry table, filled by the export GetExportedFuncAddrs.

typedef int32_t API_AddonType;
typedef API_AddonType API_CheckEnvironmentProc(API_EnvirParams* envir);
typedef GSErrCode API_RegisterInterfaceProc();
typedef GSErrCode API_InitializeProc(uint64_t contextWord);  // the host's context word for this module
typedef GSErrCode API_FreeDataProc();

constexpr uint32_t API_EntryTableVersion = 1;
constexpr int32_t API_EntryTableClosingWord = 25000;

struct API_EntryTable {
    uint32_t version;  // API_EntryTableVersion
    uint32_t reserved;
    API_CheckEnvironmentProc* checkEnvironment;
    API_RegisterInterfaceProc* registerInterface;
    API_InitializeProc* initialize;
    API_FreeDataProc* freeData;
    int32_t closingWord;  // API_EntryTableClosingWord
    int32_t reserved2;
};
static_assert(std::is_trivially_copyable<API_EntryTable>::value, "API_EntryTable is plain");
