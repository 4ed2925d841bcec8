#pragma once
// What the SOSI options dialogs show of the general settings and hand back on OK, for the import command to keep.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct SOSIOptionChoices {
    int16_t defaultPen = 10;       // of the types without a pen of their own
    int16_t defaultLineType = 1;   // of the types without a line type of their own (the terrain survey's filter)
    QV_String worksheetReference;  // the independent worksheet's, when its names come from the settings
    QV_String worksheetName;
};
