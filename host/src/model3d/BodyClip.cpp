#include "model3d/BodyClip.hpp"

#include "model3d/ExactSolid.hpp"
#include "model3d/PrismBody.hpp"
#include "model3d/SolidBooleans.hpp"

#include <algorithm>
#include <exception>

namespace {
// The body inside (`inside`) or outside the prism, as a new body.
bool WithPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh, bool inside,
               ModelBody* out, std::string* why) {
    ModelBody prismBody;
    if (rings.empty() || !(zLow < zHigh) || !PrismBody(rings, zLow, zHigh, &prismBody, why)) {
        if (why->empty()) *why = "the terrain's outline bounds no prism";
        return false;
    }
    try {
        ExactSolid solid, prism, part;
        if (!SolidFromBody(body, &solid) || !SolidFromBody(prismBody, &prism)) {
            *why = "the body is not closed";
            return false;
        }
        if (!Combine(solid, prism, inside ? SolidOperation::Intersection : SolidOperation::Difference, part)) {
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
}  // namespace

bool ClipBodyToPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh,
                     ModelBody* out, std::string* why) {
    return WithPrism(body, rings, zLow, zHigh, true, out, why);
}

bool CutPrismOut(const ModelBody& body, const PlanRing& ring, ModelBody* out, std::string* why) {
    if (body.vertices.empty()) {
        *out = body;
        return true;
    }
    double low = body.vertices[0].z, high = low;
    for (const ModelPoint& p : body.vertices) low = std::min(low, p.z), high = std::max(high, p.z);
    return WithPrism(body, {ring}, low - 1.0, high + 1.0, false, out, why);
}
