#include "terrain/ContourTerrainSteps.hpp"

#include "terrain/ContourLineCls.hpp"

#include <cmath>

void FlagContourDifferences(const ContourLineSettings& before, const ContourLineSettings& after, uint8_t* changed) {
    for (int16_t id = 0; id < ContourFieldCount; ++id) {
        const API_Coord3D p = before.GetPoint(id), q = after.GetPoint(id);
        changed[id] = std::fabs(before.GetReal(id) - after.GetReal(id)) >= 1e-7 ||
                before.GetShort(id) != after.GetShort(id) || p.x != q.x || p.y != q.y || p.z != q.z ||
                (id == ContourLineSettings::MainStepId && before.mainStep != after.mainStep)
            ? 1
            : 0;
    }
}

int32_t ContourReadForTerrainUpdate(const API_Element& terrain, TerrainContourContext& context) {
    ContourLineCls cls;
    const int32_t code = cls.ReadForTerrainUpdate(context.settings, terrain);
    context.linked = false;
    context.gradient = context.previousGradient = 1;
    if (code != 0 || cls.libPartIndex <= 0) return code;
    context.settings = cls.settings;
    context.linked = cls.linked.GetCount() > 0;
    context.gradient = context.previousGradient = int16_t(cls.gradient);
    return 0;
}

int32_t ContourCreateGradientObject(const API_Element& terrain, TerrainContourContext& context) {
    ContourLineCls cls;
    const int32_t code = cls.ReadForTerrainUpdate(context.settings, terrain);
    if (code != 0 || cls.libPartIndex <= 0) return code;
    cls.settings = context.settings;
    cls.gradient = uint16_t(context.gradient);
    return cls.CreateGradientObject();
}

int32_t ContourUpdateAfterTerrainChange(const API_Element& terrain, TerrainContourContext& context) {
    ContourLineCls cls;
    const int32_t code = cls.ReadForTerrainUpdate(context.settings, terrain);
    if (code != 0 || cls.libPartIndex <= 0) return code;
    FlagContourDifferences(cls.settings, context.settings, cls.changed);
    cls.settings = context.settings;
    cls.gradient = uint16_t(context.gradient);
    cls.previousGradient = uint16_t(context.previousGradient);
    return cls.UpdateAfterTerrainChange();
}

int32_t ContourRefreshForNewTerrain(const API_Element& terrain, TerrainContourContext& context) {
    ContourLineCls cls;
    cls.settings = context.settings;
    cls.gradient = uint16_t(context.gradient);
    return cls.RefreshForNewTerrain(terrain);
}
