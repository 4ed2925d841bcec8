#pragma once
// The primitives of an element's 2D drawing, as ACAPI_Element_ShapePrims hands them to a callback one at a time:
// points, lines, arcs, texts, polylines, triangles and polygons, the markers that open and close a drawing
// context (a fill's border, its hatch lines, hole-dimension lines, an arrow), and references to other elements
// whose drawing belongs to this one.
#include "APICoord.hpp"
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <cstdint>
#include <type_traits>

typedef int32_t API_PrimTypeID;
constexpr API_PrimTypeID API_PrimPointID = 1;
constexpr API_PrimTypeID API_PrimLineID = 2;
constexpr API_PrimTypeID API_PrimArcID = 3;
constexpr API_PrimTypeID API_PrimTextID = 4;
constexpr API_PrimTypeID API_PrimPLineID = 5;
constexpr API_PrimTypeID API_PrimTriID = 6;
constexpr API_PrimTypeID API_PrimPolyID = 7;
constexpr API_PrimTypeID API_PrimHatchBorderBegID = 10;
constexpr API_PrimTypeID API_PrimHatchBorderEndID = 11;
constexpr API_PrimTypeID API_PrimHatchLinesBegID = 12;
constexpr API_PrimTypeID API_PrimHatchLinesEndID = 13;
constexpr API_PrimTypeID API_PrimHoleDimLinesBegID = 14;
constexpr API_PrimTypeID API_PrimHoleDimLinesEndID = 15;
constexpr API_PrimTypeID API_PrimArrowBegID = 16;
constexpr API_PrimTypeID API_PrimArrowEndID = 17;
constexpr API_PrimTypeID API_PrimElemRefID = 18;

// What every primitive starts with.
struct API_Prim_Head {
    API_PrimTypeID typeID;
    int16_t pen;
    int16_t ltypeInd;
    int32_t layer;
    int16_t drwIndex;
    int16_t filler0;
    API_Guid elemGuid;  // the element being drawn
};
static_assert(sizeof(API_Prim_Head) == 32, "API_Prim_Head layout");

struct API_PrimPoint {
    API_Prim_Head head;
    API_Coord loc;
};

struct API_PrimLine {
    API_Prim_Head head;
    API_Coord c1;
    API_Coord c2;
    double penWeight;  // 0: the pen's own
};

// An arc runs counter-clockwise from begAng to endAng about orig; with `reflected` set the host drew it the
// other way round, from endAng back to begAng. A whole circle runs from 0 to 2 pi.
struct API_PrimArc {
    API_Prim_Head head;
    uint8_t reflected;
    uint8_t whole;
    uint8_t filler0[6];
    API_Coord orig;
    double r;
    double begAng;
    double endAng;
    double ratio;  // axis ratio, 1.0 for a circular arc
    double mainAxisDir;
};

// The content comes as the callback's text (UTF-16, NUL-ended).
struct API_PrimText {
    API_Prim_Head head;
    API_Coord loc;
    double size;
    double angle;
    int32_t font;
    int32_t nChars;
};

// The points come as the callback's coordinates: entries 0 to nCoords - 1.
struct API_PrimPLine {
    API_Prim_Head head;
    int32_t nCoords;
    int32_t filler0;
};

struct API_PrimTri {
    API_Prim_Head head;
    API_Coord c[3];
};

// The coordinates come as the callback's coordinates (entries 1 to nCoords; entry 0 is unused), the contour
// ends and arcs through its parameters (API_PrimPolyParams), numbered as in an element memo.
struct API_PrimPoly {
    API_Prim_Head head;
    int32_t nCoords;
    int32_t nSubPolys;
    int32_t nArcs;
    int16_t fillInd;
    int16_t fillPen;
};
struct API_PrimPolyParams {
    const int32_t* pends;      // entries 0 to nSubPolys, entry 0 is 0
    const API_PolyArc* parcs;  // entries 0 to nArcs - 1
};

// The opening of a fill's border: the fill's drawing record, which the polygons inside the border share.
struct API_PrimHatch {
    API_Prim_Head head;
    API_Guid fillGuid;
    int16_t fillInd;
    int16_t fillPen;
    int16_t fillBGPen;
    int16_t contPen;
    int16_t contLtype;
    int16_t hatchValue;
    int32_t nCoords;
    int32_t nSubPolys;
    int32_t nArcs;
    API_Box box;  // the fill's extent
    double area;
    double hatchSpacing;  // 0 when the fill draws no hatch lines
    double hatchAngle;
    uint8_t reserved[24];
};
static_assert(sizeof(API_PrimHatch) == 152, "API_PrimHatch is the 152-byte hatch record");

// Another element's drawing drawn as part of this one.
struct API_PrimElemRef {
    API_Prim_Head head;
    API_Elem_Head elem;  // the referenced element (type and GUID)
};

union API_Primitive {
    API_Prim_Head head;
    API_PrimPoint point;
    API_PrimLine line;
    API_PrimArc arc;
    API_PrimText text;
    API_PrimPLine pline;
    API_PrimTri tri;
    API_PrimPoly poly;
    API_PrimHatch hatch;
    API_PrimElemRef elemRef;
};
static_assert(std::is_trivially_copyable<API_Primitive>::value, "API_Primitive is plain");

// Called once per primitive. `parameters`: API_PrimPolyParams for a polygon, else null. `text`: a text's content,
// else null. `coordinates`: a polyline's or polygon's points, else null. An answer other than NoError stops the
// drawing and becomes ACAPI_Element_ShapePrims' answer.
typedef GSErrCode API_ShapePrimsProc(const API_Primitive* primitive, const void* parameters, const char16_t* text,
                                     const API_Coord* coordinates);
