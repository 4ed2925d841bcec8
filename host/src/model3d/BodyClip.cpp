#include "model3d/BodyClip.hpp"

#include "model3d/ExactSolid.hpp"
#include "model3d/PrismBody.hpp"
#include "model3d/SolidBooleans.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {
using Plan = CGAL::Exact_predicates_inexact_constructions_kernel;

// The ring without the points where it runs straight on (exactly, so the region is the same): a terrain's
// outline has a point per grid cell along each side, and the cutting prism would carry a wall for each.
PlanRing Straightened(const PlanRing& ring) {
    const auto at = [](const ModelPoint& p) { return Plan::Point_2(p.x, p.y); };
    for (const ModelPoint& p : ring.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return ring;
    std::vector<ModelPoint> kept;
    const auto straightOn = [&](const ModelPoint& a, const ModelPoint& b, const ModelPoint& c) {
        return CGAL::collinear(at(a), at(b), at(c)) &&
            CGAL::collinear_are_strictly_ordered_along_line(at(a), at(b), at(c));
    };
    for (const ModelPoint& p : ring.points) {
        while (kept.size() >= 2 && straightOn(kept[kept.size() - 2], kept.back(), p)) kept.pop_back();
        kept.push_back(p);
    }
    // Round the closing point: the first and the last may lie on a straight run too.
    for (bool changed = true; changed && kept.size() > 3;) {
        changed = false;
        const size_t n = kept.size();
        if (straightOn(kept[n - 2], kept[n - 1], kept[0])) {
            kept.pop_back();
            changed = true;
        } else if (straightOn(kept[n - 1], kept[0], kept[1])) {
            kept.erase(kept.begin());
            changed = true;
        }
    }
    if (kept.size() < 3) return ring;
    return PlanRing{std::move(kept)};
}
}  // namespace

bool ClipBodyToPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh,
                     ModelBody* out, std::string* why) {
    std::vector<PlanRing> straight;
    for (const PlanRing& ring : rings) straight.push_back(Straightened(ring));
    ModelBody prismBody;
    if (rings.empty() || !(zLow < zHigh) || !PrismBody(straight, zLow, zHigh, &prismBody, why)) {
        if (why->empty()) *why = "the terrain's outline bounds no prism";
        return false;
    }
    try {
        ExactSolid solid, prism, part;
        if (!SolidFromBody(body, &solid) || !SolidFromBody(prismBody, &prism)) {
            *why = "the body is not closed";
            return false;
        }
        if (!Combine(solid, prism, SolidOperation::Intersection, part)) {
            *why = "the body cannot be cut at the terrain's outline";
            return false;
        }
        *out = BodyFromSolid(part);
    } catch (const std::exception& ex) {
        *why = std::string("the body cannot be cut at the terrain's outline: ") + ex.what();
        return false;
    }
    return true;
}
