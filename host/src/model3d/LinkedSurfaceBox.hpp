#pragma once
// The box of a mesh's surface after its solid links, known without computing them where that is exact: the links
// that cut upwards and join change the solid only over their bodies' plan boxes, so the surface's points outside
// those stay points of the result, and all the links make lies in a box the bodies and the solid give. When that
// box lies inside the box of the points that stay, the result's box is theirs.
#include "APIDefs.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ModelBody.hpp"

#include <vector>

// The box from `solid` (its first `surfaceVertices` vertices its surface) and `steps`; false when it cannot be
// known so (a downward subtraction, a body that is no solid or reaches past the points that stay, no point stays),
// and the operations must be run.
bool LinkedSurfaceBox(const ModelBody& solid, int32_t surfaceVertices, const std::vector<LinkStep>& steps,
                      API_Box3D* box);
