#pragma once
// Exploding an element into the primitives of its 2D drawing, as the host draws it in the floor plan: one list per
// kind of primitive, each record tagged with the type of the element it came from and the drawing context
// (fill border, hatch lines, hole-dimension lines, arrow) the host drew it in. Element references are followed
// into the referenced element's drawing, its records tagged with that element's type; a reference back to an
// element whose drawing is being exploded (a cycle) is not followed again.
//
// Arcs: every arc record runs counter-clockwise from its begin angle to its end angle (radians in [0, 2 pi)). The
// host's arcs drawn the other way round arrive with their angles exchanged; the arc edges of split polygons follow
// the polygon's signed arc angle (counter-clockwise positive) with the centre QV_Arc::FromEndPointsAndAngle gives.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"
#include "APIPrimitives.hpp"

#include <cstdint>

// Drawing contexts of a record; when the host nests several, the first of this order is taken.
constexpr uint32_t QV_ExplodeContext_None = 0;
constexpr uint32_t QV_ExplodeContext_HatchBorder = 1;
constexpr uint32_t QV_ExplodeContext_HatchLines = 2;
constexpr uint32_t QV_ExplodeContext_Arrow = 3;
constexpr uint32_t QV_ExplodeContext_HoleDimLines = 4;

// Record codes: the kind of primitive a record was made from.
constexpr uint32_t QV_ExplodeCode_Point = 2;
constexpr uint32_t QV_ExplodeCode_Line = 3;
constexpr uint32_t QV_ExplodeCode_Arc = 4;
constexpr uint32_t QV_ExplodeCode_Text = 5;
constexpr uint32_t QV_ExplodeCode_PolyLine = 6;
constexpr uint32_t QV_ExplodeCode_TriangleEdge = 7;
constexpr uint32_t QV_ExplodeCode_Polygon = 8;  // the polygon, and the edges it is split into

// Each record: the element type, its code and context, the host's primitive record, and `fromHost` 1 for a
// primitive the host handed out (0 for the edges made from triangles and polygons).
struct QV_Explode_Hotspot {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_Coord pos;
};
struct QV_Explode_Point {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimPoint prim;
    uint8_t fromHost;
};
struct QV_Explode_Line {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimLine prim;
    uint8_t fromHost;
};
struct QV_Explode_Arc {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimArc prim;  // centre, radius, begin and end angle (counter-clockwise), axis ratio; its `reflected`
                       // flag tells only how the host drew it
    uint8_t fromHost;
};
struct QV_Explode_Text {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimText prim;
    QV_String content;  // "ERROR" when the host gave no text
    uint8_t fromHost;
};
QV_DECLARE_RELOCATABLE(QV_Explode_Text);
struct QV_Explode_PLine {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimPLine prim;
    int32_t firstCoord;  // in plineCoords
    int32_t coordCount;
    uint8_t fromHost;
};
struct QV_Explode_Poly {
    uint32_t elemType;
    uint32_t primCode;
    uint32_t context;
    API_PrimPoly prim;
    API_PrimHatch hatch;  // the record of the fill border it lies in (zero outside one)
    int32_t firstCoord;   // in polyCoords: prim.nCoords points (1-based in the host's numbering)
    int32_t firstEnd;     // in polyEnds: prim.nSubPolys contour ends, counted within the polygon
    int32_t firstArc;     // in polyArcs: prim.nArcs arcs, their indices counted within the polygon
    uint8_t fromHost;
};

class QV_Explode {
public:
    // Create: the lists empty, the options at their defaults.
    QV_Explode();
    // Free.
    ~QV_Explode();
    QV_Explode(const QV_Explode&) = delete;
    QV_Explode& operator=(const QV_Explode&) = delete;

    // Appends the primitives of the element's drawing (and of the elements it references) to the lists. The
    // records of every run accumulate until Clear. The host's error comes back; what was collected stays.
    GSErrCode Run(const API_Elem_Head& element);
    // Empties every list and sets the options to their defaults.
    void Clear();

    // The run's state: the type of the element being exploded (0 outside a run), the context flags and the
    // record of the fill border being drawn.
    uint32_t elemType = 0;
    uint8_t inHatchBorder = 0;
    uint8_t inHatchLines = 0;
    uint8_t inHoleDimLines = 0;
    uint8_t inArrow = 0;
    API_PrimHatch hatch = {};

    QV_List<QV_Explode_Hotspot> hotspots;  // never filled here; kept for the readers that take hotspots
    QV_List<QV_Explode_Point> points;
    QV_List<QV_Explode_Line> lines;
    QV_List<QV_Explode_Arc> arcs;
    QV_List<QV_Explode_Text> texts;
    QV_List<QV_Explode_PLine> polylines;
    QV_List<QV_Explode_Poly> polygons;
    QV_List<API_Coord> polyCoords;
    QV_List<int32_t> polyEnds;
    QV_List<API_PolyArc> polyArcs;
    QV_List<API_Coord> plineCoords;

    // Options: split each polygon into line and arc records too (default 0); a second option (default 1, not
    // read here); then one switch per kind (default 1; 0 skips that kind).
    uint8_t polygonEdges = 0;
    uint8_t secondOption = 1;
    uint8_t wantPoints = 1;
    uint8_t wantLines = 1;
    uint8_t wantArcs = 1;
    uint8_t wantTexts = 1;
    uint8_t wantPolylines = 1;
    uint8_t wantTriangles = 1;
    uint8_t wantPolygons = 1;

    // The host's callback (one container receives at a time: the one whose Run is going on).
    static GSErrCode PrimitiveCallback(const API_Primitive* primitive, const void* parameters, const char16_t* text,
                                       const API_Coord* coordinates);

private:
    uint32_t Context() const;
    void TakePolygon(const API_PrimPoly& prim, const API_PrimPolyParams* params, const API_Coord* coords);
    void SplitPolygonEdges(const API_PrimPoly& prim, const int32_t* pends, const API_PolyArc* parcs,
                           const API_Coord* coords);
    void FollowReference(const API_Elem_Head& referenced);

    QV_List<API_Guid> running_;  // the elements of the run being drawn, outermost first
};
