#pragma once
// "Slope analysis" in its two layouts (32548 and its twin 32537): seven slope intervals with their colours, the
// 2D and 3D display, the legend and the layer of the slope-range object.
#include "settings/SlopeRangeSettings.hpp"

#include <cstdint>

// One layout over `record`: true on OK, with the edited fields written and flagged in `changed` (25 flags);
// `switched` tells that it closed to open the other layout.
bool OpenSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[25], bool* switched);
bool OpenSlopeAnalysisDialogTwin(SlopeRangeSettings& record, uint8_t changed[25], bool* switched);

// The owner's loop over both layouts.
bool RunSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[25]);

// Whether six interval bounds rise strictly.
bool SlopeBoundsIncrease(const int16_t bounds[6]);
