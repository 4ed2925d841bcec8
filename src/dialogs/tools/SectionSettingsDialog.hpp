#pragma once
// "Cross section settings" in its two layouts (32556 and its twin 32520): the pens, line types, text and layer of
// the road sections' drawing and which parts of it are shown or turned.
#include "earthworks/Section.hpp"
#include "foundation/SettingsMode.hpp"

#include <cstdint>

// One layout over `record`: true on OK, with the edited fields written and flagged in `changed` (17 flags);
// `switched` tells that it closed to open the other layout.
bool OpenSectionSettingsDialog(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                               SettingsMode mode);
bool OpenSectionSettingsDialogTwin(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                                   SettingsMode mode);

// The owner's loop over both layouts on the state's record (what the section tool asks for through EarthworkDialogs).
bool RunSectionSettingsDialog(SectionDialogState& state, SettingsMode mode);
