#pragma once
// The building tool's settings (element kind 9). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct BuildingSettings {
    BuildingSettings() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The building tool's defaults, layer 1.
    void SetDefaults();
    // The fields the preferences do not carry: height 0.0, layer 1, top level 9.0.
    void SetBaseDefaults();

    // Ids 0 to 2, 4 to 9 and 12, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Ids 3, 11 and 13; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);
    // Id 10; the shared empty text for any other id.
    const QV_String& GetString(int16_t id) const;
    void SetString(int16_t id, const QV_String& text);

    int16_t pen3D;              // 0
    int16_t material;           // 1
    int16_t showRoof;           // 2: sloped roof on
    double roofAngle;           // 3: radians
    int16_t roofMaterial;       // 4
    int16_t fill;               // 5
    int16_t fillPen;            // 6
    int16_t fillBackgroundPen;  // 7
    int16_t pen2D;              // 8
    int16_t layer;              // 9
    QV_String name;             // 10: the object's element ID text
    double topLevel;            // 11: split over "ZZYZX" and "negative_level"
    int16_t resolution;         // 12: arc resolution
    double height;              // 13: above the lowest terrain point of the outline

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
