#include "drawing/ElementDrawing.hpp"

#include "library/LibraryStore.hpp"
#include "model3d/GroundBelow.hpp"
#include "model3d/PlanFeatures.hpp"
#include "project/ProjectDatabase.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const double kTwoPi = 2.0 * M_PI;
const double kArcTolerance = 1e-5;
// Hatch lines of one direction across a fill; the spacing grows for large fills.
const double kHatchSpacing = 0.5;
const int kMaxHatchLinesPerDirection = 200;

API_Prim_Head Head(API_PrimTypeID type, const API_Elem_Head* element, int16_t pen) {
    API_Prim_Head h = {};
    h.typeID = type;
    h.pen = pen;
    h.ltypeInd = 1;
    h.layer = element != nullptr ? element->layer : 1;
    h.drwIndex = element != nullptr ? element->drwIndex : 0;
    if (element != nullptr) h.elemGuid = element->guid;
    return h;
}

double AngleAbout(const API_Coord& c, const API_Coord& p) {
    double a = std::atan2(p.y - c.y, p.x - c.x);
    if (a < 0.0) a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

// The arc edge from `a` to `b` turning by `angle` (counter-clockwise positive).
DrawnPrim ArcEdge(const API_Elem_Head& element, int16_t pen, const API_Coord& a, const API_Coord& b, double angle) {
    API_Coord centre = {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    if (std::fabs(std::fabs(angle) - M_PI) >= kArcTolerance) {
        const double k = 1.0 / std::tan(angle / 2.0);
        centre = {((a.x + b.x) - (b.y - a.y) * k) / 2.0, ((a.y + b.y) + (b.x - a.x) * k) / 2.0};
    }
    DrawnPrim d = ArcPrim(centre, std::hypot(a.x - centre.x, a.y - centre.y), AngleAbout(centre, a),
                          AngleAbout(centre, b), angle < 0.0);
    d.prim.head = Head(API_PrimArcID, &element, pen);
    return d;
}

DrawnPrim LineEdge(const API_Elem_Head& element, int16_t pen, const API_Coord& a, const API_Coord& b) {
    DrawnPrim d = LinePrim(a, b);
    d.prim.head = Head(API_PrimLineID, &element, pen);
    return d;
}

// The polygon of a record and memo, checked: false when the counts and the memo disagree.
struct PolygonView {
    const std::vector<API_Coord>* coords = nullptr;
    const std::vector<int32_t>* pends = nullptr;
    const std::vector<API_PolyArc>* parcs = nullptr;
    int32_t nCoords = 0, nSubPolys = 0, nArcs = 0;
};
bool ReadPolygon(const StoredElement& e, PolygonView* v) {
    const API_Element record = e.record.Get();
    const API_Polygon* poly = APIPolygonOf(record);
    if (poly == nullptr || !e.memo->coords || !e.memo->pends) return false;
    v->coords = &*e.memo->coords;
    v->pends = &*e.memo->pends;
    v->parcs = e.memo->parcs ? &*e.memo->parcs : nullptr;
    v->nCoords = poly->nCoords;
    v->nSubPolys = poly->nSubPolys;
    v->nArcs = v->parcs != nullptr ? std::min(poly->nArcs, int32_t(v->parcs->size())) : 0;
    if (v->nCoords < 1 || v->nSubPolys < 1 || size_t(v->nCoords) >= v->coords->size() ||
        size_t(v->nSubPolys) >= v->pends->size())
        return false;
    for (int32_t c = 1; c <= v->nSubPolys; ++c)
        if ((*v->pends)[size_t(c)] < (*v->pends)[size_t(c - 1)] || (*v->pends)[size_t(c)] > v->nCoords) return false;
    return true;
}

const API_PolyArc* ArcAt(const PolygonView& v, int32_t begIndex) {
    for (int32_t i = 0; i < v.nArcs; ++i)
        if ((*v.parcs)[size_t(i)].begIndex == begIndex) return &(*v.parcs)[size_t(i)];
    return nullptr;
}

// Every contour edge: a line, or an arc where an arc record starts.
void DrawContours(const StoredElement& e, const PolygonView& v, int16_t pen, std::vector<DrawnPrim>* out) {
    for (int32_t c = 1; c <= v.nSubPolys; ++c) {
        const int32_t first = (*v.pends)[size_t(c - 1)] + 1, last = (*v.pends)[size_t(c)];
        for (int32_t k = first; k < last && k + 1 <= v.nCoords; ++k) {
            const API_Coord& a = (*v.coords)[size_t(k)];
            const API_Coord& b = (*v.coords)[size_t(k + 1)];
            const API_PolyArc* arc = ArcAt(v, k);
            if (arc != nullptr && std::fabs(arc->arcAngle) >= kArcTolerance)
                out->push_back(ArcEdge(e.record.header, pen, a, b, arc->arcAngle));
            else
                out->push_back(LineEdge(e.record.header, pen, a, b));
        }
    }
}

// The contour as chords (arcs cut into short pieces), for the hatch lines.
std::vector<std::pair<API_Coord, API_Coord>> Chords(const PolygonView& v) {
    std::vector<std::pair<API_Coord, API_Coord>> chords;
    for (int32_t c = 1; c <= v.nSubPolys; ++c) {
        const int32_t first = (*v.pends)[size_t(c - 1)] + 1, last = (*v.pends)[size_t(c)];
        for (int32_t k = first; k < last && k + 1 <= v.nCoords; ++k) {
            const API_Coord a = (*v.coords)[size_t(k)], b = (*v.coords)[size_t(k + 1)];
            const API_PolyArc* arc = ArcAt(v, k);
            if (arc == nullptr || std::fabs(arc->arcAngle) < kArcTolerance) {
                chords.push_back({a, b});
                continue;
            }
            const DrawnPrim d = ArcEdge({}, 1, a, b, arc->arcAngle);
            const int n = std::max(2, int(std::ceil(std::fabs(arc->arcAngle) / (M_PI / 32.0))));
            const double start = AngleAbout(d.prim.arc.orig, a);
            API_Coord p = a;
            for (int i = 1; i <= n; ++i) {
                const double t = start + arc->arcAngle * double(i) / double(n);
                const API_Coord q = i == n ? b
                                           : API_Coord{d.prim.arc.orig.x + d.prim.arc.r * std::cos(t),
                                                       d.prim.arc.orig.y + d.prim.arc.r * std::sin(t)};
                chords.push_back({p, q});
                p = q;
            }
        }
    }
    return chords;
}

// Parallel lines at `angle` across the contours, inside them by the even-odd rule.
void HatchLines(const StoredElement& e, const PolygonView& v, double spacing, double angle,
                std::vector<DrawnPrim>* out) {
    const auto chords = Chords(v);
    if (chords.empty()) return;
    const API_Coord d = {std::cos(angle), std::sin(angle)}, n = {-std::sin(angle), std::cos(angle)};
    double lo = 1e300, hi = -1e300;
    for (const auto& c : chords)
        for (const API_Coord& p : {c.first, c.second}) {
            lo = std::min(lo, n.x * p.x + n.y * p.y);
            hi = std::max(hi, n.x * p.x + n.y * p.y);
        }
    for (double o = std::floor(lo / spacing) * spacing + spacing; o < hi; o += spacing) {
        std::vector<double> along;
        for (const auto& c : chords) {
            const double sa = n.x * c.first.x + n.y * c.first.y - o, sb = n.x * c.second.x + n.y * c.second.y - o;
            // Half-open: a vertex on the line counts for one of its two edges only.
            if ((sa > 0.0) == (sb > 0.0)) continue;
            const double t = sa / (sa - sb);
            const API_Coord p = {c.first.x + t * (c.second.x - c.first.x), c.first.y + t * (c.second.y - c.first.y)};
            along.push_back(d.x * p.x + d.y * p.y);
        }
        std::sort(along.begin(), along.end());
        for (size_t i = 0; i + 1 < along.size(); i += 2) {
            if (along[i + 1] - along[i] <= 0.0) continue;
            const API_Coord a = {o * n.x + along[i] * d.x, o * n.y + along[i] * d.y};
            const API_Coord b = {o * n.x + along[i + 1] * d.x, o * n.y + along[i + 1] * d.y};
            out->push_back(LineEdge(e.record.header, e.record.Get().hatch.fillPen, a, b));
        }
    }
}

bool PatternedFill(const ProjectDatabase& db, int32_t fillInd) {
    const API_Attribute* fill = db.Attribute(API_FilltypeID, fillInd);
    if (fill == nullptr) return false;
    bool empty = true, solid = true;
    for (uint8_t b : fill->filltype.bitPat) {
        empty = empty && b == 0;
        solid = solid && b == 0xFF;
    }
    return !empty && !solid;
}

void DrawFill(const ProjectDatabase& db, const StoredElement& e, std::vector<DrawnPrim>* out) {
    PolygonView v;
    if (!ReadPolygon(e, &v)) return;
    const API_HatchType h = e.record.Get().hatch;
    DrawnPrim border;
    API_PrimHatch& rec = border.prim.hatch;
    rec.head = Head(API_PrimHatchBorderBegID, &e.record.header, h.contPen);
    rec.fillGuid = e.record.header.guid;
    rec.fillInd = h.fillInd;
    rec.fillPen = h.fillPen;
    rec.fillBGPen = h.fillBGPen;
    rec.contPen = h.contPen;
    rec.contLtype = h.contLtype;
    rec.hatchValue = h.hatchValue;
    rec.nCoords = v.nCoords;
    rec.nSubPolys = v.nSubPolys;
    rec.nArcs = v.nArcs;
    rec.box = {1e300, 1e300, -1e300, -1e300};
    for (int32_t i = 1; i <= v.nCoords; ++i) {
        const API_Coord& p = (*v.coords)[size_t(i)];
        rec.box = {std::min(rec.box.xMin, p.x), std::min(rec.box.yMin, p.y), std::max(rec.box.xMax, p.x),
                   std::max(rec.box.yMax, p.y)};
    }
    double area = 0.0;
    for (const auto& c : Chords(v)) area += c.first.x * c.second.y - c.second.x * c.first.y;
    rec.area = std::fabs(area) / 2.0;
    const bool patterned = PatternedFill(db, h.fillInd);
    if (patterned) {
        const double extent = std::max(rec.box.xMax - rec.box.xMin, rec.box.yMax - rec.box.yMin) * std::sqrt(2.0);
        rec.hatchSpacing = std::max(kHatchSpacing, extent / kMaxHatchLinesPerDirection);
        rec.hatchAngle = M_PI / 4.0;
    }
    out->push_back(border);

    DrawnPrim poly;
    poly.prim.poly.head = Head(API_PrimPolyID, &e.record.header, h.fillPen);
    poly.prim.poly.nCoords = v.nCoords;
    poly.prim.poly.nSubPolys = v.nSubPolys;
    poly.prim.poly.nArcs = v.nArcs;
    poly.prim.poly.fillInd = h.fillInd;
    poly.prim.poly.fillPen = h.fillPen;
    poly.coords.assign(v.coords->begin(), v.coords->begin() + v.nCoords + 1);
    poly.pends.assign(v.pends->begin(), v.pends->begin() + v.nSubPolys + 1);
    if (v.parcs != nullptr) poly.parcs.assign(v.parcs->begin(), v.parcs->begin() + v.nArcs);
    out->push_back(poly);
    DrawContours(e, v, h.contPen, out);
    out->push_back(MarkerPrim(API_PrimHatchBorderEndID));
    out->back().prim.head = Head(API_PrimHatchBorderEndID, &e.record.header, h.contPen);

    if (!patterned) return;
    out->push_back(MarkerPrim(API_PrimHatchLinesBegID));
    out->back().prim.head = Head(API_PrimHatchLinesBegID, &e.record.header, h.fillPen);
    HatchLines(e, v, rec.hatchSpacing, M_PI / 4.0, out);
    HatchLines(e, v, rec.hatchSpacing, 3.0 * M_PI / 4.0, out);
    out->push_back(MarkerPrim(API_PrimHatchLinesEndID));
    out->back().prim.head = Head(API_PrimHatchLinesEndID, &e.record.header, h.fillPen);
}

// A polyline: straight runs as polylines, arc edges as arcs.
void DrawPolyLine(const StoredElement& e, std::vector<DrawnPrim>* out) {
    PolygonView v;
    if (!ReadPolygon(e, &v)) return;
    const int16_t pen = e.record.Get().polyLine.pen;
    for (int32_t c = 1; c <= v.nSubPolys; ++c) {
        const int32_t first = (*v.pends)[size_t(c - 1)] + 1, last = std::min((*v.pends)[size_t(c)], v.nCoords);
        DrawnPrim run;
        const auto flush = [&] {
            if (run.coords.size() >= 2) {
                run.prim.pline.head = Head(API_PrimPLineID, &e.record.header, pen);
                run.prim.pline.nCoords = int32_t(run.coords.size());
                out->push_back(run);
            }
            run = DrawnPrim();
        };
        for (int32_t k = first; k < last; ++k) {
            const API_Coord& a = (*v.coords)[size_t(k)];
            const API_Coord& b = (*v.coords)[size_t(k + 1)];
            const API_PolyArc* arc = ArcAt(v, k);
            if (arc != nullptr && std::fabs(arc->arcAngle) >= kArcTolerance) {
                flush();
                out->push_back(ArcEdge(e.record.header, pen, a, b, arc->arcAngle));
                continue;
            }
            if (run.coords.empty()) run.coords.push_back(a);
            run.coords.push_back(b);
        }
        flush();
    }
}

void DrawObject(const StoredElement& e, std::vector<DrawnPrim>* out) {
    const API_ObjectType o = e.record.Get().object;
    DrawnPrim hotspot = PointPrim(o.pos);
    hotspot.prim.head = Head(API_PrimPointID, &e.record.header, o.pen);
    out->push_back(hotspot);
    const double c = std::cos(o.angle), s = std::sin(o.angle);
    const auto corner = [&](double x, double y) { return API_Coord{o.pos.x + c * x - s * y, o.pos.y + s * x + c * y}; };
    const API_Coord box[4] = {corner(0, 0), corner(o.xRatio, 0), corner(o.xRatio, o.yRatio), corner(0, o.yRatio)};
    for (int i = 0; i < 4; ++i) out->push_back(LineEdge(e.record.header, o.pen, box[i], box[(i + 1) % 4]));
}

// An object whose library part outlines the ground below a level (its `plan below` items) draws those outlines
// alone: one polygon per region, its outer contour then its holes, each closed by repeating its first point.
// False when its part has no such item.
bool DrawGroundBelow(const ProjectDatabase& db, const LibraryStore* libraries, const StoredElement& e,
                     std::vector<DrawnPrim>* out) {
    const LibPartDef* part = libraries != nullptr ? libraries->Part(e.record.Get().object.libInd) : nullptr;
    if (part == nullptr) return false;
    std::vector<LibPlanItem> items;
    for (const LibPlanItem& item : part->plan)
        if (item.kind == LibPlanItem::Kind::Below) items.push_back(item);
    if (items.empty()) return false;
    std::vector<std::string> faults;  // a level that is not a number outlines nothing
    for (const GroundBelowRequest& r : ReadObjectPlan(e, items, &faults).groundBelow)
        for (const GroundRegion& region : GroundBelow(db, e.database, r.box, r.level)) {
            DrawnPrim d;
            d.prim.poly.head.typeID = API_PrimPolyID;
            d.prim.poly.head.elemGuid = e.record.header.guid;
            d.prim.poly.head.layer = e.record.header.layer;
            d.prim.poly.head.pen = e.record.Get().object.pen;
            d.coords.push_back(API_Coord{0, 0});  // the host counts points from 1
            d.pends.push_back(0);
            for (const PlanRing& ring : region.contours) {
                for (const ModelPoint& p : ring.points) d.coords.push_back(API_Coord{p.x, p.y});
                d.coords.push_back(d.coords[size_t(d.pends.back()) + 1]);
                d.pends.push_back(int32_t(d.coords.size()) - 1);
            }
            d.prim.poly.nCoords = int32_t(d.coords.size()) - 1;
            d.prim.poly.nSubPolys = int32_t(d.pends.size()) - 1;
            out->push_back(d);
        }
    return true;
}

}  // namespace

DrawnPrim PointPrim(const API_Coord& loc) {
    DrawnPrim d;
    d.prim.point.head = Head(API_PrimPointID, nullptr, 1);
    d.prim.point.loc = loc;
    return d;
}

DrawnPrim LinePrim(const API_Coord& c1, const API_Coord& c2) {
    DrawnPrim d;
    d.prim.line.head = Head(API_PrimLineID, nullptr, 1);
    d.prim.line.c1 = c1;
    d.prim.line.c2 = c2;
    return d;
}

DrawnPrim ArcPrim(const API_Coord& orig, double r, double begAng, double endAng, bool reflected) {
    DrawnPrim d;
    d.prim.arc.head = Head(API_PrimArcID, nullptr, 1);
    d.prim.arc.orig = orig;
    d.prim.arc.r = r;
    d.prim.arc.begAng = begAng;
    d.prim.arc.endAng = endAng;
    d.prim.arc.reflected = reflected ? 1 : 0;
    d.prim.arc.ratio = 1.0;
    return d;
}

DrawnPrim ElemRefPrim(const API_Elem_Head& referenced) {
    DrawnPrim d;
    d.prim.elemRef.head = Head(API_PrimElemRefID, nullptr, 1);
    d.prim.elemRef.elem = referenced;
    return d;
}

DrawnPrim MarkerPrim(API_PrimTypeID typeID) {
    DrawnPrim d;
    d.prim.head = Head(typeID, nullptr, 1);
    return d;
}

std::vector<DrawnPrim> DrawElement(const ProjectDatabase& db, const GivenDrawings& given, const LibraryStore* libraries,
                                   const StoredElement& e) {
    const API_Elem_Head& head = e.record.header;
    if (const std::vector<DrawnPrim>* own = given.Find(head.guid)) {
        std::vector<DrawnPrim> prims = *own;
        for (DrawnPrim& p : prims) p.prim.head.elemGuid = head.guid;
        return prims;
    }
    std::vector<DrawnPrim> out;
    const API_Element r = e.record.Get();
    switch (head.typeID) {
        case API_LineID: out.push_back(LineEdge(head, r.line.pen, r.line.begC, r.line.endC)); break;
        case API_ArcID:
        case API_CircleID: {
            const bool whole = head.typeID == API_CircleID || r.arc.whole != 0;
            DrawnPrim d =
                ArcPrim(r.arc.origC, r.arc.r, whole ? 0.0 : r.arc.begAng, whole ? kTwoPi : r.arc.endAng, false);
            d.prim.arc.head = Head(API_PrimArcID, &head, r.arc.pen);
            d.prim.arc.whole = whole ? 1 : 0;
            d.prim.arc.ratio = r.arc.ratio != 0.0 ? r.arc.ratio : 1.0;
            d.prim.arc.mainAxisDir = r.arc.mainAxisDir;
            out.push_back(d);
            break;
        }
        case API_HotspotID: {
            DrawnPrim d = PointPrim(r.hotspot.pos);
            d.prim.head = Head(API_PrimPointID, &head, r.hotspot.pen);
            out.push_back(d);
            break;
        }
        case API_TextID: {
            DrawnPrim d;
            d.prim.text.head = Head(API_PrimTextID, &head, r.text.pen);
            d.prim.text.loc = r.text.loc;
            d.prim.text.size = r.text.size;
            d.prim.text.angle = r.text.angle;
            d.prim.text.font = r.text.font;
            if (e.memo->textContent) {
                d.text = GS::UniString(*e.memo->textContent).ToU16String();
                d.hasText = true;
            }
            d.prim.text.nChars = int32_t(d.text.size());
            out.push_back(d);
            break;
        }
        case API_PolyLineID: DrawPolyLine(e, &out); break;
        case API_HatchID: DrawFill(db, e, &out); break;
        case API_SlabID:
        case API_RoofID:
        case API_MeshID:
        case API_ZoneID: {
            PolygonView v;
            if (ReadPolygon(e, &v)) DrawContours(e, v, 1, &out);
            break;
        }
        case API_ObjectID:
        case API_LampID:
            if (!DrawGroundBelow(db, libraries, e, &out)) DrawObject(e, &out);
            break;
        default: break;
    }
    return out;
}
