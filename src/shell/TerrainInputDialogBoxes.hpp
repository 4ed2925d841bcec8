#pragma once
// The terrain input tools' dialogs and palettes as the user sees them: the point, constraint and outline settings
// dialogs and the keep-or-substitute alert of dialogs/, the point-input palette, the tool palette's coordinate
// display and input reset. Made by the shell when the module starts (shell/Wiring) and handed down through the
// commands.
#include "terrain/TerrainInputDialogs.hpp"

class TerrainInputDialogBoxes final : public TerrainInputDialogs {
public:
    DialogAnswer OpenPointSettings(PointSettings& record, uint8_t (&changed)[PointSettings::FieldCount],
                                   SettingsMode mode) override;
    DialogAnswer OpenConstraintSettings(ConstraintSettings& record, ConstraintSettings::Changed& changed,
                                        SettingsMode mode) override;
    DialogAnswer OpenOutlineSettings(OutlineSettings& record, OutlineSettings::Changed& changed,
                                     OutlineSearchValues& search, SettingsMode mode) override;
    bool KeepExistingOutline() override;
    bool OpenPointPalette(const PointSettings& shown) override;
    void StorePointPalette(PointSettings& into) override;
    void InitPointPalette(const PointSettings& shown) override;
    void ClosePointPalette() override;
    void PrepareCoordinateFields() override;
    API_RubberLineInputProc* CoordinateFeedback() override;
    void ResetToolInput() override;
};
