#pragma once
// The box of a mesh's surface after its solid links, known without computing them where that is exact: the links
// that cut upwards and join change the solid only over their bodies' plan boxes, so the surface's points outside
// those stay points of the result, and all the links make lies in a box the bodies and the solid give. When that
// box lies inside the box of the points that stay, the result's box is theirs.
#include "APIDefs.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ModelBody.hpp"

#include <memory>
#include <vector>

// What the box is found from that depends on the solid alone (the raster of its faces), kept for the next question
// on the same solid: a terrain's links change from one question to the next, its solid seldom.
class LinkedSurfaceCache {
public:
    LinkedSurfaceCache();
    ~LinkedSurfaceCache();
    LinkedSurfaceCache(const LinkedSurfaceCache&) = delete;
    LinkedSurfaceCache& operator=(const LinkedSurfaceCache&) = delete;
    void Clear();
    struct Kept;
    std::unique_ptr<Kept> kept;
};

// The box from `solid` (its first `surfaceVertices` vertices its surface) and `steps`; false when it cannot be
// known so (a downward subtraction, a body that is no solid or reaches past the points that stay, no point stays),
// and the operations must be run.
bool LinkedSurfaceBox(const ModelBody& solid, int32_t surfaceVertices, const std::vector<LinkStep>& steps,
                      API_Box3D* box);
// The same, with what `cache` kept of the same solid.
bool LinkedSurfaceBox(const std::shared_ptr<const ModelBody>& solid, int32_t surfaceVertices,
                      const std::vector<LinkStep>& steps, API_Box3D* box, LinkedSurfaceCache* cache);
