#pragma once
// The options of the points an import creates. One copy belongs to the global settings, where it is also
// the terrain-point tool's defaults (element kind 1), and every reader holds its own, copied from there
// before it reads. Field ids: 0 pen, 1 layer, 2 code, 3 code number, 4 text, 5 value.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct ImportOptionsRec {
    ImportOptionsRec() { Reset(); }

    // Both shorts 0, code empty, code number 0, value 0.0, text empty.
    void Reset();
    // The point tool's defaults: pen 4, layer 1, code "Point", code number 1, value 0.0, text empty.
    void SetDefaults();

    int16_t pen;         // pen of the created point elements
    int16_t layer;       // layer attribute index of the created point elements
    QV_String code;      // point code used when "Overwrite original code" is on
    int32_t codeNumber;  // running number appended to that code, kept below 100000
    double value;        // kept here by the terrain-point tool's point input; readers copy it and do not use it
    QV_String text;      // the same
};

// The terrain-point tool's own name for the record.
typedef ImportOptionsRec PointSettings;
