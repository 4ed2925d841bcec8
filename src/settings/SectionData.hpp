#pragma once
// The road cross-section tool's settings (element kind 16). GetShort answers the 16 bits sign-extended.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The font's default is
// the host's default text font (SetDefaults with it).
#define LODRAVIX_SECTION_FIELDS(F)                                                                                     \
    F(bottomLevel, 1, double, PrefsParam::SectionBottomLevel, 0.0, Item::Real(7), Item::Real(7)) /* the datum */       \
    F(straightPen, 2, uint16_t, PrefsParam::SectionStraightPen, 7, Item::Pen(9, 10), Item::Pen(9, 10))                 \
    F(curvePen, 3, uint16_t, PrefsParam::SectionCurvePen, 20, Item::Pen(12, 13), Item::Pen(12, 13))                    \
    F(terrainPen, 4, uint16_t, PrefsParam::SectionTerrainPen, 4, Item::Pen(18, 19), Item::Pen(18, 19))                 \
    F(dividerLineType, 5, uint16_t, PrefsParam::SectionLeadingLineType, 4,                                             \
      Item::Chooser(20, APIUserControl_LineTypeAlt), Item::Chooser(20, APIUserControl_LineTypeAlt))                    \
    F(dividerPen, 6, uint16_t, PrefsParam::SectionLeadingPen, 63, Item::Pen(21, 22), Item::Pen(21, 22))                \
    F(straightLineType, 7, uint16_t, PrefsParam::SectionGridLineType, 1,                                               \
      Item::Chooser(23, APIUserControl_LineTypeAlt), Item::Chooser(23, APIUserControl_LineTypeAlt))                    \
    F(linePen, 8, uint16_t, PrefsParam::SectionGridPen, 1, Item::Pen(24, 25), Item::Pen(24, 25))                       \
    F(font, 9, QV_String, PrefsParam::SectionFont, "Arial", Item::None, Item::None)                                    \
    F(textSize, 10, double, PrefsParam::SectionTextSize, 2.0, Item::Real(29), Item::Real(29))                          \
    F(textPen, 11, uint16_t, PrefsParam::SectionTextPen, 99, Item::Pen(32, 33), Item::Pen(32, 33))                     \
    F(showPlan, 12, uint16_t, PrefsParam::SectionShowPlan, 0, Item::Check(36), Item::Check(36))                        \
    F(showLeft, 13, uint16_t, PrefsParam::SectionShowLeft, 1, Item::Check(38), Item::Check(38))                        \
    F(flipLeft, 15, uint16_t, PrefsParam::SectionFlipLeft, 0, Item::Check(42), Item::Check(42))                        \
    F(showRight, 14, uint16_t, PrefsParam::SectionShowRight, 1, Item::Check(40), Item::Check(40))                      \
    F(flipRight, 16, uint16_t, PrefsParam::SectionFlipRight, 0, Item::Check(44), Item::Check(44))                      \
    F(layer, 0, uint16_t, NoPrefs, 1, Item::Chooser(47, APIUserControl_Layer), Item::Chooser(46, APIUserControl_Layer))

struct SectionData {
    LODRAVIX_SETTINGS_RECORD_SIGNED(SectionData, LODRAVIX_SECTION_FIELDS)
    // The defaults with the host's default text font.
    void SetDefaults(const QV_String& defaultFont) {
        SetDefaults();
        font = defaultFont;
    }
};

// The cross-section tool's own name for the record.
typedef SectionData SectionSettings;
