#pragma once
// The plateau tool's settings (element kind 7), plain and sloped plateaus alike. Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

constexpr int32_t PlateauFieldCount = 19;

struct PlateauSettings {
    PlateauSettings() { Reset(); }

    // Every number 0, the name empty. The defaults come from the tool or from the settings store.
    void Reset();
    // The plateau tool's defaults, layer 1.
    void SetDefaults();

    // Ids 1, 3, 4, 9, 17 and 18; 0.0 for any other id.
    double GetDoubleByItem(int16_t id) const;
    void SetDoubleByItem(int16_t id, double value);
    // Ids 0, 2, 6, 7, 8 and 10 to 16; 0 for any other id.
    int32_t GetLongByItem(int16_t id) const;
    void SetLongByItem(int16_t id, uint16_t value);

    // Every field of `source` into `target`, then `target` into `second`, which is answered.
    static PlateauSettings& Assign(PlateauSettings& target, PlateauSettings& second, const PlateauSettings& source);
    // Each numeric field whose flag is set, by id: 1, 3, 4, 6 to 12 and 14 to 18. Never the kind (0), the layer
    // (2), the name (5) or the 3D pen (13), which the objects' records carry.
    static void CopyChangedFields(const uint8_t changed[PlateauFieldCount], PlateauSettings& target,
                                  const PlateauSettings& source);

    uint16_t sloped;            // 0: 1 sloped plateau, else plain
    double level;               // 1
    uint16_t layer;             // 2
    double cutAngle;            // 3: radians
    double fillAngle;           // 4: radians
    QV_String name;             // 5
    uint16_t levelMaterial;     // 6
    uint16_t fillMaterial;      // 7
    uint16_t cutMaterial;       // 8
    double slope;               // 9: inclination of a sloped plateau, radians
    uint16_t resolution;        // 10: arc resolution
    uint16_t show2D;            // 11
    uint16_t pen2D;             // 12
    uint16_t pen3D;             // 13
    uint16_t obstacleShow2D;    // 14
    uint16_t obstaclePen;       // 15
    uint16_t obstacleLineType;  // 16
    double cutExtension;        // 17
    double fillExtension;       // 18

private:
    uint16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
