#pragma once
// "Slope analysis" in its two layouts (32548 and its twin 32537): seven slope intervals with their colours, the
// 2D and 3D display, the legend and the layer of the slope-range object.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/SlopeRangeSettings.hpp"

#include <cstdint>

// One layout over `record`; confirmed, with the edited fields written and flagged in `changed` (25 flags);
// `switched` tells that it closed to open the other layout.
DialogAnswer OpenSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                     bool* switched, SettingsMode mode);
DialogAnswer OpenSlopeAnalysisDialogTwin(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                         bool* switched, SettingsMode mode);

// Both layouts, the first first, carrying the unconfirmed edits.
DialogAnswer RunSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                    SettingsMode mode);

// Whether six interval bounds rise strictly.
bool SlopeBoundsIncrease(const int16_t bounds[6]);
