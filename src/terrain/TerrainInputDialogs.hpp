#pragma once
// What the point, constraint and outline tools ask of higher subsystems: their settings dialogs, the point-input
// palette and the tool palette's input state. The shell implements it (shell/TerrainInputDialogBoxes) and hands it
// to the commands, which give it to the tool they build; a test passes its own the same way.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/ConstraintSettings.hpp"
#include "settings/OutlineSettings.hpp"
#include "settings/PointSettings.hpp"

#include "APIInteraction.hpp"

#include <cstdint>

// The outline dialog's search values: the corridor width and angle as the dialog shows them (width as stored,
// angle in radians) and the search type (1 polygonal, 0 rectangular).
struct OutlineSearchValues {
    bool typeSelectable = true;
    bool corridorLocked = false;
    double corridorWidth = 0.0;
    double searchAngle = 0.0;
    uint16_t searchType = 1;
};

class TerrainInputDialogs {
public:
    virtual ~TerrainInputDialogs() = default;

    // The settings dialogs in their two layouts; confirmed, with the changed flags by field id.
    virtual DialogAnswer OpenPointSettings(PointSettings& record, uint8_t (&changed)[PointSettings::FieldCount],
                                           SettingsMode mode) = 0;
    virtual DialogAnswer OpenConstraintSettings(ConstraintSettings& record, ConstraintSettings::Changed& changed,
                                                SettingsMode mode) = 0;
    // Confirmed, the search values come back as the dialog returns them (width as entered, angle in radians).
    virtual DialogAnswer OpenOutlineSettings(OutlineSettings& record, OutlineSettings::Changed& changed,
                                             OutlineSearchValues& search, SettingsMode mode) = 0;
    // "An outline still exist...": true for "Keep", false for "Substitute".
    virtual bool KeepExistingOutline() = 0;
    // The point-input palette: open showing `shown` (false when it cannot be shown, so that the user's entries
    // cannot reach the points), what its items hold into `into`, `shown` into the items, close.
    virtual bool OpenPointPalette(const PointSettings& shown) = 0;
    virtual void StorePointPalette(PointSettings& into) = 0;
    virtual void InitPointPalette(const PointSettings& shown) = 0;
    virtual void ClosePointPalette() = 0;
    // The tool palette: its coordinate display is prepared for an input and follows the cursor through the
    // feedback function (null: no display), and its tool input is reset.
    virtual void PrepareCoordinateFields() = 0;
    virtual API_RubberLineInputProc* CoordinateFeedback() = 0;
    virtual void ResetToolInput() = 0;
};
