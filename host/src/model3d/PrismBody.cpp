#include "model3d/PrismBody.hpp"

#include "model3d/PlanTriangulation.hpp"

#include <algorithm>
#include <array>

bool PrismBody(std::vector<PlanRing> rings, double low, double high, ModelBody* out, std::string* why) {
    // A ring inside an odd number of the others bounds a hole: clockwise, the others counter-clockwise.
    for (size_t r = 0; r < rings.size(); ++r) {
        int depth = 0;
        for (size_t q = 0; q < rings.size(); ++q)
            if (q != r && InsideRings({rings[q]}, rings[r].points[0].x, rings[r].points[0].y)) ++depth;
        if ((SignedArea(rings[r]) > 0.0) != (depth % 2 == 0))
            std::reverse(rings[r].points.begin(), rings[r].points.end());
    }
    BodyBuilder b;
    std::vector<std::vector<int32_t>> top, bottom;
    for (const PlanRing& ring : rings) {
        top.emplace_back();
        for (const ModelPoint& p : ring.points) top.back().push_back(b.AddVertex({p.x, p.y, high}));
    }
    for (const PlanRing& ring : rings) {
        bottom.emplace_back();
        for (const ModelPoint& p : ring.points) bottom.back().push_back(b.AddVertex({p.x, p.y, low}));
    }
    std::vector<std::array<int32_t, 3>> faces;
    if (!TriangulateRegion(rings, top, &faces, why)) return false;
    const int32_t shift = bottom[0][0] - top[0][0];
    for (const auto& t : faces) {
        b.AddTriangle(t[0], t[1], t[2]);
        b.AddTriangle(t[0] + shift, t[2] + shift, t[1] + shift);
    }
    for (size_t r = 0; r < rings.size(); ++r) {
        const size_t m = top[r].size();
        for (size_t k = 0; k < m; ++k)
            b.AddPolygon({top[r][k], bottom[r][k], bottom[r][(k + 1) % m], top[r][(k + 1) % m]});
    }
    *out = b.Finish();
    return true;
}
