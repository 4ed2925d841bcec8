#pragma once
// "Slope analysis" in its two layouts (32548 and its twin 32537): seven slope intervals with their colours, the
// 2D and 3D display, the legend and the layer of the slope-range object.
#include "foundation/SettingsMode.hpp"
#include "settings/SlopeRangeSettings.hpp"

#include <cstdint>

// One layout over `record`: true on OK, with the edited fields written and flagged in `changed` (25 flags);
// `switched` tells that it closed to open the other layout.
bool OpenSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[25], bool* switched, SettingsMode mode);
bool OpenSlopeAnalysisDialogTwin(SlopeRangeSettings& record, uint8_t changed[25], bool* switched, SettingsMode mode);

// The owner's loop over both layouts.
bool RunSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[25], SettingsMode mode);

// Whether six interval bounds rise strictly.
bool SlopeBoundsIncrease(const int16_t bounds[6]);
