#include "model3d/ElementModels.hpp"

#include "APIElements.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kArcStep = 3.14159265358979323846 / 18.0;  // an arc becomes chords of at most 10 degrees

const API_Polygon* PolygonOf(const API_Element& r) {
    switch (r.header.typeID) {
        case API_MeshID: return &r.mesh.poly;
        case API_SlabID: return &r.slab.poly;
        case API_HatchID: return &r.hatch.poly;  // drawn in the plan picture
        case API_PolyLineID: return &r.polyLine.poly;
        default: return nullptr;
    }
}

// The chord points strictly between a and b of the arc turning by `angle` (counter-clockwise positive); heights
// go linearly along it.
void ArcPoints(const ModelPoint& a, const ModelPoint& b, double angle, std::vector<ModelPoint>* out) {
    const double c = std::hypot(b.x - a.x, b.y - a.y);
    if (c == 0.0 || angle == 0.0 || std::abs(angle) >= 2.0 * 3.14159265358979323846) return;
    const int n = std::max(1, int(std::ceil(std::abs(angle) / kArcStep)));
    const double h = (c / 2.0) / std::tan(angle / 2.0);  // from the chord's middle to the centre, to the left
    const double ux = (b.x - a.x) / c, uy = (b.y - a.y) / c;
    const double cx = (a.x + b.x) / 2.0 - uy * h, cy = (a.y + b.y) / 2.0 + ux * h;
    const double r = std::hypot(a.x - cx, a.y - cy);
    const double start = std::atan2(a.y - cy, a.x - cx);
    for (int i = 1; i < n; ++i) {
        const double t = double(i) / n;
        out->push_back(
            {cx + r * std::cos(start + angle * t), cy + r * std::sin(start + angle * t), a.z + (b.z - a.z) * t});
    }
}

}  // namespace

namespace {
// The polygon's contours in order, arcs cut into chords: closed ones without their closing repeat, open ones
// (a polyline's) with every vertex.
bool ElementContours(const StoredElement& element, double base, bool open, std::vector<PlanRing>* rings,
                     std::string* why) {
    rings->clear();
    const API_Element record = element.record.Get();
    const API_Polygon* poly = PolygonOf(record);
    const StoredMemo& memo = element.memo;
    if (poly == nullptr || !memo.coords || !memo.pends) {
        *why = "the element has no polygon";
        return false;
    }
    const std::vector<API_Coord>& c = *memo.coords;
    const std::vector<int32_t>& pends = *memo.pends;
    const bool mesh = element.record.header.typeID == API_MeshID;
    if (poly->nSubPolys < 1 || int32_t(pends.size()) < poly->nSubPolys + 1 || int32_t(c.size()) < poly->nCoords + 1 ||
        pends[size_t(poly->nSubPolys)] > poly->nCoords) {
        *why = "the polygon's contours do not match its coordinates";
        return false;
    }
    const auto zOf = [&](int32_t i) {
        return base +
            (mesh && memo.meshPolyZ && size_t(i) < memo.meshPolyZ->size() ? (*memo.meshPolyZ)[size_t(i)] : 0.0);
    };
    const auto arcFrom = [&](int32_t i) -> const API_PolyArc* {
        if (!memo.parcs) return nullptr;
        for (int32_t k = 0; k < poly->nArcs && size_t(k) < memo.parcs->size(); ++k)
            if ((*memo.parcs)[size_t(k)].begIndex == i) return &(*memo.parcs)[size_t(k)];
        return nullptr;
    };
    if (!std::isfinite(base)) {
        *why = "the element's level is not a number";
        return false;
    }
    for (int32_t i = 1; i <= poly->nCoords; ++i)
        if (!std::isfinite(c[size_t(i)].x) || !std::isfinite(c[size_t(i)].y) || !std::isfinite(zOf(i))) {
            *why = "coordinate " + std::to_string(i) + " is not a number";
            return false;
        }
    for (int32_t s = 1; s <= poly->nSubPolys; ++s) {
        const int32_t first = pends[size_t(s - 1)] + 1, last = pends[size_t(s)];
        if (first < 1 || last < first || last > poly->nCoords) {
            *why = "contour " + std::to_string(s) + " has no coordinates";
            return false;
        }
        PlanRing ring;
        // A closed contour's last coordinate repeats its first; an open one ends there.
        for (int32_t i = first; i < last; ++i) {
            const ModelPoint p = {c[size_t(i)].x, c[size_t(i)].y, zOf(i)};
            ring.points.push_back(p);
            const API_PolyArc* arc = arcFrom(i);
            if (arc != nullptr && arc->endIndex == i + 1) {
                const ModelPoint q = {c[size_t(i + 1)].x, c[size_t(i + 1)].y, zOf(i + 1)};
                ArcPoints(p, q, arc->arcAngle, &ring.points);
            }
        }
        if (open) ring.points.push_back({c[size_t(last)].x, c[size_t(last)].y, zOf(last)});
        if (ring.points.size() >= (open ? 2u : 3u)) rings->push_back(std::move(ring));
    }
    if (rings->empty()) {
        *why = open ? "the polyline has no part of two points" : "the polygon has no contour of three points";
        return false;
    }
    return true;
}
}  // namespace

bool ElementRings(const StoredElement& element, double base, std::vector<PlanRing>* rings, std::string* why) {
    return ElementContours(element, base, false, rings, why);
}

bool ElementLines(const StoredElement& element, double base, std::vector<PlanRing>* lines, std::string* why) {
    return ElementContours(element, base, true, lines, why);
}

bool BuildMeshSurface(const StoredElement& mesh, double storyLevel, MeshSurfaceModel* out, std::string* why) {
    const API_MeshType r = mesh.record.Get().mesh;
    const double base = storyLevel + r.level;
    std::vector<PlanRing> outline;
    if (!ElementRings(mesh, base, &outline, why)) return false;
    std::vector<ModelPoint> levelPoints;
    std::vector<std::vector<ModelPoint>> levelLines;
    if (mesh.memo->meshLevelCoords) {
        const std::vector<API_MeshLevelCoord>& lc = *mesh.memo->meshLevelCoords;
        const int32_t n = std::min(r.levelLines.nCoords, int32_t(lc.size()));
        std::vector<int32_t> ends;
        if (mesh.memo->meshLevelEnds) ends = *mesh.memo->meshLevelEnds;
        ends.resize(std::min(ends.size(), size_t(std::max(r.levelLines.nSubLines, 0))));
        int32_t from = 0;
        for (int32_t i = 0; i < n; ++i)
            if (!std::isfinite(lc[size_t(i)].c.x) || !std::isfinite(lc[size_t(i)].c.y) ||
                !std::isfinite(lc[size_t(i)].c.z)) {
                *why = "level point " + std::to_string(i + 1) + " is not a number";
                return false;
            }
        const auto take = [&](int32_t a, int32_t b) {
            if (b - a == 1) {  // a point alone, the common case: no line made for it
                levelPoints.push_back({lc[size_t(a)].c.x, lc[size_t(a)].c.y, base + lc[size_t(a)].c.z});
                return;
            }
            std::vector<ModelPoint> line;
            for (int32_t i = a; i < b; ++i)
                line.push_back({lc[size_t(i)].c.x, lc[size_t(i)].c.y, base + lc[size_t(i)].c.z});
            if (line.size() == 1)
                levelPoints.push_back(line[0]);
            else if (line.size() > 1)
                levelLines.push_back(std::move(line));
        };
        for (int32_t e : ends) {
            const int32_t to = std::clamp(e, from, n);
            take(from, to);
            from = to;
        }
        // Points behind the last line end stand alone.
        levelPoints.reserve(levelPoints.size() + size_t(std::max(n - from, 0)));
        for (int32_t i = from; i < n; ++i) take(i, i + 1);
    }
    if (!TriangulateMeshSurface(outline, levelPoints, levelLines, &out->surface, why)) return false;
    double zMin, zMax;
    out->surface.ZRange(&zMin, &zMax);
    // The skirt reaches its depth below the mesh's level, and never stops above the surface's lowest point.
    out->floorZ = std::min(base - std::max(r.skirtLevel, 0.0), zMin);
    out->zMax = zMax;
    out->index.reset(new SurfaceIndex(out->surface));
    return true;
}

bool BuildSolidBody(const Surface& surface, double floorZ, ModelBody* body, std::string* why) {
    BodyBuilder b;
    const int32_t n = int32_t(surface.points.size());
    for (const ModelPoint& p : surface.points) b.AddVertex(p);
    for (const auto& t : surface.triangles) b.AddTriangle(t[0] + 1, t[1] + 1, t[2] + 1);
    // Border sides: a side of one triangle that no other triangle runs the other way.
    std::vector<std::pair<int32_t, int32_t>> sides;  // (low, high) of side k of triangle t at [3 t + k]
    sides.reserve(surface.triangles.size() * 3);
    for (const auto& t : surface.triangles)
        for (int k = 0; k < 3; ++k) {
            const int32_t u = t[size_t(k)], v = t[size_t((k + 1) % 3)];
            sides.push_back({std::min(u, v), std::max(u, v)});
        }
    std::vector<int32_t> groupOf;
    std::vector<int32_t> uses(GroupEqualSides(sides, &groupOf), 0);
    for (int32_t g : groupOf) ++uses[size_t(g)];
    std::vector<std::pair<int32_t, int32_t>> border;  // from, to (the surface on the left)
    for (size_t i = 0; i < sides.size(); ++i)
        if (uses[size_t(groupOf[i])] == 1) {
            const int32_t from = surface.triangles[i / 3][i % 3];
            border.push_back({from, from == sides[i].first ? sides[i].second : sides[i].first});
        }
    // Floor vertices under the border points, in the order of the points.
    std::vector<int32_t> floorOf(size_t(n), 0);
    std::vector<int32_t> borderPoints;
    for (const auto& e : border) {
        floorOf[size_t(e.first)] = 1;
        floorOf[size_t(e.second)] = 1;
    }
    for (int32_t i = 0; i < n; ++i)
        if (floorOf[size_t(i)] != 0) {
            floorOf[size_t(i)] = b.AddVertex({surface.points[size_t(i)].x, surface.points[size_t(i)].y, floorZ});
            borderPoints.push_back(i);
        }
    std::sort(border.begin(), border.end());
    for (const auto& e : border)
        b.AddPolygon({e.first + 1, floorOf[size_t(e.first)], floorOf[size_t(e.second)], e.second + 1});
    // The floor: the border's rings, triangulated, seen from below.
    std::vector<PlanRing> rings;
    std::vector<std::vector<int32_t>> ids;
    {
        std::vector<std::vector<size_t>> outgoing(static_cast<size_t>(n));
        for (size_t k = 0; k < border.size(); ++k) outgoing[size_t(border[k].first)].push_back(k);
        std::vector<bool> used(border.size(), false);
        for (size_t s = 0; s < border.size(); ++s) {
            if (used[s]) continue;
            PlanRing ring;
            std::vector<int32_t> ringIds;
            size_t k = s;
            while (!used[k]) {
                used[k] = true;
                const int32_t v = border[k].first;
                ring.points.push_back(surface.points[size_t(v)]);
                ringIds.push_back(floorOf[size_t(v)]);
                size_t next = k;
                for (size_t cand : outgoing[size_t(border[k].second)])
                    if (!used[cand]) {
                        next = cand;
                        break;
                    }
                k = next;
            }
            if (ring.points.size() >= 3) {
                rings.push_back(std::move(ring));
                ids.push_back(std::move(ringIds));
            }
        }
    }
    std::vector<std::array<int32_t, 3>> floor;
    if (!TriangulateRegion(rings, ids, &floor, why)) return false;
    for (const auto& t : floor) b.AddTriangle(t[0], t[2], t[1]);
    *body = b.Finish();
    return true;
}

bool BuildSlabBody(const StoredElement& slab, double storyLevel, ModelBody* body, std::vector<PlanRing>* footprint,
                   std::string* why) {
    const double top = storyLevel + slab.record.Get().slab.level;
    const double bottom = top - std::abs(slab.record.Get().slab.thickness);
    if (!std::isfinite(bottom)) {
        *why = "the slab's level or thickness is not a number";
        return false;
    }
    if (!ElementRings(slab, top, footprint, why)) return false;
    // The first ring counter-clockwise, the holes clockwise: the solid is left of every side.
    for (size_t r = 0; r < footprint->size(); ++r)
        if ((SignedArea((*footprint)[r]) > 0.0) != (r == 0))
            std::reverse((*footprint)[r].points.begin(), (*footprint)[r].points.end());
    BodyBuilder b;
    std::vector<std::vector<int32_t>> topIds, bottomIds;
    for (const PlanRing& ring : *footprint) {
        topIds.emplace_back();
        for (const ModelPoint& p : ring.points) topIds.back().push_back(b.AddVertex({p.x, p.y, top}));
    }
    for (const PlanRing& ring : *footprint) {
        bottomIds.emplace_back();
        for (const ModelPoint& p : ring.points) bottomIds.back().push_back(b.AddVertex({p.x, p.y, bottom}));
    }
    std::vector<std::array<int32_t, 3>> faces;
    if (!TriangulateRegion(*footprint, topIds, &faces, why)) return false;
    for (const auto& t : faces) b.AddTriangle(t[0], t[1], t[2]);
    const int32_t shift = bottomIds[0][0] - topIds[0][0];
    for (const auto& t : faces) b.AddTriangle(t[0] + shift, t[2] + shift, t[1] + shift);
    if (bottom != top)
        for (size_t r = 0; r < footprint->size(); ++r) {
            const size_t m = topIds[r].size();
            for (size_t k = 0; k < m; ++k)
                b.AddPolygon({topIds[r][k], bottomIds[r][k], bottomIds[r][(k + 1) % m], topIds[r][(k + 1) % m]});
        }
    *body = b.Finish();
    return true;
}

void PlaceGivenBodies(const StoredElement& object, double storyLevel, Model3D* model) {
    const API_ObjectType o = object.record.Get().object;
    const double ca = std::cos(o.angle), sa = std::sin(o.angle);
    for (const StoredBody& given : object.bodies) {
        // Bodies are checked when they are given (GiveBodies).
        BodyBuilder b;
        for (const API_Coord3D& v : given.vertices)
            b.AddVertex({o.pos.x + v.x * ca - v.y * sa, o.pos.y + v.x * sa + v.y * ca, storyLevel + o.level + v.z});
        for (const std::vector<int32_t>& ring : given.polygons) b.AddPolygon(ring);
        model->bodies.push_back(b.Finish());
    }
}
