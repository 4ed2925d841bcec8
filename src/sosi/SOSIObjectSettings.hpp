#pragma once
// The look of the "SOSI OBJECT" objects of a mode-1 import: edited once per run in the object tool's settings
// dialog and remembered for the next run while the module stays loaded.
#include "foundation/QV_String.hpp"

#include <cstdint>

class BaseLP;

struct SOSIObjectSettings {
    QV_String style;
    QV_String date;
    QV_String objectType;
    uint8_t show2D;
    int16_t contourPen;
    int16_t fillPen;
    int16_t backPen;
    int16_t fillType;
    QV_String detailLevel3D;
    QV_String topSurfaceStyle;
    double lowerOffset;
    int16_t pen3D;
    int16_t topMaterial;
    int16_t sideMaterial;
    int16_t bottomMaterial;
    uint8_t shadow;
    uint8_t oneMaterial;

    SOSIObjectSettings() { Init(); }
    // The values a fresh module starts from.
    void Init();
    // The 17 fields to (LPMode_Set) or from (LPMode_Get) the parameters of the same names. False at the first
    // parameter that is missing or of another kind; a read then leaves the fields read so far changed.
    bool Exchange(BaseLP& view, int32_t mode);
};

// The module's one record.
SOSIObjectSettings& SOSIObjectSettingsRecord();
