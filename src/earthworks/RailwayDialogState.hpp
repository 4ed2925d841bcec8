#pragma once
// The railway settings dialog's state record, apart from the element class so that the dialogs' port needs only it.
#include "settings/RailwaySettings.hpp"

#include <cstdint>

constexpr int32_t RailwayFieldCount = RailwaySettings::FieldCount;

// What one run of the railway settings dialog works on.
struct RailwayDialogState {
    RailwaySettings record;              // the owner's; written (and flagged) only by OK
    uint8_t changed[RailwayFieldCount];  // per field id, set by OK
    double width = 0.1;                  // the width item
    uint8_t valuesEditable = 0;          // width and gauge editable; OK hands the width back
    uint8_t valuesLocked = 0;            // placed railways edited: width, gauge, ties, rails and tracks locked
    uint8_t radiosEnabled = 0;
    int16_t referenceLine = 2;  // where the railway lies: 1 right of the drawn line, 2 on it, 3 left of it
};
