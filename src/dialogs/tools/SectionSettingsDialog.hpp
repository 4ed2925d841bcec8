#pragma once
// "Cross section settings" in its two layouts (32556 and its twin 32520): the pens, line types, text and layer of
// the road sections' drawing and which parts of it are shown or turned.
#include "earthworks/Section.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"

#include <cstdint>

// One layout over `record`; confirmed, with the edited fields written and flagged in `changed` (17 flags);
// `switched` tells that it closed to open the other layout.
DialogAnswer OpenSectionSettingsDialog(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                                       SettingsMode mode);
DialogAnswer OpenSectionSettingsDialogTwin(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                                           SettingsMode mode);

// Both layouts on the state's record, the first first (what the section tool asks for through EarthworkDialogs).
DialogAnswer RunSectionSettingsDialog(SectionDialogState& state, SettingsMode mode);
