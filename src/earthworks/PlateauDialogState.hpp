#pragma once
// The plateau settings dialog's state record, apart from the element class so that the dialogs' port needs only it.
#include "settings/PlateauSettings.hpp"

#include <cstdint>

// What one run of the plateau settings dialog works on, over both layouts.
struct PlateauDialogState {
    PlateauSettings record;                   // the owner's; written (and flagged) only by OK
    PlateauSettings work;                     // what the items show; a layout switch leaves the edits here
    uint8_t carryWork = 0;                    // open on `work` as the other layout left it
    uint8_t changed[PlateauFieldCount] = {};  // per field id, set by OK
    double direction = 0.0;                   // slope direction in radians, shown by the second layout only
    uint8_t directionChanged = 0;             // the second layout's OK (or its layout button) took a new direction
    uint8_t kindFixed = 0;                    // the sloped box disabled (placed plateaus edited)
    uint8_t slopeEditable = 0;                // every edited plateau is sloped: slope and direction editable
    uint16_t savedX = 0;                      // the position carried across a switch; 0, 0: none
    uint16_t savedY = 0;
    uint8_t layoutSwitch = 0;  // the layout closed because the user asked for the other one
};
