#include "shell/TerrainInputDialogBoxes.hpp"

#include "dialogs/settings/ConstraintSettingsDialog.hpp"
#include "dialogs/settings/OutlineSettingsDialog.hpp"
#include "dialogs/settings/PointSettingsDialog.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "dialogs/tools/PointInputPalette.hpp"
#include "foundation/Language.hpp"
#include "shell/CoordinateDisplay.hpp"
#include "shell/ToolsPalette.hpp"
#include "terrain/ToolInput.hpp"

DialogAnswer TerrainInputDialogBoxes::OpenPointSettings(PointSettings& record,
                                                        uint8_t (&changed)[PointSettings::FieldCount],
                                                        SettingsMode mode) {
    return RunPointSettingsDialog(record, changed, mode);
}

DialogAnswer TerrainInputDialogBoxes::OpenConstraintSettings(ConstraintSettings& record,
                                                             ConstraintSettings::Changed& changed, SettingsMode mode) {
    return RunConstraintSettingsDialog(record, changed, mode);
}

DialogAnswer TerrainInputDialogBoxes::OpenOutlineSettings(OutlineSettings& record, OutlineSettings::Changed& changed,
                                                          OutlineSearchValues& search, SettingsMode mode) {
    OutlineDialogRecord dialog;
    dialog.settings = record;
    dialog.corridorWidth = search.corridorWidth;
    dialog.searchAngle = search.searchAngle;
    dialog.searchType = search.searchType;
    dialog.typeSelectable = search.typeSelectable;
    dialog.corridorLocked = search.corridorLocked;
    if (RunOutlineSettingsDialog(dialog, changed, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    record = dialog.settings;
    search.corridorWidth = dialog.corridorWidth;
    search.searchAngle = dialog.searchAngle;
    search.searchType = dialog.searchType;
    return DialogAnswer::Confirmed;
}

bool TerrainInputDialogBoxes::KeepExistingOutline() {
    QV_String text, keep, substitute;
    GetResString(text, ImportTableBase + LanguageIndex, 29);
    GetResString(keep, ImportTableBase + LanguageIndex, 30);
    GetResString(substitute, ImportTableBase + LanguageIndex, 31);
    // Not asked: the outline the user has stays.
    const int16_t answer =
        ShowAlert(AlertKind::Question, text, QV_String(), QV_String(), keep, substitute, QV_String());
    return answer != 2;
}

bool TerrainInputDialogBoxes::OpenPointPalette(const PointSettings& shown) {
    InitPointInputPalette(PointInputPaletteGlobalState, shown);
    OpenPointInputPalette(PointInputPaletteGlobalState, 0);
    return PointInputPaletteGlobalState.dialogId != 0;
}

void TerrainInputDialogBoxes::StorePointPalette(PointSettings& into) {
    StorePointInputPaletteValues(PointInputPaletteGlobalState, into);
}

void TerrainInputDialogBoxes::InitPointPalette(const PointSettings& shown) {
    InitPointInputPalette(PointInputPaletteGlobalState, shown);
}

void TerrainInputDialogBoxes::ClosePointPalette() { ClosePointInputPalette(PointInputPaletteGlobalState); }

void TerrainInputDialogBoxes::PrepareCoordinateFields() { PrepareCoordinateDisplay(ToolsPalette()); }

API_RubberLineInputProc* TerrainInputDialogBoxes::CoordinateFeedback() { return ::CoordinateFeedback; }

void TerrainInputDialogBoxes::ResetToolInput() { ::ResetToolInput(ToolsPalette()); }
