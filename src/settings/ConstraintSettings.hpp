#pragma once
// The terrain-constraint tool's defaults (element kind 2). The fields are 32-bit, but every caller hands over and
// reads back 16-bit values.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second.
#define LODRAVIX_CONSTRAINT_FIELDS(F)                                                                                  \
    F(pen, 0, int32_t, PrefsParam::ConstraintPen, 64, Item::Pen(9, 10), Item::Pen(8, 9)) /* of the lines in 2D */      \
    F(lineType, 1, int32_t, PrefsParam::ConstraintLineType, 1, Item::Chooser(7, APIUserControl_LineTypeAlt),           \
      Item::Chooser(6, APIUserControl_LineTypeAlt))                                                                    \
    F(layer, 2, int32_t, NoPrefs, 1, Item::Chooser(14, APIUserControl_Layer), Item::Chooser(11, APIUserControl_Layer))

struct ConstraintSettings {
    LODRAVIX_SETTINGS_RECORD(ConstraintSettings, LODRAVIX_CONSTRAINT_FIELDS)
};
