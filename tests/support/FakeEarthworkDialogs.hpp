#pragma once
// The earthworks' dialogs as a test answers them: each one a function the test sets. One left unset answers as the
// user who cancels; the palette notices are counted, and the mode each settings dialog was asked with is kept.
#include "earthworks/EarthworkDialogs.hpp"

#include <functional>
#include <vector>

struct FakeEarthworkDialogs final : EarthworkDialogs {
    std::function<DialogAnswer(RoadDialogState&, int32_t)> road;
    std::function<DialogAnswer(RailwayDialogState&)> railway;
    std::function<DialogAnswer(SectionDialogState&)> section;
    std::function<DialogAnswer(RetainerWallDialogState&)> retainerWall;
    std::function<DialogAnswer(BasinSettings&, uint8_t (&)[Basin::BasinFieldCount])> basin;
    std::function<DialogAnswer(BridgeSettings&, uint8_t (&)[BridgeFieldCount], bool)> bridge;
    std::function<DialogAnswer(PlateauDialogState&, int32_t)> plateau;
    std::function<DialogAnswer(SidewalkDialogState&, int32_t)> sidewalk;
    int sectionWindowNotices = 0;
    std::vector<SettingsMode> modes;  // one per settings dialog asked, in order

    DialogAnswer OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return road ? road(state, layout) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return railway ? railway(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenSectionSettings(SectionDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return section ? section(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return retainerWall ? retainerWall(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                   SettingsMode mode) override {
        modes.push_back(mode);
        return basin ? basin(record, changed) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount], bool railwayLock,
                                    SettingsMode mode) override {
        modes.push_back(mode);
        return bridge ? bridge(record, changed, railwayLock) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return plateau ? plateau(state, layout) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return sidewalk ? sidewalk(state, layout) : DialogAnswer::Cancelled;
    }
    void SectionWindowRebuilt() override { ++sectionWindowNotices; }
};
