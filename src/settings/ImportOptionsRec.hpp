#pragma once
// The options of the points an import creates. One copy belongs to the settings object, where it is also the
// terrain-point tool's defaults (element kind 1), and every reader holds its own, copied from there before it reads.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the point dialog's first layout, in its second. The code number
// is the dialog's own five-digit item beside the code.
#define LODRAVIX_POINT_FIELDS(F)                                                                                       \
    F(pen, 0, int16_t, PrefsParam::PointsPen, 4, Item::Pen(16, 17), Item::Pen(17, 18))     /* of the point elements */ \
    F(code, 2, QV_String, PrefsParam::PointsCode, "Point", Item::Text(10), Item::Text(11)) /* "Overwrite original" */  \
    F(layer, 1, int16_t, NoPrefs, 1, Item::Chooser(19, APIUserControl_Layer), Item::Chooser(20, APIUserControl_Layer)) \
    F(codeNumber, 3, int32_t, NoPrefs, 1, Item::None, Item::None)      /* appended to the code, below 100000 */        \
    F(text, 4, QV_String, NoPrefs, "", Item::Text(13), Item::Text(14)) /* the comment */                               \
    F(value, 5, double, NoPrefs, 0.0, Item::Real(8), Item::Real(9))    /* height above project zero */

// The point tool's input keeps the comment and the height here; readers copy them and do not use them.
struct ImportOptionsRec {
    LODRAVIX_SETTINGS_RECORD(ImportOptionsRec, LODRAVIX_POINT_FIELDS)
};

// The terrain-point tool's own name for the record.
typedef ImportOptionsRec PointSettings;
