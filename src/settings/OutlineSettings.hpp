#pragma once
// The terrain-outline tool's settings (element kind 3): the look of the outline hatch.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second.
#define LODRAVIX_OUTLINE_FIELDS(F)                                                                                     \
    F(lineType, 4, uint16_t, PrefsParam::OutlineLineType, 1, Item::None,                                               \
      Item::Chooser(16, APIUserControl_LineTypeAlt))                                                                   \
    F(fill, 3, uint16_t, PrefsParam::OutlineFill, 65, Item::None,                                                      \
      Item::Chooser(18, APIUserControl_Fill))                                             /* fill pattern index */     \
    F(pen, 0, uint16_t, PrefsParam::OutlinePen, 13, Item::Pen(18, 19), Item::Pen(20, 21)) /* the hatch's contour */    \
    F(fillPen, 1, uint16_t, PrefsParam::OutlineFillPen, 13, Item::None, Item::Pen(23, 24))                             \
    F(backgroundPen, 2, uint16_t, PrefsParam::OutlineBackgroundPen, 0, Item::None, Item::Long(26))                     \
    F(name, 6, QV_String, PrefsParam::OutlineName, "OUTLINE", Item::Text(24), Item::Text(30)) /* the hatch's ID */     \
    F(layer, 5, uint16_t, NoPrefs, 1, Item::Chooser(22, APIUserControl_Layer), Item::Chooser(33, APIUserControl_Layer))

struct OutlineSettings {
    LODRAVIX_SETTINGS_RECORD(OutlineSettings, LODRAVIX_OUTLINE_FIELDS)
};
