#pragma once
// The coloured-area tool's settings (element kind 8).
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second.
#define LODRAVIX_PAINT_FIELDS(F)                                                                                       \
    F(show2D, 0, int16_t, PrefsParam::PaintShow2D, 1, Item::Check(7), Item::Check(8))                                  \
    F(showName, 5, int16_t, PrefsParam::PaintShowName, 0, Item::Check(9), Item::Check(10))                             \
    F(offset, 3, double, PrefsParam::PaintDistance, 0.01, Item::Real(13), Item::Real(12))     /* the areas' lift */    \
    F(resolution, 4, int16_t, PrefsParam::PaintResolution, 6, Item::Long(11), Item::Long(15)) /* per arc */            \
    F(name, 2, QV_String, PrefsParam::PaintName, "COLOURED AREA", Item::Text(18), Item::Text(17)) /* element ID */     \
    F(layer, 1, int16_t, NoPrefs, 1, Item::Chooser(16, APIUserControl_Layer), Item::Chooser(19, APIUserControl_Layer))

struct PaintSettings {
    LODRAVIX_SETTINGS_RECORD(PaintSettings, LODRAVIX_PAINT_FIELDS)
};
