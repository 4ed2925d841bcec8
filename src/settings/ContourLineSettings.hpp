#pragma once
// The contour-line tool's settings (element kind 5). The main-line step (id 11), the four depth colours (ids 18 to
// 21) and the single-altitude values stand beside the table.
#include "settings/ContourAltitudeSettings.hpp"
#include "settings/FieldTable.hpp"

#include "APICoord.hpp"

#include <cstdint>

// member, id, type, preference, default, item in the dialog's first layout, in its second. The dialog's items are
// its own (some stay disabled while several objects are edited).
#define LODRAVIX_CONTOUR_FIELDS(F)                                                                                     \
    F(mainSecondary, 9, uint16_t, PrefsParam::ContourMain, 0, Item::None, Item::None) /* main and secondary lines */   \
    F(firstPen, 10, uint16_t, PrefsParam::ContourMainPen, 54, Item::None, Item::None)                                  \
    F(secondPen, 5, uint16_t, PrefsParam::ContourPen, 8, Item::None, Item::None)                                       \
    F(lineType, 4, uint16_t, PrefsParam::ContourLineType, 1, Item::None, Item::None)                                   \
    F(show2D, 6, uint16_t, PrefsParam::ContourShow2D, 1, Item::None, Item::None)                                       \
    F(showSection, 8, uint16_t, PrefsParam::ContourShowSection, 0, Item::None, Item::None)                             \
    F(show3D, 7, uint16_t, PrefsParam::ContourShow3D, 1, Item::None, Item::None)                                       \
    F(depthPen, 22, uint16_t, PrefsParam::DepthPen, 4, Item::None, Item::None)                                         \
    F(colour1, 26, uint16_t, PrefsParam::DepthColour1, 104, Item::None, Item::None)                                    \
    F(colour2, 23, uint16_t, PrefsParam::DepthColour2, 19, Item::None, Item::None)                                     \
    F(colour3, 25, uint16_t, PrefsParam::DepthColour3, 144, Item::None, Item::None)                                    \
    F(colour4, 24, uint16_t, PrefsParam::DepthColour4, 121, Item::None, Item::None)                                    \
    F(firstAltitude, 0, double, NoPrefs, 0.0, Item::None, Item::None)                                                  \
    F(lastAltitude, 1, double, NoPrefs, 30.0, Item::None, Item::None)                                                  \
    F(interval, 2, double, NoPrefs, 1.0, Item::None, Item::None) /* contour equidistance */                            \
    F(layer, 3, uint16_t, NoPrefs, 1, Item::None, Item::None)                                                          \
    F(useAverage, 12, uint16_t, NoPrefs, 0, Item::None, Item::None)                                                    \
    F(useAverage2, 13, uint16_t, NoPrefs, 0, Item::None, Item::None)                                                   \
    F(minDepth, 14, double, NoPrefs, 0.0, Item::None, Item::None)                                                      \
    F(average, 15, double, NoPrefs, 20.0, Item::None, Item::None)                                                      \
    F(average2, 16, double, NoPrefs, 25.0, Item::None, Item::None)                                                     \
    F(maxDepth, 17, double, NoPrefs, 30.0, Item::None, Item::None)

struct ContourLineSettings {
    LODRAVIX_SETTINGS_RECORD_BESIDE(ContourLineSettings, LODRAVIX_CONTOUR_FIELDS)

    static constexpr int16_t MainStepId = 11;
    static constexpr int16_t DepthColourId = 18;  // the first of the four

    int32_t mainStep;                  // every how many lines a main line
    API_Coord3D depthColours[4];       // each component 0 to 1
    ContourAltitudeSettings altitude;  // no ids

    // Beside the table: the step 0, the colours black, the single-altitude values 0; and their defaults.
    void ResetBeside();
    void SetBesideDefaults();
    // After the preferences were read: what they do not carry (the layer too).
    void SetPrefsDefaults() {
        SetUnkeptDefaults();
        SetBesideDefaults();
    }

    // The depth colour of ids 18 to 21 as red, green, blue in x, y, z; a zero point for any other id.
    API_Coord3D GetPoint(int16_t id) const;
    void SetPoint(int16_t id, const API_Coord3D& value);

    // Copies from `source` into `target` each field whose flag (by id) is set; the layer and the line type travel
    // with the element instead.
    static void MergeChanged(const uint8_t* flags, ContourLineSettings& target, const ContourLineSettings& source);
};
