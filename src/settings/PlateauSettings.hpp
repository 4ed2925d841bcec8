#pragma once
// The plateau tool's settings (element kind 7), plain and sloped plateaus alike.
#include "settings/FieldTable.hpp"

#include <cmath>

// member, id, type, preference, default, item in the dialog's first layout, in its second. The display of retaining
// structures is read with the section but kept by the general record's (settings/PrefsSections.cpp).
#define LODRAVIX_PLATEAU_FIELDS(F)                                                                                     \
    F(level, 1, double, PrefsParam::PlateauLevel, 10.0, Item::Real(8), Item::Real(8))                                  \
    F(slope, 9, double, PrefsParam::PlateauSlope, M_PI / 36.0, Item::Angle(11), Item::Angle(11)) /* sloped, rad */     \
    F(cutAngle, 3, double, PrefsParam::PlateauCutAngle, M_PI / 3.0, Item::Angle(18), Item::Angle(16))                  \
    F(fillAngle, 4, double, PrefsParam::PlateauFillAngle, M_PI / 4.0, Item::Angle(20), Item::Angle(18))                \
    F(cutExtension, 17, double, PrefsParam::PlateauCutExtension, 2.0, Item::Real(24), Item::Real(21))                  \
    F(fillExtension, 18, double, PrefsParam::PlateauFillExtension, 2.0, Item::Real(26), Item::Real(23))                \
    F(resolution, 10, uint16_t, PrefsParam::PlateauResolution, 6, Item::Long(14), Item::Long(26)) /* per arc */        \
    F(levelMaterial, 6, uint16_t, PrefsParam::PlateauTopMaterial, 69, Item::Chooser(30, APIUserControl_Material),      \
      Item::Chooser(28, APIUserControl_Material))                                                                      \
    F(cutMaterial, 8, uint16_t, PrefsParam::PlateauCutMaterial, 77, Item::Chooser(31, APIUserControl_Material),        \
      Item::Chooser(29, APIUserControl_Material))                                                                      \
    F(fillMaterial, 7, uint16_t, PrefsParam::PlateauFillMaterial, 78, Item::Chooser(32, APIUserControl_Material),      \
      Item::Chooser(30, APIUserControl_Material))                                                                      \
    F(show2D, 11, uint16_t, PrefsParam::PlateauShow2D, 1, Item::Check(35), Item::Check(34))                            \
    F(pen2D, 12, uint16_t, PrefsParam::PlateauPen2D, 4, Item::Pen(37, 38), Item::Pen(36, 37))                          \
    F(pen3D, 13, uint16_t, PrefsParam::PlateauPen3D, 4, Item::None, Item::Pen(39, 40)) /* the objects' */              \
    F(name, 5, QV_String, PrefsParam::PlateauName, "PLATEAU", Item::Text(43), Item::Text(50))                          \
    F(sloped, 0, uint16_t, NoPrefs, 0, Item::Check(9), Item::Check(9))       /* 1 a sloped plateau */                  \
    F(obstacleShow2D, 14, uint16_t, NoPrefs, 0, Item::None, Item::Check(43)) /* retaining structures in 2D */          \
    F(obstaclePen, 15, uint16_t, NoPrefs, 3, Item::None, Item::Pen(45, 46))                                            \
    F(obstacleLineType, 16, uint16_t, NoPrefs, 5, Item::None, Item::Chooser(47, APIUserControl_LineType))              \
    F(layer, 2, uint16_t, NoPrefs, 1, Item::Chooser(41, APIUserControl_Layer), Item::Chooser(53, APIUserControl_Layer))

struct PlateauSettings {
    LODRAVIX_SETTINGS_RECORD(PlateauSettings, LODRAVIX_PLATEAU_FIELDS)

    // Each field whose flag is set but the kind, the layer, the name and the 3D pen, which the objects' records
    // carry.
    static void CopyChangedFields(const Changed& changed, PlateauSettings& target, const PlateauSettings& source) {
        for (int16_t id = 0; id < FieldCount; ++id)
            if (changed[id] != 0 && id != Id::sloped && id != Id::layer && id != Id::name && id != Id::pen3D)
                target.CopyField(source, id);
    }
};

constexpr int32_t PlateauFieldCount = PlateauSettings::FieldCount;
