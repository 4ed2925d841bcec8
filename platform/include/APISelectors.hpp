#pragma once
// Selectors of the host's selector families and the record each one takes.
//
// A selector is a tag value (API_SelectorTag<code>); the family's traits template is specialised once per selector
// with the types of its first and second record (void when unused). The module's ACAPI_Environment and
// ACAPI_Interface take the tag and records of exactly those types; an unlisted selector does not compile.
//
// To add a selector: a constant here, a traits specialisation with its records (records go to APIDefs.hpp), and
// the host's handler for it. To add a family: a traits template, an entry at the end of API_HostFunctionTable
// and an ACAPI_ wrapper in the module.
#include "APIHostTable.hpp"
#include "APIAttributeDefs.hpp"
#include "APIPictures.hpp"
#include "IO.hpp"

#include <cstdint>

template <uint32_t Code>
struct API_SelectorTag {
    static constexpr uint32_t code = Code;
};

// Size of a record type; 0 for "no record".
template <typename T>
struct API_RecordSize {
    static constexpr uint32_t value = uint32_t(sizeof(T));
};
template <>
struct API_RecordSize<void> {
    static constexpr uint32_t value = 0;
};

// --- Environment family ------------------------------------------------------------------------------------------
template <uint32_t Code>
struct API_EnvironmentRecords;  // specialised per selector

// 'APPL': application information (main version, language code).
constexpr API_SelectorTag<API_Selector("APPL")> APIEnv_ApplicationID{};
template <>
struct API_EnvironmentRecords<API_Selector("APPL")> {
    using Par1 = API_ServerApplicationInfo;
    using Par2 = void;
};

// 'ALIB': adds a folder to the project's libraries and loads it.
constexpr API_SelectorTag<API_Selector("ALIB")> APIEnv_AddLibrariesID{};
template <>
struct API_EnvironmentRecords<API_Selector("ALIB")> {
    using Par1 = IO::Location;
    using Par2 = void;
};

// 'OWNL': the location of the add-on's own file.
constexpr API_SelectorTag<API_Selector("OWNL")> APIEnv_GetOwnLocationID{};
template <>
struct API_EnvironmentRecords<API_Selector("OWNL")> {
    using Par1 = IO::Location;
    using Par2 = void;
};

// --- Interface family --------------------------------------------------------------------------------------------
template <uint32_t Code>
struct API_InterfaceRecords;  // specialised per selector

// 'SMIT': set the text of one of the add-on's menu items.
constexpr API_SelectorTag<API_Selector("SMIT")> APIIo_SetMenuItemTextID{};
template <>
struct API_InterfaceRecords<API_Selector("SMIT")> {
    using Par1 = API_MenuItemText;
    using Par2 = void;
};

// 'SUCC': bind a dialog's user-control item to a host attribute chooser.
constexpr API_SelectorTag<API_Selector("SUCC")> APIIo_SetUserControlCallbackID{};
template <>
struct API_InterfaceRecords<API_Selector("SUCC")> {
    using Par1 = API_UserControlBinding;
    using Par2 = void;
};
// The progress window (no cancel test): 'IPWD' opens it with a title and a phase count, 'SPRP' sets the phase
// text and the maximum, 'SPRV' the current value, 'CPWD' closes it.
constexpr API_SelectorTag<API_Selector("IPWD")> APIIo_InitProcessWindowID{};
template <>
struct API_InterfaceRecords<API_Selector("IPWD")> {
    using Par1 = GS::UniString;
    using Par2 = int16_t;
};
constexpr API_SelectorTag<API_Selector("SPRP")> APIIo_SetNextProcessPhaseID{};
template <>
struct API_InterfaceRecords<API_Selector("SPRP")> {
    using Par1 = GS::UniString;
    using Par2 = int32_t;
};
constexpr API_SelectorTag<API_Selector("SPRV")> APIIo_SetProcessValueID{};
template <>
struct API_InterfaceRecords<API_Selector("SPRV")> {
    using Par1 = int32_t;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("CPWD")> APIIo_CloseProcessWindowID{};
template <>
struct API_InterfaceRecords<API_Selector("CPWD")> {
    using Par1 = void;
    using Par2 = void;
};
// 'CANC': APIERR_CANCEL when the user asked to stop the long operation of the progress window, else 0.
constexpr API_SelectorTag<API_Selector("CANC")> APIIo_IsProcessCanceledID{};
template <>
struct API_InterfaceRecords<API_Selector("CANC")> {
    using Par1 = void;
    using Par2 = void;
};

// 'INCA': cancel the pending interactive input (the point, line or polygon input answers cancelled).
constexpr API_SelectorTag<API_Selector("INCA")> APIIo_CancelInputID{};
template <>
struct API_InterfaceRecords<API_Selector("INCA")> {
    using Par1 = void;
    using Par2 = void;
};

// --- Command codes of other add-ons (ACAPI_Command_Test) ---------------------------------------------------------
// 'SUIT': the suite add-on answers when it is loaded.
constexpr int32_t APICmd_SuiteID = int32_t(API_Selector("SUIT"));

// --- Project database selectors (records in APIElements.hpp) ----------------------------------------------------
struct API_WindowInfo;
struct API_DatabaseInfo;
struct API_RebuildParams;
struct API_StoryInfo;
struct API_StoryCmdType;

// 'GTBX' / 'STBX': read / set the current tool.
constexpr API_SelectorTag<API_Selector("GTBX")> APIEnv_GetToolBoxModeID{};
template <>
struct API_EnvironmentRecords<API_Selector("GTBX")> {
    using Par1 = API_ToolBoxItem;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("STBX")> APIEnv_SetToolBoxModeID{};
template <>
struct API_EnvironmentRecords<API_Selector("STBX")> {
    using Par1 = API_ToolBoxItem;
    using Par2 = void;
};

// 'GSTO': the stories (the caller releases the handle); 'CSTO': go to a story.
constexpr API_SelectorTag<API_Selector("GSTO")> APIEnv_GetStorySettingsID{};
template <>
struct API_EnvironmentRecords<API_Selector("GSTO")> {
    using Par1 = API_StoryInfo;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("CSTO")> APIEnv_ChangeStorySettingsID{};
template <>
struct API_EnvironmentRecords<API_Selector("CSTO")> {
    using Par1 = API_StoryCmdType;
    using Par2 = void;
};

// --- Database family
template <uint32_t Code>
struct API_DatabaseRecords;  // specialised per selector

// 'GWIN': the front window.
constexpr API_SelectorTag<API_Selector("GWIN")> APIDb_GetCurrentWindowID{};
template <>
struct API_DatabaseRecords<API_Selector("GWIN")> {
    using Par1 = API_WindowInfo;
    using Par2 = void;
};
// 'GDAT': the current database.
constexpr API_SelectorTag<API_Selector("GDAT")> APIDb_GetCurrentDatabaseID{};
template <>
struct API_DatabaseRecords<API_Selector("GDAT")> {
    using Par1 = API_DatabaseInfo;
    using Par2 = void;
};
// 'CDAT': make a database current (kind 1 floor plan, 4 3D model; others by their identity).
constexpr API_SelectorTag<API_Selector("CDAT")> APIDb_ChangeCurrentDatabaseID{};
template <>
struct API_DatabaseRecords<API_Selector("CDAT")> {
    using Par1 = API_DatabaseInfo;
    using Par2 = void;
};
// 'GZOM': the plan window's zoom box (plan coordinates).
constexpr API_SelectorTag<API_Selector("GZOM")> APIDb_GetZoomID{};
template <>
struct API_DatabaseRecords<API_Selector("GZOM")> {
    using Par1 = API_Box;
    using Par2 = void;
};
// 'CABO': the 3D box of the element whose GUID is in the record's head.
union API_Element;
struct API_Box3D;
constexpr API_SelectorTag<API_Selector("CABO")> APIDb_CalcBoundsID{};
template <>
struct API_DatabaseRecords<API_Selector("CABO")> {
    using Par1 = API_Element;
    using Par2 = API_Box3D;
};
// 'CHWD': bring a window to the front (its database becomes current).
constexpr API_SelectorTag<API_Selector("CHWD")> APIDb_ChangeWindowID{};
template <>
struct API_DatabaseRecords<API_Selector("CHWD")> {
    using Par1 = API_WindowInfo;
    using Par2 = void;
};

// Independent worksheets (window kind 12), each a database of its own.
// 'GWDI': the identities of the independent worksheets' databases, in creation order (a handle of API_Guid; the
// caller releases it).
constexpr API_SelectorTag<API_Selector("GWDI")> APIDb_GetWorksheetDatabasesID{};
template <>
struct API_DatabaseRecords<API_Selector("GWDI")> {
    using Par1 = GSHandle;
    using Par2 = void;
};
// 'GDBI': the info of the database whose identity is in the record.
constexpr API_SelectorTag<API_Selector("GDBI")> APIDb_GetDatabaseInfoID{};
template <>
struct API_DatabaseRecords<API_Selector("GDBI")> {
    using Par1 = API_DatabaseInfo;
    using Par2 = void;
};
// 'NDAT': a new independent worksheet with the record's name and reference id; the record gets its identity.
constexpr API_SelectorTag<API_Selector("NDAT")> APIDb_NewDatabaseID{};
template <>
struct API_DatabaseRecords<API_Selector("NDAT")> {
    using Par1 = API_DatabaseInfo;
    using Par2 = void;
};
// 'MDAT': renames the independent worksheet whose identity is in the record (name and reference id).
constexpr API_SelectorTag<API_Selector("MDAT")> APIDb_ModifyDatabaseID{};
template <>
struct API_DatabaseRecords<API_Selector("MDAT")> {
    using Par1 = API_DatabaseInfo;
    using Par2 = void;
};

// --- Automate family
template <uint32_t Code>
struct API_AutomateRecords;  // specialised per selector

// 'CHWD': the same window change as the database family's.
constexpr API_SelectorTag<API_Selector("CHWD")> APIDo_ChangeWindowID{};
template <>
struct API_AutomateRecords<API_Selector("CHWD")> {
    using Par1 = API_WindowInfo;
    using Par2 = void;
};
// 'RBLD': rebuild the current window (the record is optional).
constexpr API_SelectorTag<API_Selector("RBLD")> APIDo_RebuildID{};
template <>
struct API_AutomateRecords<API_Selector("RBLD")> {
    using Par1 = API_RebuildParams;
    using Par2 = void;
};
// 'RDRW': redraw the current window (no record).
constexpr API_SelectorTag<API_Selector("RDRW")> APIDo_RedrawID{};
template <>
struct API_AutomateRecords<API_Selector("RDRW")> {
    using Par1 = void;
    using Par2 = void;
};
// 'ZOOM': without a record, zoom the current window to fit the drawing.
constexpr API_SelectorTag<API_Selector("ZOOM")> APIDo_ZoomID{};
template <>
struct API_AutomateRecords<API_Selector("ZOOM")> {
    using Par1 = API_Box;
    using Par2 = void;
};

// --- Goodies family: library-part parameter lists ----------------------------------------------------------------
template <uint32_t Code>
struct API_GoodiesRecords;  // specialised per selector

// 'OPAR': opens the default parameters of a library part (one list open at a time; opening again replaces it).
constexpr API_SelectorTag<API_Selector("OPAR")> APIAny_OpenParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("OPAR")> {
    using Par1 = API_ParamOwnerType;
    using Par2 = void;
};
// 'GPAR': a copy of the open list (A, B, the records); the caller releases the handle.
constexpr API_SelectorTag<API_Selector("GPAR")> APIAny_GetActParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("GPAR")> {
    using Par1 = API_GetParamsType;
    using Par2 = void;
};
// 'CPAR': closes the open list.
constexpr API_SelectorTag<API_Selector("CPAR")> APIAny_CloseParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("CPAR")> {
    using Par1 = void;
    using Par2 = void;
};

// 'CPIC': the picture of the first record converted into the storage format the second names (its handle is new).
// 'CMPI': the same between MIME types. A picture the host cannot decode, or a format it cannot write, is refused.
constexpr API_SelectorTag<API_Selector("CPIC")> APIAny_ConvertPictureID{};
template <>
struct API_GoodiesRecords<API_Selector("CPIC")> {
    using Par1 = API_PictureHandle;
    using Par2 = API_PictureHandle;
};
constexpr API_SelectorTag<API_Selector("CMPI")> APIAny_ConvertMimePictureID{};
template <>
struct API_GoodiesRecords<API_Selector("CMPI")> {
    using Par1 = API_MimePicture;
    using Par2 = API_MimePicture;
};

// 'ADEF': the definition of the line type named by the attribute head (type 3, index); 'KDEF' releases its
// handles. 'DSCL': the drawing scale of the current window (100 for 1:100).
struct API_Attr_Head;
constexpr API_SelectorTag<API_Selector("ADEF")> APIDb_GetLineTypeDefID{};
template <>
struct API_DatabaseRecords<API_Selector("ADEF")> {
    using Par1 = API_Attr_Head;
    using Par2 = API_LineTypeDef;
};
constexpr API_SelectorTag<API_Selector("KDEF")> APIDb_DisposeLineTypeDefID{};
template <>
struct API_DatabaseRecords<API_Selector("KDEF")> {
    using Par1 = API_LineTypeDef;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("DSCL")> APIDb_GetDrawingScaleID{};
template <>
struct API_DatabaseRecords<API_Selector("DSCL")> {
    using Par1 = double;
    using Par2 = void;
};

#include "APIElements.hpp"

// --- Groups: 'ISSG' (Environment) tells whether grouping is suspended; the element tool's commands 'SUSP' (turn
// the suspension on or off, no record) and 'GRUP' (the listed elements become one new group) go through the
// database family.
struct API_Guid;
struct API_ElemGuidList {
    const API_Guid* guids;
    int32_t count;
};
constexpr API_SelectorTag<API_Selector("ISSG")> APIEnv_IsSuspendGroupOnID{};
template <>
struct API_EnvironmentRecords<API_Selector("ISSG")> {
    using Par1 = bool;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("SUSP")> APIDb_ToolSuspendGroupID{};
template <>
struct API_DatabaseRecords<API_Selector("SUSP")> {
    using Par1 = void;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("GRUP")> APIDb_ToolGroupID{};
template <>
struct API_DatabaseRecords<API_Selector("GRUP")> {
    using Par1 = API_ElemGuidList;
    using Par2 = void;
};

// --- 'GPRF' (Environment): the working-unit preferences of the project. Callers read the length decimals at
// byte 18, so the layout is fixed.
// 'GDOP' / 'CDOP': the floor plan's display options, read and changed.
struct API_DisplayOptions {
    uint8_t cameraDisplay;  // 0 no cameras, 1 the current one, 2 every camera of the path
    uint8_t filler[15];
};
static_assert(sizeof(API_DisplayOptions) == 16, "API_DisplayOptions layout");
constexpr API_SelectorTag<API_Selector("GDOP")> APIEnv_GetDisplayOptionsID{};
template <>
struct API_EnvironmentRecords<API_Selector("GDOP")> {
    using Par1 = API_DisplayOptions;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("CDOP")> APIEnv_ChangeDisplayOptionsID{};
template <>
struct API_EnvironmentRecords<API_Selector("CDOP")> {
    using Par1 = API_DisplayOptions;
    using Par2 = void;
};

struct API_WorkingUnitPrefs {
    int32_t lengthUnit;
    int32_t areaUnit;
    int32_t volumeUnit;
    int32_t angleUnit;
    int16_t angleDecimals;
    int16_t lengthDecimals;  // byte 18
    int16_t areaDecimals;
    int16_t volumeDecimals;
};
static_assert(sizeof(API_WorkingUnitPrefs) == 24, "API_WorkingUnitPrefs layout");
constexpr API_SelectorTag<API_Selector("GPRF")> APIEnv_GetPreferencesID{};
template <>
struct API_EnvironmentRecords<API_Selector("GPRF")> {
    using Par1 = API_WorkingUnitPrefs;
    using Par2 = void;
};
