#pragma once
// The host's project database records: elements (a union of per-type records behind one common head), element
// memos, user data, selection records, attributes, stories, windows and databases.
//
// Every record is plain and trivially copyable and crosses the module boundary by pointer. Handles inside
// memos and records come from the host runtime (BMAllocateHandle): whoever receives a filled memo releases it
// with ACAPI_DisposeElemMemoHdls; user-data and story handles the host hands out belong to the caller.
// Texts in fixed fields are NUL-ended UTF-8 (char) or UTF-16 (char16_t); writers cut them to the field.
#include "APIDefs.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace GS {
class UniString;
}

// ---------------------------------------------------------------------------------------------------------------
// Host error codes of the project database.

constexpr GSErrCode APIERR_BADDATABASE = GSErrCode(0x81060010u);     // the current database refuses the call (3D)
constexpr GSErrCode APIERR_BADID = GSErrCode(0x81060011u);           // no element with that GUID here
constexpr GSErrCode APIERR_NEEDSUNDOSCOPE = GSErrCode(0x81060012u);  // a model change outside an undoable command
constexpr GSErrCode APIERR_REFUSEDCMD = GSErrCode(0x81060013u);      // an undoable command inside another
// APIERR_BADINDEX (APIDefs.hpp) also answers for an attribute, story or layer index that does not exist.
constexpr GSErrCode APIERR_BADELEMTYPE = GSErrCode(0x81060015u);  // not an element type of this host
constexpr GSErrCode APIERR_BADPOLY = GSErrCode(0x81060016u);      // polygon counts and memo handles disagree
constexpr GSErrCode APIERR_LOCKEDLAYER = GSErrCode(0x81060017u);  // the element's layer is locked
constexpr GSErrCode APIERR_BADNEIG = GSErrCode(0x81060018u);      // selection record of the wrong kind
constexpr GSErrCode APIERR_BADWINDOW = GSErrCode(0x81060019u);    // no such window or database
constexpr GSErrCode APIERR_MEMFULL = GSErrCode(0x8106001Au);      // the host could not allocate a handle
constexpr GSErrCode APIERR_ATTREXIST = GSErrCode(0x8106012Du);    // an attribute of that name exists

// ---------------------------------------------------------------------------------------------------------------
// Element types (API_Elem_Head::typeID). The host knows types 1 to API_LastElemTypeID; the ones named here have
// records of their own in API_Element, the others are kept with their head only.

constexpr API_ElemTypeID API_WallID = 1;
constexpr API_ElemTypeID API_ColumnID = 2;
constexpr API_ElemTypeID API_BeamID = 3;
constexpr API_ElemTypeID API_WindowID = 4;
constexpr API_ElemTypeID API_DoorID = 5;
constexpr API_ElemTypeID API_ObjectID = 6;
constexpr API_ElemTypeID API_LampID = 7;
constexpr API_ElemTypeID API_SlabID = 8;
constexpr API_ElemTypeID API_RoofID = 9;
constexpr API_ElemTypeID API_MeshID = 10;
constexpr API_ElemTypeID API_TextID = 15;
constexpr API_ElemTypeID API_ZoneID = 17;
constexpr API_ElemTypeID API_HatchID = 18;  // fill
constexpr API_ElemTypeID API_LineID = 19;
constexpr API_ElemTypeID API_PolyLineID = 20;
constexpr API_ElemTypeID API_ArcID = 21;
constexpr API_ElemTypeID API_CircleID = 22;
constexpr API_ElemTypeID API_SplineID = 23;
constexpr API_ElemTypeID API_HotspotID = 24;
constexpr API_ElemTypeID API_CutPlaneID = 25;  // section marker
constexpr API_ElemTypeID API_CameraID = 26;    // perspective camera of a camera set
constexpr API_ElemTypeID API_CamSetID = 27;    // camera set: a walk-through path
constexpr API_ElemTypeID API_DetailID = 32;
constexpr API_ElemTypeID API_ElevationID = 33;
constexpr API_ElemTypeID API_InteriorElevationID = 34;
constexpr API_ElemTypeID API_WorksheetID = 35;  // worksheet marker
constexpr API_ElemTypeID API_LastElemTypeID = 77;

// ---------------------------------------------------------------------------------------------------------------
// Polygons

// Counts of an element's polygon; its points, contour ends and arcs are in the memo.
struct API_Polygon {
    int32_t nCoords;    // coordinates 1 to nCoords of the memo (each contour repeats its first point)
    int32_t nSubPolys;  // contours; the first is the outer one
    int32_t nArcs;      // arc records
    int32_t reserved;
};
static_assert(sizeof(API_Polygon) == 16, "API_Polygon layout");

// An arc edge of a polygon: from coordinate begIndex to endIndex, turning by arcAngle (radians, CCW positive).
struct API_PolyArc {
    int32_t begIndex;
    int32_t endIndex;
    double arcAngle;
};
static_assert(sizeof(API_PolyArc) == 16 && std::is_trivially_copyable<API_PolyArc>::value, "API_PolyArc layout");

// ---------------------------------------------------------------------------------------------------------------
// Per-type element records. Each starts with the common head.

struct API_WallType {
    API_Elem_Head head;
    int16_t pen;
    int16_t filler0;
    int32_t material;
    API_Coord begC;
    API_Coord endC;
    double height;
    double thickness;
    double bottomOffset;
    API_Polygon poly;
    uint8_t reserved[64];
};

// Windows and doors.
struct API_WindowType {
    API_Elem_Head head;
    int32_t libInd;  // library-part index
    int16_t pen;
    int16_t filler0;
    API_Guid owner;  // the wall holding it
    double objLoc;   // position along the wall
    double width;
    double height;
    double level;
    uint8_t reserved[64];
};

// Objects and lamps. The members from `pen` to `ownerDistance` are the object's placement (a placement refresh
// copies them from one object to another; `libInd` is not among them).
struct API_ObjectType {
    API_Elem_Head head;
    int32_t libInd;  // library-part index
    int16_t pen;
    int16_t filler0;
    int32_t ltypeInd;
    int32_t mat;
    int32_t sectFill;
    int16_t sectPen;
    int16_t sectBGPen;
    int16_t contPen;
    uint8_t useObjPens;
    uint8_t useObjLtypes;
    uint8_t useObjMaterials;
    uint8_t useObjSectAttrs;
    uint8_t reflected;
    uint8_t lightIsOn;
    uint8_t fixedAngle;
    uint8_t filler1;
    uint8_t filler2[6];
    double angle;
    double xRatio;  // size A
    double yRatio;  // size B
    double level;   // elevation above the story
    API_Coord pos;
    double zOffset;
    double liftSize;
    int32_t anchorPoint;
    uint8_t isAutoOnStoryVisibility;
    uint8_t filler3[3];
    API_Guid ownerGuid;
    double ownerDistance;
    uint8_t reserved[64];
};
static_assert(offsetof(API_ObjectType, libInd) == 112 && offsetof(API_ObjectType, angle) == 152 &&
                  offsetof(API_ObjectType, pos) == 184 && offsetof(API_ObjectType, ownerGuid) == 224,
              "object record layout");

struct API_SlabType {
    API_Elem_Head head;
    int16_t pen;
    int16_t sectPen;
    uint8_t materialsChained;
    uint8_t useFloorFill;
    int16_t filler0;
    int32_t topMat;
    int32_t sideMat;
    int32_t botMat;
    int32_t filler1;
    double thickness;
    double level;  // top of the slab above its story
    double offsetFromTop;
    API_Polygon poly;
    uint8_t reserved[64];
};

struct API_RoofType {
    API_Elem_Head head;
    int16_t pen;
    int16_t filler0;
    int32_t topMat;
    double thickness;
    double level;
    double angle;
    API_Polygon poly;
    uint8_t reserved[64];
};

// Mesh level lines: counts of the memo's level points and of the lines they form.
struct API_MeshLevel {
    int32_t nSubLines;
    int32_t nCoords;
};

// A mesh. `pen` draws its contour, `sectPen` the contour of its section. The override bytes say whether the
// mesh's own pen or material gives way to the one beside it; the two section fill overrides sit side by side,
// foreground first.
struct API_MeshType {
    API_Elem_Head head;
    int16_t pen;
    int16_t sectPen;
    int32_t topMat;  // the mesh's surface material
    int32_t sideMat;
    int32_t botMat;
    int32_t skirtMat;   // material of the skirt
    int32_t skirt;      // skirt kind (0 none)
    double skirtLevel;  // depth of the skirt below the level
    double level;       // base level of the mesh above its story
    API_Polygon poly;
    API_MeshLevel levelLines;
    int16_t ridgePen;     // pen of the ridges (the edges between triangles) in plan
    int16_t ltypeInd;     // plan line type
    int32_t buildingMat;  // building material: gives the section fill
    int16_t sectFillPen;  // section fill foreground pen
    int16_t sectFillBGPen;
    uint8_t overrideSectFillPen;  // foreground, then background: one 16-bit pair 0x0000..0x0101
    uint8_t overrideSectFillBGPen;
    uint8_t overrideTopMat;
    uint8_t overrideSideMat;
    uint8_t overrideBotMat;
    uint8_t showPlanTriangles;  // companion switch of the plan triangle display; a terrain keeps it 1 (its skirt shows)
    int16_t planTriangles;      // 1 hide, 2 show the triangles in plan
    uint8_t filler0[2];
    uint8_t showLevelLines3D;  // 1: the level lines are drawn on the 3D model
    uint8_t triangles3D;       // 0 show, 2 hide the triangles' edges in 3D
    uint8_t reserved[40];
};

struct API_ZoneType {
    API_Elem_Head head;
    int32_t libInd;  // zone stamp library part
    int16_t pen;
    int16_t filler0;
    char16_t roomName[64];
    double level;
    API_Polygon poly;
    uint8_t reserved[64];
};

// Fills. `contPen` is the first member of the fill part; `fillPen` is the member fills keep among the members
// other types share, and `fillBGPen`, `fillInd`, `drawOrder` follow it.
struct API_HatchType {
    API_Elem_Head head;
    int16_t contPen;
    int16_t contLtype;
    int16_t sectPen;
    int16_t fillPen;
    int16_t fillBGPen;
    int16_t fillInd;
    int16_t drawOrder;
    int16_t hatchValue;  // a free 16-bit value of the fill (the add-on keeps its own code here)
    uint8_t showArea;
    uint8_t filler0[7];
    API_Polygon poly;
    uint8_t reserved[64];
};

struct API_LineType {
    API_Elem_Head head;
    int16_t pen;
    int16_t ltypeInd;
    int32_t filler0;
    API_Coord begC;
    API_Coord endC;
    uint8_t reserved[64];
};

struct API_PolyLineType {
    API_Elem_Head head;
    int16_t pen;
    int16_t ltypeInd;
    int32_t filler0;
    API_Polygon poly;  // nSubPolys sub-polylines
    uint8_t reserved[64];
    int32_t vertexCount;  // the host's count of the polyline's vertices as read (2: one straight or curved segment)
    int32_t filler1;
};
static_assert(offsetof(API_PolyLineType, vertexCount) == 200, "the vertex count lies at byte 200");

// Arcs and circles (a circle is a whole arc).
struct API_ArcType {
    API_Elem_Head head;
    int16_t pen;
    int16_t ltypeInd;
    int32_t filler0;
    API_Coord origC;
    double r;
    double mainAxisDir;
    double ratio;  // axis ratio, 1.0 for a circular arc
    double begAng;
    double endAng;
    uint8_t whole;
    uint8_t reflected;
    uint8_t filler1[6];
    uint8_t reserved[64];
};

// Splines: the memo holds the control points (0-based, no unused entry) and one direction record per point.
struct API_SplineType {
    API_Elem_Head head;
    int16_t pen;
    int16_t ltypeInd;
    uint8_t closed;
    uint8_t autoSmooth;
    uint8_t filler0[2];
    uint8_t reserved[64];
};

struct API_HotspotType {
    API_Elem_Head head;
    int16_t pen;
    int16_t filler0;
    int32_t filler1;
    API_Coord pos;
    double height;
    uint8_t reserved[64];
};

struct API_TextType {
    API_Elem_Head head;
    int16_t pen;
    int16_t filler0;
    int32_t font;         // font attribute index
    int32_t fontSetCode;  // script of the font
    int32_t filler1;
    double size;
    double angle;
    API_Coord loc;
    uint8_t reserved[64];
};

// Section, elevation and interior elevation markers and worksheet markers: each owns a database of its own.
struct API_MarkerType {
    API_Elem_Head head;
    int16_t pen;
    int16_t filler0;
    int32_t filler1;
    API_Coord begC;
    API_Coord endC;
    API_Guid databaseUnId;  // the database of the window the marker owns
    char16_t name[64];
    char16_t ref[32];
    uint8_t reserved[64];
};

// The element record: one of the per-type records, chosen by header.typeID.
// A perspective camera. The cameras of one set form a chain: each names its set and the camera before it.
struct API_CameraType {
    API_Elem_Head head;
    API_Guid camSetGuid;  // the set it belongs to
    API_Guid prevCam;     // the camera before it in the set; null for the first
    API_Coord pos;        // where it stands
    API_Coord target;     // where it looks
    double cameraZ;       // eye height
    double targetZ;       // height of the point it looks at
    double distance;      // distance to the next camera along the path
    double pacing[2];     // the path's pacing numbers at this camera
    double viewAngle;     // opening angle, radians
    uint8_t reserved[64];
};

// A camera set: its name and how its path is shown and run.
struct API_CamSetType {
    API_Elem_Head head;
    char16_t name[64];  // NUL-ended
    int32_t inFrames;   // the three path switches
    int32_t openedPath;
    int32_t smoothed;
    int32_t frameCount;  // frames between two cameras
    uint8_t reserved[64];
};

union API_Element {
    API_Elem_Head header;
    API_WallType wall;
    API_WindowType window;
    API_WindowType door;
    API_ObjectType object;
    API_ObjectType lamp;
    API_SlabType slab;
    API_RoofType roof;
    API_MeshType mesh;
    API_TextType text;
    API_ZoneType zone;
    API_HatchType hatch;
    API_LineType line;
    API_PolyLineType polyLine;
    API_ArcType arc;
    API_ArcType circle;
    API_SplineType spline;
    API_HotspotType hotspot;
    API_MarkerType cutPlane;
    API_CameraType camera;
    API_CamSetType camset;
    API_PolyLineType detail;
    API_MarkerType elevation;
    API_MarkerType interiorElevation;
    API_MarkerType worksheet;
    uint8_t bytes[1024];
};
static_assert(sizeof(API_Element) == 1024 && std::is_trivially_copyable<API_Element>::value,
              "API_Element is the 1024-byte element record");
static_assert(offsetof(API_Element, object.libInd) == 112 && offsetof(API_Element, window.libInd) == 112,
              "the library index follows the head");

// ---------------------------------------------------------------------------------------------------------------
// Element memo: the variable-length parts of an element. Each member is null when absent.

struct API_EdgeTrim {
    int16_t sideType;
    int16_t filler0;
    int32_t filler1;
    double sideAngle;
};
static_assert(sizeof(API_EdgeTrim) == 16, "API_EdgeTrim layout");

struct API_OverriddenAttribute {
    uint8_t overridden;
    uint8_t filler0[3];
    int32_t attributeIndex;
};
static_assert(sizeof(API_OverriddenAttribute) == 8, "API_OverriddenAttribute layout");

// A level point of a mesh.
struct API_MeshLevelCoord {
    API_Coord3D c;
    int32_t vertexID;
    int32_t filler0;
};
static_assert(sizeof(API_MeshLevelCoord) == 32, "API_MeshLevelCoord layout");

// Direction of a spline at one control point.
struct API_SplineDir {
    double lenPrev;
    double lenNext;
    double dirAng;
};
static_assert(sizeof(API_SplineDir) == 24, "API_SplineDir layout");

struct API_ElementMemo {
    API_Coord** coords;  // polygons: index 0 is (0, 0) and unused; splines: 0-based points
    int32_t** pends;     // contour ends: entry 0 is 0, entry k the last index of contour k
    API_PolyArc** parcs;
    uint32_t** vertexIDs;  // entry 0 holds the highest ID
    uint32_t** edgeIDs;
    uint32_t** contourIDs;
    API_EdgeTrim** edgeTrims;
    API_OverriddenAttribute* sideMaterials;  // a pointer block (BMAllocatePtr), one entry per edge
    double** meshPolyZ;                      // mesh: one height per coordinate (1-based like coords)
    API_MeshLevelCoord** meshLevelCoords;
    int32_t** meshLevelEnds;        // ends of the level lines within meshLevelCoords
    API_SplineDir** bezierDirs;     // spline: one per control point
    API_AddParType** params;        // library-part parameters (array cells in handles of their own)
    GS::UniString* elemInfoString;  // the element ID text; the memo owns it
    char** textContent;             // text element: UTF-8, NUL-ended; lines parted by CR LF
    int32_t** textLineStarts;       // text element: the byte offset of each line in textContent
    GSHandle reserved[6];
};
static_assert(sizeof(API_ElementMemo) == 176 && std::is_trivially_copyable<API_ElementMemo>::value,
              "API_ElementMemo layout");

// Which memo parts a memo read fills (ACAPI_Element_GetMemo) or a change writes (ACAPI_Element_Change).
constexpr uint64_t APIMemoMask_Polygon = 0x1;  // coords, pends, parcs, vertex, edge and contour IDs
constexpr uint64_t APIMemoMask_EdgeTrims = 0x2;
constexpr uint64_t APIMemoMask_SideMaterials = 0x4;
constexpr uint64_t APIMemoMask_MeshPolyZ = 0x8;
constexpr uint64_t APIMemoMask_MeshLevel = 0x10;  // meshLevelCoords, meshLevelEnds
constexpr uint64_t APIMemoMask_BezierDirs = 0x20;
constexpr uint64_t APIMemoMask_AddPars = 0x40;
constexpr uint64_t APIMemoMask_ElemInfoString = 0x80;
constexpr uint64_t APIMemoMask_TextContent = 0x100;
constexpr uint64_t APIMemoMask_All = 0xFFFFFFFFFFFFFFFFull;

// ---------------------------------------------------------------------------------------------------------------
// User data: one block of bytes per element, with a version word.

struct API_ElementUserData {
    int16_t dataVersion;    // with platformSign the 32-bit word at offset 0 (0x57570002 for version 2)
    uint16_t platformSign;  // 0x5757 for data written on this platform
    uint32_t flags;
    GSHandle dataHdl;  // set: the host copies the bytes (the caller keeps its handle); get: a new handle
                       // the caller releases, null when the element has no user data
};
static_assert(sizeof(API_ElementUserData) == 16 && offsetof(API_ElementUserData, platformSign) == 2 &&
                  std::is_trivially_copyable<API_ElementUserData>::value,
              "API_ElementUserData layout");

constexpr uint16_t APIUserData_PlatformSign = 0x5757;

// ---------------------------------------------------------------------------------------------------------------
// Selection

// Selection record kinds (one per element type the host lets select by record).
typedef int32_t API_NeigID;
constexpr API_NeigID APINeig_None = 0;
constexpr API_NeigID APINeig_Wall = 1;
constexpr API_NeigID APINeig_Column = 2;
constexpr API_NeigID APINeig_Beam = 3;
constexpr API_NeigID APINeig_WindOn = 4;
constexpr API_NeigID APINeig_DoorOn = 5;
constexpr API_NeigID APINeig_Symb = 6;
constexpr API_NeigID APINeig_Light = 7;
constexpr API_NeigID APINeig_Ceil = 8;
constexpr API_NeigID APINeig_Roof = 9;
constexpr API_NeigID APINeig_Mesh = 10;
constexpr API_NeigID APINeig_Word = 15;
constexpr API_NeigID APINeig_Room = 17;
constexpr API_NeigID APINeig_Hatch = 18;
constexpr API_NeigID APINeig_Line = 19;
constexpr API_NeigID APINeig_PolyLine = 20;
constexpr API_NeigID APINeig_Arc = 21;
constexpr API_NeigID APINeig_Circ = 22;
constexpr API_NeigID APINeig_Spline = 23;
constexpr API_NeigID APINeig_Hot = 24;
constexpr API_NeigID APINeig_CutPlane = 25;
constexpr API_NeigID APINeig_Detail = 32;
constexpr API_NeigID APINeig_Elevation = 33;
constexpr API_NeigID APINeig_InteriorElevation = 34;
constexpr API_NeigID APINeig_Worksheet = 35;

constexpr uint32_t APINeigFlg_Whole = 0x1;  // the record means the whole element, not one of its parts

// The selection record of one element; the host checks neigID against the element's type.
struct API_Neig {
    API_NeigID neigID;
    uint32_t flags;
    API_Guid guid;
    int32_t elemPartType;
    int32_t inIndex;  // hit records: 1-based side (or vertex) index
    int32_t holeSel;  // hit records: 1 when the side is not one of the outer contour
    int32_t reserved[5];
};
static_assert(sizeof(API_Neig) == 56 && std::is_trivially_copyable<API_Neig>::value, "API_Neig layout");

// The neighbour kind that picks an element of a type (APINeig_None for types that cannot be picked).
inline API_NeigID APINeigIDOfElemType(API_ElemTypeID typeID) {
    switch (typeID) {
        case API_WallID: return APINeig_Wall;
        case API_ColumnID: return APINeig_Column;
        case API_BeamID: return APINeig_Beam;
        case API_WindowID: return APINeig_WindOn;
        case API_DoorID: return APINeig_DoorOn;
        case API_ObjectID: return APINeig_Symb;
        case API_LampID: return APINeig_Light;
        case API_SlabID: return APINeig_Ceil;
        case API_RoofID: return APINeig_Roof;
        case API_MeshID: return APINeig_Mesh;
        case API_TextID: return APINeig_Word;
        case API_ZoneID: return APINeig_Room;
        case API_HatchID: return APINeig_Hatch;
        case API_LineID: return APINeig_Line;
        case API_PolyLineID: return APINeig_PolyLine;
        case API_ArcID: return APINeig_Arc;
        case API_CircleID: return APINeig_Circ;
        case API_SplineID: return APINeig_Spline;
        case API_HotspotID: return APINeig_Hot;
        case API_CutPlaneID: return APINeig_CutPlane;
        case API_DetailID: return APINeig_Detail;
        case API_ElevationID: return APINeig_Elevation;
        case API_InteriorElevationID: return APINeig_InteriorElevation;
        case API_WorksheetID: return APINeig_Worksheet;
        default: return APINeig_None;
    }
}

// The polygon record of the element types that carry one (null for the others).
inline API_Polygon* APIPolygonOf(API_Element& e) {
    switch (e.header.typeID) {
        case API_WallID: return &e.wall.poly;
        case API_SlabID: return &e.slab.poly;
        case API_RoofID: return &e.roof.poly;
        case API_MeshID: return &e.mesh.poly;
        case API_ZoneID: return &e.zone.poly;
        case API_HatchID: return &e.hatch.poly;
        case API_PolyLineID: return &e.polyLine.poly;
        case API_DetailID: return &e.detail.poly;
        default: return nullptr;
    }
}
inline const API_Polygon* APIPolygonOf(const API_Element& e) { return APIPolygonOf(const_cast<API_Element&>(e)); }

constexpr int32_t API_SelEmpty = 0;
constexpr int32_t API_SelElems = 1;

struct API_SelectionInfo {
    int32_t typeID;         // API_SelEmpty when nothing is selected
    int32_t sel_nElem;      // selected elements
    int32_t sel_nElemEdit;  // of them, editable ones (not on a locked layer)
    int32_t reserved0;
    API_Coord** marquee;  // marquee polygon: always a handle (maybe empty) that the caller kills
    int32_t reserved[6];
};
static_assert(sizeof(API_SelectionInfo) == 48 && std::is_trivially_copyable<API_SelectionInfo>::value,
              "API_SelectionInfo layout");

// ACAPI_Element_Filter bits: 0 = the element exists in the current database.
constexpr uint32_t APIFilt_IsEditable = 0x1;  // ... and its layer is shown and unlocked

// ---------------------------------------------------------------------------------------------------------------
// Attributes

typedef int32_t API_AttrTypeID;
constexpr API_AttrTypeID API_PenID = 1;
constexpr API_AttrTypeID API_LayerID = 2;
constexpr API_AttrTypeID API_LinetypeID = 3;
constexpr API_AttrTypeID API_FilltypeID = 4;
constexpr API_AttrTypeID API_MaterialID = 6;
constexpr API_AttrTypeID API_FontID = 10;
constexpr API_AttrTypeID API_LastAttrTypeID = 12;

// Layer flags (API_Attr_Head::flags of a layer).
constexpr uint32_t APILay_Hidden = 0x1;
constexpr uint32_t APILay_Locked = 0x2;
constexpr uint32_t APILay_ForceToWire = 0x4;
constexpr uint32_t APILay_Flag10 = 0x10;

struct API_Attr_Head {
    API_AttrTypeID typeID;
    int32_t index;  // from 1; 0 on a get means "find by name"
    uint32_t flags;
    int32_t filler0;
    char name[256];  // UTF-8, NUL-ended; names are unique within a type
    API_Guid guid;
    int64_t modiTime;
    int32_t reserved[4];
};
static_assert(sizeof(API_Attr_Head) == 312, "API_Attr_Head layout");

struct API_LayerType {
    API_Attr_Head head;
    int32_t conClassId;  // the layer's intersection group
    int32_t reserved[15];
};

struct API_PenType {
    API_Attr_Head head;
    double red;  // 0..1
    double green;
    double blue;
    double width;
    int32_t reserved[8];
};

struct API_LinetypeType {
    API_Attr_Head head;
    int32_t type;  // 0 solid, 1 dashed, 2 symbol
    int32_t filler0;
    double period;
    int32_t reserved[8];
};

struct API_FilltypeType {
    API_Attr_Head head;
    uint8_t bitPat[8];  // the 8 x 8 sample pattern
    int32_t fillKind;   // APIFillKind_...
    int32_t reserved[7];
};
// Kinds of fills.
constexpr int32_t APIFillKind_Vector = 0;
constexpr int32_t APIFillKind_Symbol = 1;
constexpr int32_t APIFillKind_Empty = 2;
constexpr int32_t APIFillKind_Solid = 3;

struct API_FontType {
    API_Attr_Head head;
    int32_t familyType;  // font-set code
    int32_t reserved[7];
};

union API_Attribute {
    API_Attr_Head header;
    API_LayerType layer;
    API_PenType pen;
    API_LinetypeType linetype;
    API_FilltypeType filltype;
    API_FontType font;
    uint8_t bytes[512];
};
static_assert(sizeof(API_Attribute) == 512 && std::is_trivially_copyable<API_Attribute>::value,
              "API_Attribute is the 512-byte attribute record");

// ---------------------------------------------------------------------------------------------------------------
// Stories ('GSTO', 'CSTO')

struct API_StoryType {
    int16_t index;
    int16_t filler0;
    int32_t filler1;
    double level;
    char16_t uName[128];
};
static_assert(sizeof(API_StoryType) == 272, "API_StoryType layout");

struct API_StoryInfo {
    int16_t firstStory;
    int16_t lastStory;
    int16_t actStory;
    int16_t filler0;
    int32_t reserved0;
    int32_t reserved1;
    API_StoryType** data;  // firstStory to lastStory, in order; the caller releases the handle
};
static_assert(sizeof(API_StoryInfo) == 24 && std::is_trivially_copyable<API_StoryInfo>::value, "API_StoryInfo layout");

constexpr int32_t APIStory_GoTo = 0;

struct API_StoryCmdType {
    int32_t action;  // APIStory_GoTo
    int16_t index;
    int16_t filler0;
    int32_t reserved[6];
};
static_assert(sizeof(API_StoryCmdType) == 32, "API_StoryCmdType layout");

// ---------------------------------------------------------------------------------------------------------------
// Windows and databases ('GWIN', 'CHWD', 'GDAT', 'CDAT')

constexpr int32_t APIWind_FloorPlanID = 1;
constexpr int32_t APIWind_SectionID = 2;
constexpr int32_t APIWind_DetailID = 3;
constexpr int32_t APIWind_3DModelID = 4;
constexpr int32_t APIWind_ElevationID = 10;
constexpr int32_t APIWind_InteriorElevationID = 11;
constexpr int32_t APIWind_WorksheetID = 12;

struct API_WindowInfo {
    int32_t typeID;  // first field: the window's kind
    int32_t index;
    API_Guid databaseUnId;  // the database shown; for kinds 1 and 4 not needed
    char16_t title[128];
    int32_t reserved[8];
};
static_assert(offsetof(API_WindowInfo, typeID) == 0 && sizeof(API_WindowInfo) == 312 &&
                  std::is_trivially_copyable<API_WindowInfo>::value,
              "API_WindowInfo layout");

struct API_DatabaseInfo {
    int32_t typeID;  // first field: the database's kind (window kinds)
    int32_t index;
    API_Guid databaseUnId;  // identity; kinds 1 and 4 are found by kind alone
    char16_t title[128];
    char16_t name[128];
    char16_t ref[32];
    int32_t reserved[8];
};
static_assert(offsetof(API_DatabaseInfo, typeID) == 0 && sizeof(API_DatabaseInfo) == 632 &&
                  std::is_trivially_copyable<API_DatabaseInfo>::value,
              "API_DatabaseInfo layout");

// 'RBLD': rebuild the current window; the flag asks for a full regeneration.
struct API_RebuildParams {
    int32_t regenerate;
    int32_t reserved;
};
static_assert(sizeof(API_RebuildParams) == 8, "API_RebuildParams layout");
