#include "geometry/project/QV_Explode.hpp"

#include "foundation/ACAPI.hpp"
#include "geometry/QV_Arc.hpp"

#include <cmath>
#include <cstring>
#include <utility>

namespace {
const double kArcTolerance = 1e-5;

// The container whose Run is going on: the host's callback has no user data.
QV_Explode* g_target = nullptr;

template <typename Record>
Record Tagged(uint32_t elemType, uint32_t primCode, uint32_t context, uint8_t fromHost) {
    Record r;
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    r.elemType = elemType;
    r.primCode = primCode;
    r.context = context;
    r.fromHost = fromHost;
    return r;
}
}  // namespace

QV_Explode::QV_Explode() { Clear(); }

QV_Explode::~QV_Explode() {
    if (g_target == this) g_target = nullptr;
    Clear();
}

void QV_Explode::Clear() {
    hotspots.Clear();
    points.Clear();
    lines.Clear();
    arcs.Clear();
    texts.Clear();
    polylines.Clear();
    polygons.Clear();
    polyCoords.Clear();
    polyEnds.Clear();
    polyArcs.Clear();
    plineCoords.Clear();
    polygonEdges = 0;
    secondOption = 1;
    wantPoints = wantLines = wantArcs = wantTexts = wantPolylines = wantTriangles = wantPolygons = 1;
}

GSErrCode QV_Explode::Run(const API_Elem_Head& element) {
    QV_Explode* previous = g_target;
    g_target = this;
    elemType = uint32_t(element.typeID);
    inHatchBorder = inHatchLines = inHoleDimLines = inArrow = 0;
    std::memset(static_cast<void*>(&hatch), 0, sizeof hatch);
    running_.Clear();
    running_.Insert(element.guid);
    const GSErrCode err = ACAPI_Element_ShapePrims(element, PrimitiveCallback);
    running_.Clear();
    elemType = 0;
    g_target = previous;
    return err;
}

uint32_t QV_Explode::Context() const {
    if (inHatchBorder != 0) return QV_ExplodeContext_HatchBorder;
    if (inHatchLines != 0) return QV_ExplodeContext_HatchLines;
    if (inArrow != 0) return QV_ExplodeContext_Arrow;
    if (inHoleDimLines != 0) return QV_ExplodeContext_HoleDimLines;
    return QV_ExplodeContext_None;
}

void QV_Explode::FollowReference(const API_Elem_Head& referenced) {
    for (const API_Guid& guid : running_)
        if (guid == referenced.guid) return;
    if (!running_.Insert(referenced.guid)) return;
    const uint32_t saved = elemType;
    elemType = uint32_t(referenced.typeID);
    ACAPI_Element_ShapePrims(referenced, PrimitiveCallback);
    elemType = saved;
    running_.Remove(running_.GetCount() - 1);
}

void QV_Explode::TakePolygon(const API_PrimPoly& prim, const API_PrimPolyParams* params, const API_Coord* coords) {
    QV_Explode_Poly r = Tagged<QV_Explode_Poly>(elemType, QV_ExplodeCode_Polygon, Context(), 1);
    r.prim = prim;
    r.hatch = hatch;
    r.firstCoord = polyCoords.GetCount();
    r.firstEnd = polyEnds.GetCount();
    r.firstArc = polyArcs.GetCount();
    // A polygon whose parts did not come along, or whose contour ends leave its points, is kept without them.
    bool whole = coords != nullptr && params != nullptr && params->pends != nullptr && prim.nCoords >= 0 &&
        prim.nSubPolys >= 0 && prim.nArcs >= 0 && (prim.nArcs == 0 || params->parcs != nullptr);
    for (int32_t c = 1; whole && c <= prim.nSubPolys; ++c)
        whole = params->pends[c] >= params->pends[c - 1] && params->pends[c] <= prim.nCoords;
    if (!whole) {
        r.prim.nCoords = r.prim.nSubPolys = r.prim.nArcs = 0;
        polygons.Insert(r);
        return;
    }
    if (!polygons.Insert(r)) return;
    for (int32_t i = 1; i <= prim.nCoords; ++i) polyCoords.Insert(coords[i]);
    for (int32_t c = 1; c <= prim.nSubPolys; ++c) polyEnds.Insert(params->pends[c]);
    for (int32_t a = 0; a < prim.nArcs; ++a) polyArcs.Insert(params->parcs[a]);
    if (polygonEdges != 0) SplitPolygonEdges(prim, params->pends, params->parcs, coords);
}

void QV_Explode::SplitPolygonEdges(const API_PrimPoly& prim, const int32_t* pends, const API_PolyArc* parcs,
                                   const API_Coord* coords) {
    for (int32_t c = 1; c <= prim.nSubPolys; ++c) {
        for (int32_t k = pends[c - 1] + 1; k < pends[c]; ++k) {
            const API_Coord& begin = coords[k];
            const API_Coord& end = coords[k + 1];
            const API_PolyArc* arc = nullptr;
            for (int32_t a = 0; a < prim.nArcs && arc == nullptr; ++a)
                if (parcs[a].begIndex == k) arc = &parcs[a];
            if (arc == nullptr) {
                QV_Explode_Line line = Tagged<QV_Explode_Line>(elemType, QV_ExplodeCode_Polygon, Context(), 0);
                line.prim.head = prim.head;
                line.prim.c1 = begin;
                line.prim.c2 = end;
                lines.Insert(line);
                continue;
            }
            QV_Explode_Arc rec = Tagged<QV_Explode_Arc>(elemType, QV_ExplodeCode_Polygon, Context(), 0);
            rec.prim.head = prim.head;
            rec.prim.ratio = 1.0;
            const double angle = arc->arcAngle;
            if (std::fabs(angle) < kArcTolerance) {
                // No turn to speak of: a degenerate arc on the edge's middle.
                rec.prim.orig = {(begin.x + end.x) / 2.0, (begin.y + end.y) / 2.0};
            } else {
                // The arc turns from begin to end by the signed angle, counter-clockwise positive: the same
                // construction as every other arc of an outline, so a split edge lies where its outline does.
                const QV_Arc turn = QV_Arc::FromEndPointsAndAngle(begin, end, angle);
                rec.prim.orig = turn.center;
                rec.prim.r = std::hypot(end.x - turn.center.x, end.y - turn.center.y);
                const double toBegin = QV_Arc::AngleOfPoint(turn, begin, kArcTolerance);
                const double toEnd = QV_Arc::AngleOfPoint(turn, end, kArcTolerance);
                // Records run counter-clockwise: a clockwise edge starts at its end vertex.
                rec.prim.begAng = angle > 0.0 ? toBegin : toEnd;
                rec.prim.endAng = angle > 0.0 ? toEnd : toBegin;
            }
            arcs.Insert(rec);
        }
    }
}

GSErrCode QV_Explode::PrimitiveCallback(const API_Primitive* primitive, const void* parameters, const char16_t* text,
                                        const API_Coord* coordinates) {
    if (g_target == nullptr || primitive == nullptr) return NoError;
    QV_Explode& x = *g_target;
    switch (primitive->head.typeID) {
        case API_PrimPointID:
            if (x.wantPoints != 0) {
                QV_Explode_Point r = Tagged<QV_Explode_Point>(x.elemType, QV_ExplodeCode_Point, x.Context(), 1);
                r.prim = primitive->point;
                x.points.Insert(r);
            }
            break;
        case API_PrimLineID:
            if (x.wantLines != 0) {
                QV_Explode_Line r = Tagged<QV_Explode_Line>(x.elemType, QV_ExplodeCode_Line, x.Context(), 1);
                r.prim = primitive->line;
                x.lines.Insert(r);
            }
            break;
        case API_PrimArcID:
            if (x.wantArcs != 0) {
                QV_Explode_Arc r = Tagged<QV_Explode_Arc>(x.elemType, QV_ExplodeCode_Arc, x.Context(), 1);
                r.prim = primitive->arc;
                if (r.prim.reflected != 0) std::swap(r.prim.begAng, r.prim.endAng);
                x.arcs.Insert(r);
            }
            break;
        case API_PrimTextID:
            if (x.wantTexts != 0) {
                QV_Explode_Text r = Tagged<QV_Explode_Text>(x.elemType, QV_ExplodeCode_Text, x.Context(), 1);
                r.prim = primitive->text;
                r.content.InitEmpty();
                if (text != nullptr) {
                    uint32_t n = 0;
                    while (text[n] != 0) ++n;
                    r.content = QV_String("");
                    r.content.AppendWide(reinterpret_cast<const GS::UniChar*>(text), n);
                } else {
                    r.content = QV_String("ERROR");
                }
                x.texts.Insert(r);
            }
            break;
        case API_PrimPLineID:
            if (x.wantPolylines != 0) {
                QV_Explode_PLine r = Tagged<QV_Explode_PLine>(x.elemType, QV_ExplodeCode_PolyLine, x.Context(), 1);
                r.prim = primitive->pline;
                r.firstCoord = x.plineCoords.GetCount();
                const int32_t n = coordinates != nullptr && primitive->pline.nCoords > 0 ? primitive->pline.nCoords : 0;
                for (int32_t i = 0; i < n; ++i)
                    if (x.plineCoords.Insert(coordinates[i])) ++r.coordCount;
                x.polylines.Insert(r);
            }
            break;
        case API_PrimTriID:
            if (x.wantTriangles != 0) {
                const API_PrimTri& tri = primitive->tri;
                for (int i = 0; i < 3; ++i) {
                    QV_Explode_Line r =
                        Tagged<QV_Explode_Line>(x.elemType, QV_ExplodeCode_TriangleEdge, x.Context(), 0);
                    r.prim.head = tri.head;
                    r.prim.c1 = tri.c[i];
                    r.prim.c2 = tri.c[(i + 1) % 3];
                    x.lines.Insert(r);
                }
            }
            break;
        case API_PrimPolyID:
            if (x.wantPolygons != 0)
                x.TakePolygon(primitive->poly, static_cast<const API_PrimPolyParams*>(parameters), coordinates);
            break;
        case API_PrimHatchBorderBegID:
            x.hatch = primitive->hatch;
            x.inHatchBorder = 1;
            break;
        case API_PrimHatchBorderEndID:
            std::memset(static_cast<void*>(&x.hatch), 0, sizeof x.hatch);
            x.inHatchBorder = 0;
            break;
        case API_PrimHatchLinesBegID: x.inHatchLines = 1; break;
        case API_PrimHatchLinesEndID: x.inHatchLines = 0; break;
        case API_PrimHoleDimLinesBegID: x.inHoleDimLines = 1; break;
        case API_PrimHoleDimLinesEndID: x.inHoleDimLines = 0; break;
        case API_PrimArrowBegID: x.inArrow = 1; break;
        case API_PrimArrowEndID: x.inArrow = 0; break;
        case API_PrimElemRefID: x.FollowReference(primitive->elemRef.elem); break;
        default: break;
    }
    return NoError;
}
