#pragma once
// The general record (element kind 0): values that several tools share.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second.
#define LODRAVIX_GENERAL_FIELDS(F)                                                                                     \
    F(sidewalkWidth, 4, double, PrefsParam::SidewalkWidth, 3.0, Item::None, Item::None)                                \
    F(roadWidth, 5, double, PrefsParam::RoadWidth, 6.0, Item::None, Item::None) /* of roads and railways */            \
    F(paintMaterial, 7, int16_t, PrefsParam::PaintMaterial, 77, Item::None, Item::None)                                \
    /* retaining structures along roads, railways and plateaus shown in 2D, with their pen and line type */            \
    F(obstacleShow2D, 1, int16_t, PrefsParam::ObstacleShow2D, 0, Item::None, Item::None)                               \
    F(obstaclePen, 2, int16_t, PrefsParam::ObstaclePen2D, 10, Item::None, Item::None)                                  \
    F(obstacleLineType, 3, int16_t, PrefsParam::ObstacleLineType, 5, Item::None, Item::None)                           \
    F(retainingThickness, 6, double, PrefsParam::RetainingThickness, 0.5, Item::None, Item::None)                      \
    F(deleteFlag, 0, int16_t, PrefsParam::DeleteFlag, 0, Item::None, Item::None)                                       \
    F(cameraValue, 9, double, PrefsParam::CameraValue, 10.0, Item::None, Item::None)                                   \
    F(paintValue, 8, double, NoPrefs, 0.01, Item::None, Item::None) /* the level difference of the next area */        \
    /* the independent worksheet of a SOSI import */                                                                   \
    F(worksheetReference, 10, QV_String, NoPrefs, "", Item::None, Item::None)                                          \
    F(worksheetName, 11, QV_String, NoPrefs, "", Item::None, Item::None)                                               \
    F(sosiChoice, 12, int16_t, NoPrefs, 10, Item::None, Item::None) /* the default pen of SOSI types */                \
    F(sosiChoice2, 13, int16_t, NoPrefs, 1, Item::None, Item::None) /* and their default line type */                  \
    /* where a road runs against the drawn line (1 to 3), and a railway */                                             \
    F(roadReferenceLine, 14, int16_t, NoPrefs, 2, Item::None, Item::None)                                              \
    F(railwayReferenceLine, 15, int16_t, NoPrefs, 2, Item::None, Item::None)

struct MiscSettings {
    LODRAVIX_SETTINGS_RECORD(MiscSettings, LODRAVIX_GENERAL_FIELDS)
};
