#pragma once
// The slope-range tool's settings (element kind 18): six class limits, seven class colours and the legend.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The legend font's default
// is the host's default text font (SetDefaults with it); the font is the dialog's own popup.
#define LODRAVIX_SLOPE_RANGE_FIELDS(F)                                                                                 \
    F(limit1, 0, uint16_t, PrefsParam::SlopeRangeLimit1, 5, Item::Long(19), Item::Long(19)) /* upper, degrees */       \
    F(limit2, 1, uint16_t, PrefsParam::SlopeRangeLimit2, 10, Item::Long(20), Item::Long(20))                           \
    F(limit3, 2, uint16_t, PrefsParam::SlopeRangeLimit3, 15, Item::Long(21), Item::Long(21))                           \
    F(limit4, 3, uint16_t, PrefsParam::SlopeRangeLimit4, 20, Item::Long(22), Item::Long(22))                           \
    F(limit5, 4, uint16_t, PrefsParam::SlopeRangeLimit5, 25, Item::Long(23), Item::Long(23))                           \
    F(limit6, 5, uint16_t, PrefsParam::SlopeRangeLimit6, 30, Item::Long(24), Item::Long(24))                           \
    F(colour1, 6, uint16_t, PrefsParam::SlopeRangeColour1, 80, Item::Pen(26, 33), Item::Pen(26, 33)) /* class 1 */     \
    F(colour2, 7, uint16_t, PrefsParam::SlopeRangeColour2, 104, Item::Pen(27, 34), Item::Pen(27, 34))                  \
    F(colour3, 8, uint16_t, PrefsParam::SlopeRangeColour3, 100, Item::Pen(28, 35), Item::Pen(28, 35))                  \
    F(colour4, 9, uint16_t, PrefsParam::SlopeRangeColour4, 117, Item::Pen(29, 36), Item::Pen(29, 36))                  \
    F(colour5, 10, uint16_t, PrefsParam::SlopeRangeColour5, 103, Item::Pen(30, 37), Item::Pen(30, 37))                 \
    F(colour6, 11, uint16_t, PrefsParam::SlopeRangeColour6, 3, Item::Pen(31, 38), Item::Pen(31, 38))                   \
    F(colour7, 12, uint16_t, PrefsParam::SlopeRangeColour7, 20, Item::Pen(32, 39), Item::Pen(32, 39))                  \
    F(text1, 15, QV_String, PrefsParam::SlopeRangeTextA, "", Item::Text(51), Item::Text(47)) /* the legend's */        \
    F(text2, 16, QV_String, PrefsParam::SlopeRangeTextB, "", Item::Text(53), Item::Text(49))                           \
    F(text3, 17, QV_String, PrefsParam::SlopeRangeTextC, "", Item::Text(55), Item::Text(51))                           \
    F(font, 18, QV_String, PrefsParam::SlopeRangeFont, "Arial", Item::None, Item::None)  /* the legend's */            \
    F(size, 19, double, PrefsParam::SlopeRangeSize, 2.5, Item::Real(59), Item::Real(55)) /* legend text size */        \
    F(textPen, 20, uint16_t, PrefsParam::SlopeRangeTextPen, 1, Item::Pen(62, 63), Item::Pen(58, 59))                   \
    F(framePen, 21, uint16_t, PrefsParam::SlopeRangeFramePen, 1, Item::None, Item::Pen(61, 62))                        \
    F(show3D, 13, uint16_t, NoPrefs, 0, Item::Check(45), Item::Check(42))                                              \
    F(lift, 14, double, NoPrefs, 0.03, Item::Real(47), Item::Real(44)) /* of the coloured surface over the terrain */  \
    F(showZeros, 22, uint16_t, NoPrefs, 0, Item::None, Item::Check(63))                                                \
    F(layer, 23, uint16_t, NoPrefs, 1, Item::Chooser(66, APIUserControl_Layer),                                        \
      Item::Chooser(66, APIUserControl_Layer))                                                                         \
    F(show2D, 24, uint16_t, NoPrefs, 1, Item::Check(43), Item::None)

struct SlopeRangeSettings {
    LODRAVIX_SETTINGS_RECORD(SlopeRangeSettings, LODRAVIX_SLOPE_RANGE_FIELDS)

    // Reset leaves the range shown in 2D (called by Reset, after the rows).
    void ResetBeside() { show2D = 1; }
    void SetBesideDefaults() {}
    // The defaults with the host's default text font.
    void SetDefaults(const QV_String& defaultFont) {
        SetDefaults();
        font = defaultFont;
    }
    // Copies from `source` into `target` each field whose flag (by id) is set; the layer travels with the element
    // instead.
    static void MergeChanged(const uint8_t* flags, SlopeRangeSettings& target, const SlopeRangeSettings& source) {
        for (int16_t id = 0; id < FieldCount; ++id)
            if (flags[id] != 0 && id != Id::layer) target.CopyField(source, id);
    }
};
