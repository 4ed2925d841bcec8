#pragma once
// "Contour line settings" for one altitude, in its two layouts (32566 and its twin 32507): the altitude given to
// digitised contour lines, the pen of their points, the pen and line type of their constraints, and the layer.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/ContourAltitudeSettings.hpp"

#include <cstdint>

// Both layouts, the first first; confirmed, with the five apply flags (altitude, points pen, constraint pen,
// constraint line type, layer) set for the values that differ from `record`, which then holds them.
DialogAnswer RunContourAltitudeDialog(ContourAltitudeSettings& record, uint8_t flags[5], SettingsMode mode);
