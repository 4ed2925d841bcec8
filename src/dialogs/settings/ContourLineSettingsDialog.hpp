#pragma once
// "Contour line settings" in its two layouts (32549 and its twin 32506): the altitude range and interval, pens,
// line type, view switches, the second class of contours and the layer of the contour-line object.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/ContourLineSettings.hpp"

#include <cstdint>

// One layout over `record`; confirmed, with the edited fields written and flagged in `changed` (27 flags).
// `switched` tells that the dialog closed to open the other layout. The altitude items are limited to
// lowest..highest and start there with `useRange`. While several objects are edited the altitudes, the interval,
// the second-class switch and its step are disabled and never written.
DialogAnswer OpenContourLineSettingsDialog(ContourLineSettings& record,
                                           uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                                           double highest, bool useRange, bool* switched, SettingsMode mode);
DialogAnswer OpenContourLineSettingsDialogTwin(ContourLineSettings& record,
                                               uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                                               double highest, bool useRange, bool* switched, SettingsMode mode);

// Both layouts: the first, then the other at each switch, carrying the unconfirmed edits.
DialogAnswer RunContourLineSettingsDialog(ContourLineSettings& record, uint8_t changed[ContourLineSettings::FieldCount],
                                          double lowest, double highest, bool useRange, SettingsMode mode);
