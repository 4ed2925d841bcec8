#pragma once
// The settings dialogs of the contour-line and slope-range tools. The dialogs sit above the terrain model, so the
// shell hands them in at start-up; without them every dialog counts as cancelled and nothing changes.
#include "settings/ContourAltitudeSettings.hpp"
#include "settings/ContourLineSettings.hpp"
#include "settings/SlopeRangeSettings.hpp"

#include <cstdint>
#include <functional>

struct ToolDialogHooks {
    // The contour-line settings over `record` in its two layouts: true on OK, with one changed flag per field
    // id 0 to 26. The altitude items are limited to `lowest`..`highest`; with `useRange` they start there.
    std::function<bool(ContourLineSettings& record, uint8_t changed[27], double lowest, double highest, bool useRange)>
        contourSettings;
    // The single-altitude dialog: true on OK, with the five apply flags (altitude, points pen, constraint pen,
    // constraint line type, layer).
    std::function<bool(ContourAltitudeSettings& record, uint8_t flags[5])> contourAltitude;
    // The slope analysis dialog: true on OK, with one changed flag per field id 0 to 24.
    std::function<bool(SlopeRangeSettings& record, uint8_t changed[25])> slopeRange;
};

ToolDialogHooks& WiredToolDialogs();
void ResetToolDialogs();
