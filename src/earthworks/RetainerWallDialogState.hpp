#pragma once
// The retainer wall settings dialog's state record, apart from the element class so that the dialogs' port
// needs only it.
#include "settings/RetainerWallSettings.hpp"

#include <cstdint>

constexpr int32_t RetainerWallFieldCount = RetainerWallSettings::FieldCount;

// What one run of the retainer wall settings dialog works on, over both layouts.
struct RetainerWallDialogState {
    RetainerWallSettings record;                   // the owner's working copy; written (and flagged) only by OK
    uint8_t changed[RetainerWallFieldCount] = {};  // per field id, set by OK
    double thickness = 0.5;                        // shown beside the record; the tool keeps it after OK
    uint8_t editLock = 0;                          // placed walls edited: thickness and resolution disabled
};
