#pragma once
// The marker settings (element kinds 13 and 14 share them): level markers, point markers and spot-height grids.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The font's default is
// the host's default text font (SetDefaults with it); the font, the symbol and the texts shown are the dialog's own
// popups and radios.
#define LODRAVIX_MARKER_FIELDS(F)                                                                                      \
    F(symbol, 2, int16_t, PrefsParam::LevelSymbol, 3, Item::None, Item::None)      /* marker symbol type */            \
    F(size, 3, double, PrefsParam::LevelSize, 3.0, Item::Real(16), Item::Real(15)) /* symbol size */                   \
    F(textAngle, 5, double, PrefsParam::LevelTextAngle, 0.0, Item::Angle(21), Item::Angle(20))                         \
    F(markerPen, 4, int16_t, PrefsParam::LevelMarkerPen, 1, Item::Pen(23, 24), Item::Pen(22, 23))                      \
    F(textPen, 6, int16_t, PrefsParam::LevelTextPen, 1, Item::Pen(18, 19), Item::Pen(17, 18))                          \
    F(font, 7, QV_String, PrefsParam::LevelFont, "Arial", Item::None, Item::None)                                      \
    F(textSize, 8, double, PrefsParam::LevelTextSize, 2.5, Item::Real(32), Item::Real(28))                             \
    F(italic, 9, int16_t, PrefsParam::LevelItalic, 0, Item::Check(34), Item::Check(30))                                \
    F(showLevel, 10, int16_t, PrefsParam::LevelShowLevel, 1, Item::None, Item::None)                                   \
    F(showCode, 11, int16_t, PrefsParam::LevelShowCode, 0, Item::None, Item::None)                                     \
    F(showComment, 12, int16_t, PrefsParam::LevelShowComment, 0, Item::None, Item::None)                               \
    F(mode, 0, int16_t, NoPrefs, 0, Item::None, Item::None)     /* 0 single markers, else a spot-height grid */        \
    F(stepX, 13, double, NoPrefs, 10.0, Item::None, Item::None) /* grid step */                                        \
    F(stepY, 14, double, NoPrefs, 10.0, Item::None, Item::None)                                                        \
    F(active, 15, int16_t, NoPrefs, 1, Item::Check(25), Item::None)                                                    \
    F(layer, 1, int16_t, NoPrefs, 1, Item::Chooser(38, APIUserControl_Layer), Item::Chooser(46, APIUserControl_Layer))

struct SpotHeightSettings {
    LODRAVIX_SETTINGS_RECORD(SpotHeightSettings, LODRAVIX_MARKER_FIELDS)
    // The defaults with the host's default text font.
    void SetDefaults(const QV_String& defaultFont) {
        SetDefaults();
        font = defaultFont;
    }
};
