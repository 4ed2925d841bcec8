#pragma once
// The sidewalk settings dialog's state record, apart from the element class so that the dialogs' port needs only it.
#include "settings/SidewalkSettings.hpp"

#include <cstdint>

constexpr int32_t SidewalkFieldCount = SidewalkSettings::FieldCount;

// What one run of the sidewalk settings dialog works on, over both layouts.
struct SidewalkDialogState {
    SidewalkSettings record;                   // the owner's; written (and flagged) only by OK
    SidewalkSettings work;                     // what the items show; a layout switch leaves the edits here
    uint8_t carryWork = 0;                     // open on `work` as the other layout left it
    uint8_t changed[SidewalkFieldCount] = {};  // per field id, set by OK
    double width = 0.1;                        // the second layout's width item
    uint8_t widthEditable = 0;                 // the width item enabled; OK hands its width back
    uint8_t widthLocked = 0;                   // placed sidewalks edited
    uint16_t savedX = 0;                       // the position carried across a switch; 0, 0: none
    uint16_t savedY = 0;
    uint8_t layoutSwitch = 0;  // the layout closed because the user asked for the other one
};
