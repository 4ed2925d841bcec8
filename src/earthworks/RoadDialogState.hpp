#pragma once
// The road settings dialog's state record, apart from the element class so that the dialogs' port needs only it.
#include "settings/RoadData.hpp"

#include <cstdint>

constexpr int32_t RoadFieldCount = RoadSettings::FieldCount;

// What one run of the road settings dialog works on, over both layouts.
struct RoadDialogState {
    RoadSettings record;              // the owner's; written (and flagged) only by OK
    RoadSettings work;                // what the items show; a layout switch leaves the edits here for the other
    uint8_t carryWork = 0;            // open on `work` as the other layout left it, not on `record`
    uint8_t changed[RoadFieldCount];  // per field id, set by OK
    double width = 0.1;               // the width item
    uint8_t widthEditable = 0;        // the width item enabled; OK hands its width back
    uint8_t widthLocked = 0;          // the width item disabled with the greyed picture (placed roads edited)
    uint8_t radiosEnabled = 0;        // the first layout's reference-line radios
    int16_t referenceLine = 2;        // where the road lies: 1 right of the drawn line, 2 on it, 3 left of it
    uint16_t savedX = 0;              // the position carried across a switch; 0, 0: none
    uint16_t savedY = 0;
    uint8_t layoutSwitch = 0;  // the layout closed because the user asked for the other one
};
