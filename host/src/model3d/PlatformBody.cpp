#include "model3d/PlatformBody.hpp"

#include "model3d/PlanTriangulation.hpp"
#include "model3d/SideSlopes.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>

#include <array>
#include <cmath>

bool BuildPlatformBody(const PlatformPlane& platform, double tangent, bool cut, double reach,
                       const GroundExtreme& ground, const std::vector<std::vector<ModelPoint>>& obstacles,
                       ModelBody* body, std::string* why) {
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    CGAL::Polygon_2<K> polygon;
    for (const ModelPoint& p : platform.outline) {
        const K::Point_2 q(p.x, p.y);
        if (polygon.is_empty() || (q != polygon.container().back() && q != polygon.container().front()))
            polygon.push_back(q);
    }
    if (polygon.size() < 3 || !polygon.is_simple() || polygon.area() == 0) {
        *why = "the outline is no simple polygon";
        return false;
    }
    if (polygon.orientation() != CGAL::COUNTERCLOCKWISE) polygon.reverse_orientation();
    PlanRing ring;
    for (const K::Point_2& p : polygon.container()) ring.points.push_back({p.x(), p.y(), platform.At(p.x(), p.y())});
    std::vector<int32_t> ids(ring.points.size());
    for (size_t k = 0; k < ids.size(); ++k) ids[k] = int32_t(k);
    std::vector<std::array<int32_t, 3>> triangles;
    if (!TriangulateRegion({ring}, {ids}, &triangles, why)) return false;
    std::vector<PlanePiece> pieces;
    for (const std::array<int32_t, 3>& t : triangles) {
        PlanePiece piece;
        piece.a = platform.gx, piece.b = platform.gy;
        piece.c = platform.level - platform.gx * platform.x0 - platform.gy * platform.y0;
        for (const int32_t k : t) piece.region.push_back({ring.points[size_t(k)].x, ring.points[size_t(k)].y});
        pieces.push_back(std::move(piece));
    }
    SlopeSide side;
    side.line = ring.points;
    side.closed = true;
    side.left = false;  // counter-clockwise: the outside lies on the right
    side.tangent = tangent;
    if (!SlopePieces(side, cut, reach, ground, obstacles, &pieces, why)) {
        *why = "the slopes of the outline cannot be built: " + *why;
        return false;
    }
    return BuildEnvelopeBody(pieces, cut, 1.0, body, why);
}
