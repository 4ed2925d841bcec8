#pragma once
// Host records of the user's interactive input (a point, a line or a polygon clicked in the plan window, the
// rubber line drawn while the cursor moves, the filter of element kinds a click may pick), of the element
// notifications (the transformation of an edit and the edit parameters derived from it), and of solid links
// between elements.
//
// Every record is plain and trivially copyable; input records are zeroed by the caller before they are filled.
// Prompts are NUL-ended texts in the system code page.
#include "APIElements.hpp"
#include "APISelectors.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace GS {
class UniString;
}

// More host error codes.
constexpr GSErrCode APIERR_LINKNOTEXIST = GSErrCode(0x810600DFu);  // no solid link between the two elements
// APIERR_CANCEL (0x81060003): the user cancelled an input; APIERR_LINKEXIST (0x810600DE): the link exists.

// ---------------------------------------------------------------------------------------------------------------
// Interactive input ('IPOI', 'ILIN', 'IPOL', 'DRLI', 'INFI', 'SNFI')

// Called by the host while the user moves the cursor during an input, with the cursor position.
typedef void API_RubberLineInputProc(const API_Coord3D* cursor);

// Which selection-record kinds (API_NeigID 0 to 255) a click may pick; bit k of byte k / 8 is kind k.
struct API_NeigFilter {
    uint8_t bits[32];
};
static_assert(sizeof(API_NeigFilter) == 32 && std::is_trivially_copyable<API_NeigFilter>::value,
              "API_NeigFilter layout");

// 'INFI' modes.
constexpr int32_t APIInitNeigFilter_Full = 0;   // every kind
constexpr int32_t APIInitNeigFilter_Empty = 1;  // no kind; 'SNFI' adds kinds one by one

// The working plane of an input: seven doubles the host interprets.
struct API_InputPlane {
    double values[7];
};
static_assert(sizeof(API_InputPlane) == 56, "API_InputPlane is seven doubles");

// 'IPOI': one point.
struct API_GetPointType {
    char prompt[256];
    uint8_t changeFilter;  // 1: only the kinds of `filter` can be picked
    uint8_t changePlane;   // 1: `plane` applies
    uint8_t enableGuides;  // 1: guideA and guideB apply (the two count only together)
    uint8_t filler0[5];
    API_NeigFilter filter;
    API_InputPlane plane;
    API_Coord3D guideA;
    API_Coord3D guideB;
    API_Coord3D pos;  // result: the clicked point
    API_Neig neig;    // result: the element picked with the click (zeroed when none)
    uint8_t reserved[32];
};
static_assert(std::is_trivially_copyable<API_GetPointType>::value, "API_GetPointType is plain");

// 'ILIN': a line from a start point given by the caller to a clicked end point.
struct API_GetLineType {
    char prompt[256];
    uint8_t changeFilter;
    uint8_t changePlane;
    uint8_t enableGuide;  // 1: guide applies
    uint8_t passFlag;     // passed through from the caller
    uint8_t filler0[4];
    API_NeigFilter filter;
    API_InputPlane plane;
    API_Coord3D guide;
    API_Coord3D startCoord;  // the line's start: the point of the first click
    API_Coord3D pos;         // result: the end point
    API_Neig neig;           // result: the element picked with the second click
    uint8_t reserved[32];
};
static_assert(std::is_trivially_copyable<API_GetLineType>::value, "API_GetLineType is plain");

// 'IPOL' input methods: anything else than a polyline is a polygon.
constexpr uint32_t APIPolyInput_Polygon = 1;   // closed: the result repeats its first point at the end
constexpr uint32_t APIPolyInput_Polyline = 2;  // open

// 'IPOL': a polygon or polyline clicked point after point from a start point given by the caller. The input ends
// when a click returns to the start point, or when the user finishes it.
struct API_GetPolyType {
    char prompt[256];
    uint8_t changePlane;
    uint8_t enableGuide;
    uint8_t passFlag;  // passed through from the caller
    uint8_t filler0;
    uint32_t method;  // APIPolyInput_
    API_InputPlane plane;
    API_Coord3D guide;
    API_Coord3D startCoord;
    // Results: nCoords points in coords (1-based, entry 0 unused) with their heights in zCoords, nArcs arcs (none
    // from clicks). The three handles are new; the caller kills them.
    int32_t nCoords;
    int32_t nArcs;
    API_Coord** coords;
    API_PolyArc** parcs;
    double** zCoords;
    uint8_t reserved[32];
};
static_assert(std::is_trivially_copyable<API_GetPolyType>::value, "API_GetPolyType is plain");

// 'DRLI': draws one rubber line of the running input's feedback.
struct API_RubberLineType {
    API_Coord3D begC;
    API_Coord3D endC;
    int32_t lineValue;
    int32_t filler0;
};
static_assert(offsetof(API_RubberLineType, endC) == 24 && offsetof(API_RubberLineType, lineValue) == 48 &&
                  sizeof(API_RubberLineType) == 56,
              "API_RubberLineType layout");

// The prompt indexes of a multi-step input: eight values, the rest zero.
struct API_InputPromptRecord {
    uint32_t indexes[8];
    uint8_t reserved[32];
};
static_assert(sizeof(API_InputPromptRecord) == 64, "API_InputPromptRecord layout");

// ---------------------------------------------------------------------------------------------------------------
// Element notifications: the transformation of an edit event (code 4) and the edit parameters built from it.

constexpr uint32_t APIEdit_Drag = API_Selector("DRAG");
constexpr uint32_t APIEdit_Rotate = API_Selector("ROTZ");
constexpr uint32_t APIEdit_Mirror = API_Selector("MIRR");
constexpr uint32_t APIEdit_Elevate = API_Selector("ELEV");
constexpr uint32_t APIEdit_Resize = API_Selector("RSIZ");
constexpr uint32_t APIEdit_Stretch = API_Selector("STRE");
constexpr uint32_t APIEdit_VertStretch = API_Selector("VSTR");
constexpr uint32_t APIEdit_General = API_Selector("GENE");

// What the host reports of an edit (ACAPI_Notify_GetTranParams), 152 bytes.
struct API_ActTranPars {
    uint32_t typeID;  // APIEdit_ code of the edit
    uint32_t filler0;
    API_Coord disp;    // displacement (drag, stretch)
    API_Coord vector;  // rotation origin ('ROTZ'), mirror axis direction ('MIRR')
    API_Coord base;    // base point (mirror, resize, stretch)
    double cosA;       // rotation angle
    double sinA;
    double dispZ;  // vertical displacement (drag, elevate, vertical stretch)
    double ratio;  // resize ratio
    uint8_t reserved[64];
};
static_assert(sizeof(API_ActTranPars) == 152 && offsetof(API_ActTranPars, disp) == 8 &&
                  offsetof(API_ActTranPars, cosA) == 56 && std::is_trivially_copyable<API_ActTranPars>::value,
              "API_ActTranPars is the 152-byte transformation record");

// An edit to run on elements, 160 bytes.
struct API_EditPars {
    uint32_t typeID;     // APIEdit_ code
    uint8_t withDelete;  // 1: the edited elements replace the originals
    uint8_t filler0[3];
    API_Coord origC;
    API_Coord3D begC;
    API_Coord3D endC;
    API_Coord3D fourthC;
    uint8_t reserved[64];
};
static_assert(sizeof(API_EditPars) == 160 && offsetof(API_EditPars, withDelete) == 4 &&
                  offsetof(API_EditPars, begC) == 24 && std::is_trivially_copyable<API_EditPars>::value,
              "API_EditPars is the 160-byte edit record");

// ---------------------------------------------------------------------------------------------------------------
// Solid links: a target element whose body an operator element changes.

constexpr uint32_t APISolid_SubtractUpwards = API_Selector("SSUU");
constexpr uint32_t APISolid_SubtractDownwards = API_Selector("SSUD");
constexpr uint32_t APISolid_Add = API_Selector("SADD");

// ---------------------------------------------------------------------------------------------------------------
// Selectors of the records above (Interface and Database families, see APISelectors.hpp)

// 'IPOI': one point; the second record is the feedback function the host calls while the cursor moves (may be
// null).
constexpr API_SelectorTag<API_Selector("IPOI")> APIIo_GetPointID{};
template <>
struct API_InterfaceRecords<API_Selector("IPOI")> {
    using Par1 = API_GetPointType;
    using Par2 = API_RubberLineInputProc*;
};
// 'ILIN': a line from the record's start point.
constexpr API_SelectorTag<API_Selector("ILIN")> APIIo_GetLineID{};
template <>
struct API_InterfaceRecords<API_Selector("ILIN")> {
    using Par1 = API_GetLineType;
    using Par2 = API_RubberLineInputProc*;
};
// 'IPOL': a polygon or polyline from the record's start point.
constexpr API_SelectorTag<API_Selector("IPOL")> APIIo_GetPolyID{};
template <>
struct API_InterfaceRecords<API_Selector("IPOL")> {
    using Par1 = API_GetPolyType;
    using Par2 = API_RubberLineInputProc*;
};
// 'DRLI': draw a rubber line (only while an input runs).
constexpr API_SelectorTag<API_Selector("DRLI")> APIIo_DrawRubberLineID{};
template <>
struct API_InterfaceRecords<API_Selector("DRLI")> {
    using Par1 = API_RubberLineType;
    using Par2 = void;
};
// 'INFI': initialise a filter with a mode (APIInitNeigFilter_).
constexpr API_SelectorTag<API_Selector("INFI")> APIIo_InitNeigFilterID{};
template <>
struct API_InterfaceRecords<API_Selector("INFI")> {
    using Par1 = API_NeigFilter;
    using Par2 = int32_t;
};
// A click that hits a point element (a hotspot) reports this kind in the input's record, with the element's GUID;
// it is no selection-record kind. 'NTOE' names the element type a kind stands for.
constexpr API_NeigID APINeig_ElemPoint = 50;
constexpr API_SelectorTag<API_Selector("NTOE")> APIAny_NeigIDToElemTypeID{};
template <>
struct API_GoodiesRecords<API_Selector("NTOE")> {
    using Par1 = API_NeigID;
    using Par2 = API_ElemTypeID;
};
// 'SNFI': add one selection-record kind to a filter.
constexpr API_SelectorTag<API_Selector("SNFI")> APIIo_SetNeigFilterID{};
template <>
struct API_InterfaceRecords<API_Selector("SNFI")> {
    using Par1 = API_NeigFilter;
    using Par2 = API_NeigID;
};

// 'GEIS': the element information (ID) text of the element with the GUID; empty when it has none.
constexpr API_SelectorTag<API_Selector("GEIS")> APIDb_GetElementInfoStringID{};
template <>
struct API_DatabaseRecords<API_Selector("GEIS")> {
    using Par1 = API_Guid;
    using Par2 = GS::UniString;
};
