#pragma once
// "Contour line settings" in its two layouts (32549 and its twin 32506): the altitude range and interval, pens,
// line type, view switches, the second class of contours and the layer of the contour-line object.
#include "foundation/SettingsMode.hpp"
#include "settings/ContourLineSettings.hpp"

#include <cstdint>

// One layout over `record`: true on OK, with the edited fields written and flagged in `changed` (27 flags).
// `switched` tells that the dialog closed to open the other layout. The altitude items are limited to
// lowest..highest and start there with `useRange`. While several objects are edited the altitudes, the interval,
// the second-class switch and its step are disabled and never written.
bool OpenContourLineSettingsDialog(ContourLineSettings& record, uint8_t changed[27], double lowest, double highest,
                                   bool useRange, bool* switched, SettingsMode mode);
bool OpenContourLineSettingsDialogTwin(ContourLineSettings& record, uint8_t changed[27], double lowest, double highest,
                                       bool useRange, bool* switched, SettingsMode mode);

// The owner's loop: the first layout, then the other at each switch, carrying the unconfirmed edits.
bool RunContourLineSettingsDialog(ContourLineSettings& record, uint8_t changed[27], double lowest, double highest,
                                  bool useRange, SettingsMode mode);
