#pragma once
// The contour-line steps around a terrain build or edit: what the terrain tool asks of the terrain's contour-line
// objects. The contour-line objects implement it (ContourObjectSteps, terrain/ContourTerrainSteps); the shell makes
// one and the terrain command hands it down, and a test passes its own. Each answers 0 or an error code.
#include "terrain/TerrainContourContext.hpp"

#include "APIElements.hpp"

#include <cstdint>

class TerrainContourSteps {
public:
    virtual ~TerrainContourSteps() = default;

    // The first linked object's settings and gradient (the defaults and 1 with none linked), and whether any is.
    virtual int32_t ReadForTerrainUpdate(const API_Element& terrain, TerrainContourContext& context) = 0;
    // A first object with the context's gradient when none is linked and the gradient is not 0.
    virtual int32_t CreateGradientObject(const API_Element& terrain, TerrainContourContext& context) = 0;
    // The context's contour edits and the gradient, when it changed, into every linked object.
    virtual int32_t UpdateAfterTerrainChange(const API_Element& terrain, TerrainContourContext& context) = 0;
    // A newly built terrain: its first object.
    virtual int32_t RefreshForNewTerrain(const API_Element& terrain, TerrainContourContext& context) = 0;
};
