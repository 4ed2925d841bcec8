#pragma once
// The terrain input tools' dialogs and palettes as a test answers them: each one a function the test sets. A
// dialog left unset answers as the user who cancels, an unset alert keeps the existing outline, and an unset
// palette step does nothing.
#include "terrain/TerrainInputDialogs.hpp"

#include <functional>

struct FakeTerrainInputDialogs final : TerrainInputDialogs {
    std::function<DialogAnswer(PointSettings&, uint8_t (&)[6])> pointSettings;
    std::function<DialogAnswer(ConstraintSettings&, ConstraintSettings::Changed&)> constraintSettings;
    std::function<DialogAnswer(OutlineSettings&, OutlineSettings::Changed&, OutlineSearchValues&)> outlineSettings;
    std::function<bool()> keepExistingOutline;
    std::function<void()> openPointPalette, storePointPalette, initPointPalette, closePointPalette;

    DialogAnswer OpenPointSettings(PointSettings& record, uint8_t (&changed)[PointSettings::FieldCount],
                                   SettingsMode) override {
        return pointSettings ? pointSettings(record, changed) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenConstraintSettings(ConstraintSettings& record, ConstraintSettings::Changed& changed,
                                        SettingsMode) override {
        return constraintSettings ? constraintSettings(record, changed) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenOutlineSettings(OutlineSettings& record, OutlineSettings::Changed& changed,
                                     OutlineSearchValues& search, SettingsMode) override {
        return outlineSettings ? outlineSettings(record, changed, search) : DialogAnswer::Cancelled;
    }
    bool KeepExistingOutline() override { return !keepExistingOutline || keepExistingOutline(); }
    bool OpenPointPalette(const PointSettings&) override {
        Run(openPointPalette);
        return true;
    }
    void StorePointPalette(PointSettings&) override { Run(storePointPalette); }
    void InitPointPalette(const PointSettings&) override { Run(initPointPalette); }
    void ClosePointPalette() override { Run(closePointPalette); }
    void PrepareCoordinateFields() override {}
    API_RubberLineInputProc* CoordinateFeedback() override { return nullptr; }
    void ResetToolInput() override {}

private:
    static void Run(const std::function<void()>& step) {
        if (step) step();
    }
};
