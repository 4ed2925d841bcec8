#pragma once
// One area of a coloured-area object: its outline and its drawing attributes.
#include "foundation/QV_List.hpp"

#include "APICoord.hpp"

#include <cstdint>

struct PaintInfo {
    QV_List<API_Coord3D> points;  // the area's outline
    int32_t retino = 0;           // fill pattern
    uint16_t penna = 0;           // pen
    uint16_t penna_retino = 0;    // fill pen
    uint16_t sfondo_retino = 0;   // fill background pen
    uint16_t mat = 0;             // material
    double dislivello = 0.0;      // level difference
};
QV_DECLARE_RELOCATABLE(PaintInfo);
