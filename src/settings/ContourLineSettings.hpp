#pragma once
// The contour-line tool's settings (element kind 5). Fields in storage order; the depth-colour shorts are
// stored 22, 26, 23, 25, 24 and the accessors map the ids.
#include "settings/ContourAltitudeSettings.hpp"

#include "APICoord.hpp"

#include <cstdint>

struct ContourLineSettings {
    ContourLineSettings() { Reset(); }

    // Every field 0, the colours black, the single-altitude values 0.
    void Reset();
    // The contour tool's defaults, layer 1.
    void SetDefaults();
    // The values that the preferences do not carry: the altitudes, the averaged levels and depths, the
    // main-line step and the four depth colours.
    void SetPrefsDefaults();

    // Ids 0, 1, 2 and 14 to 17; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);
    // Ids 3 to 10, 12, 13 and 22 to 26; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Ids 18 to 21, the depth colours as red, green, blue in x, y, z; a zero point for any other id.
    API_Coord3D GetPoint(int16_t id) const;
    void SetPoint(int16_t id, const API_Coord3D& value);

    // Copies from `source` into `target` each field whose flag (by id, 27 of them) is set; the layer and the
    // line type (3, 4) travel with the element instead.
    static void MergeChanged(const uint8_t* flags, ContourLineSettings& target, const ContourLineSettings& source);

    double firstAltitude;              // 0
    double lastAltitude;               // 1
    double interval;                   // 2: contour equidistance
    uint16_t layer;                    // 3
    uint16_t lineType;                 // 4
    uint16_t secondPen;                // 5
    uint16_t show2D;                   // 6
    uint16_t show3D;                   // 7
    uint16_t showSection;              // 8
    uint16_t mainSecondary;            // 9: main and secondary lines told apart
    uint16_t firstPen;                 // 10
    int32_t mainStep;                  // 11: every how many lines a main line; reached directly
    uint16_t useAverage;               // 12
    uint16_t useAverage2;              // 13
    double minDepth;                   // 14
    double average;                    // 15
    double average2;                   // 16
    double maxDepth;                   // 17
    API_Coord3D depthColours[4];       // 18 to 21, each component 0 to 1
    uint16_t depthPen;                 // 22
    uint16_t colour1;                  // 26
    uint16_t colour2;                  // 23
    uint16_t colour3;                  // 25
    uint16_t colour4;                  // 24
    ContourAltitudeSettings altitude;  // no ids

private:
    uint16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
