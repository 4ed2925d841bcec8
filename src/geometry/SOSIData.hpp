#pragma once
// Imported SOSI curve record (the part of it the geometry code reads).
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"

// Geometry kinds the arc builders tell apart.
enum : int16_t {
    SOSIKindArcByRadius = 4,  // first and last point plus a signed radius
    SOSIKindCircle = 6,       // centre (first point) plus radius
    SOSIKindBezier = 8        // anchor, control, control, anchor, ...
};

struct SOSIData {
    int16_t geometryKind = 0;
    QV_List<API_Coord3D> coords;  // x, y, z
    double radius = 0.0;          // signed for SOSIKindArcByRadius

    // Empties the record (lists cleared, numbers 0).
    void Reset();
};
