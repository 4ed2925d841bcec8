#pragma once
// The cross section settings dialog's state record, apart from the element class so that the dialogs' port
// needs only it.
#include "settings/SectionData.hpp"

#include <cstdint>

constexpr int32_t SectionFieldCount = SectionSettings::FieldCount;

// What one run of the section settings dialog works on.
struct SectionDialogState {
    SectionSettings record;              // the owner's; written (and flagged) only by OK
    uint8_t changed[SectionFieldCount];  // per field id, set by OK
};
