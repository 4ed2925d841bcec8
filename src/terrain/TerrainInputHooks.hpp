#pragma once
// What the point, constraint and outline tools need of higher subsystems: their settings dialogs, the point-input
// palette and the tool palette's input state. The shell sets them in WiredTerrainInputHooks() at start-up and
// puts the defaults back at release. Without its hook a dialog answers "cancelled" and a palette step notes its
// call and does nothing, so a tool never changes the model behind the user's back.
#include "settings/ConstraintSettings.hpp"
#include "settings/OutlineSettings.hpp"
#include "settings/PointSettings.hpp"

#include "APIInteraction.hpp"

#include <cstdint>
#include <functional>

// The outline dialog's search values: the corridor width and angle as the dialog shows them (width as stored,
// angle in radians) and the search type (1 polygonal, 0 rectangular).
struct OutlineSearchValues {
    bool typeSelectable = true;
    bool corridorLocked = false;
    double corridorWidth = 0.0;
    double searchAngle = 0.0;
    uint16_t searchType = 1;
};

struct TerrainInputHooks {
    // The settings dialogs in their two layouts; true on OK, with the changed flags by field id.
    std::function<bool(PointSettings& record, uint8_t (&changed)[6])> pointSettings;
    std::function<bool(ConstraintSettings& record, uint8_t (&changed)[3])> constraintSettings;
    // On OK the search values come back as the dialog returns them (width as entered, angle in radians).
    std::function<bool(OutlineSettings& record, uint8_t (&changed)[7], OutlineSearchValues& search)> outlineSettings;
    // The point-input palette: open (and show the point defaults), the items into the point defaults, the point
    // defaults into the items, close.
    std::function<void()> openPointPalette;
    std::function<void()> storePointPalette;
    std::function<void()> initPointPalette;
    std::function<void()> closePointPalette;
    // "An outline still exist...": true for "Keep", false for "Substitute".
    std::function<bool()> keepExistingOutline;
    // The tool palette: its coordinate display is prepared for an input and follows the cursor through
    // `coordinateFeedback` (null: no display), and its tool input is reset.
    std::function<void()> updateCoordinateFields;
    API_RubberLineInputProc* coordinateFeedback = nullptr;
    std::function<void()> resetToolInput;
};

const TerrainInputHooks& DefaultTerrainInputHooks();
TerrainInputHooks& WiredTerrainInputHooks();
void ResetTerrainInputHooks();
