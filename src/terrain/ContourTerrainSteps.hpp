#pragma once
// The contour-line steps of the terrain tool: each builds a contour-line class for the terrain and hands what it
// read or needs through the terrain tool's context. 0, or the error code of the step.
#include "terrain/TerrainContourSteps.hpp"
#include "terrain/TerrainSettingsRun.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The first linked object's settings and gradient (the defaults and 1 with none linked), and whether any is.
int32_t ContourReadForTerrainUpdate(const API_Element& terrain, TerrainContourContext& context);
// A first object with the context's gradient when none is linked and the gradient is not 0.
int32_t ContourCreateGradientObject(const API_Element& terrain, TerrainContourContext& context);
// The context's contour edits (the fields that differ from the first linked object's) and the gradient, when it
// changed, into every linked object.
int32_t ContourUpdateAfterTerrainChange(const API_Element& terrain, TerrainContourContext& context);
// A newly built terrain: its first object, as ContourCreateGradientObject.
int32_t ContourRefreshForNewTerrain(const API_Element& terrain, TerrainContourContext& context);

// The steps as the terrain tool asks them, made by the shell at start-up.
class ContourObjectSteps final : public TerrainContourSteps {
public:
    int32_t ReadForTerrainUpdate(const API_Element& terrain, TerrainContourContext& context) override {
        return ContourReadForTerrainUpdate(terrain, context);
    }
    int32_t CreateGradientObject(const API_Element& terrain, TerrainContourContext& context) override {
        return ContourCreateGradientObject(terrain, context);
    }
    int32_t UpdateAfterTerrainChange(const API_Element& terrain, TerrainContourContext& context) override {
        return ContourUpdateAfterTerrainChange(terrain, context);
    }
    int32_t RefreshForNewTerrain(const API_Element& terrain, TerrainContourContext& context) override {
        return ContourRefreshForNewTerrain(terrain, context);
    }
};

// The field ids (0 to 26) whose values differ between the two records, as the dialog would flag them.
void FlagContourDifferences(const ContourLineSettings& before, const ContourLineSettings& after, uint8_t* changed);
