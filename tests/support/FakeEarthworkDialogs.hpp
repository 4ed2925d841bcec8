#pragma once
// The earthworks' dialogs as a test answers them: each one a function the test sets. One left unset answers as the
// user who cancels; the palette notices are counted, and the mode each settings dialog was asked with is kept.
#include "earthworks/EarthworkDialogs.hpp"

#include <functional>
#include <vector>

struct FakeEarthworkDialogs final : EarthworkDialogs {
    std::function<bool(RoadDialogState&, int32_t)> road;
    std::function<bool(RailwayDialogState&)> railway;
    std::function<bool(SectionDialogState&)> section;
    std::function<bool(RetainerWallDialogState&)> retainerWall;
    std::function<bool(BasinSettings&, uint8_t (&)[Basin::BasinFieldCount])> basin;
    std::function<bool(BridgeSettings&, uint8_t (&)[BridgeFieldCount], bool)> bridge;
    std::function<bool(PlateauDialogState&, int32_t)> plateau;
    std::function<bool(SidewalkDialogState&, int32_t)> sidewalk;
    int sectionWindowNotices = 0;
    std::vector<SettingsMode> modes;  // one per settings dialog asked, in order

    bool OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return road && road(state, layout);
    }
    bool OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return railway && railway(state);
    }
    bool OpenSectionSettings(SectionDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return section && section(state);
    }
    bool OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return retainerWall && retainerWall(state);
    }
    bool OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                           SettingsMode mode) override {
        modes.push_back(mode);
        return basin && basin(record, changed);
    }
    bool OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount], bool railwayLock,
                            SettingsMode mode) override {
        modes.push_back(mode);
        return bridge && bridge(record, changed, railwayLock);
    }
    bool OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return plateau && plateau(state, layout);
    }
    bool OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) override {
        modes.push_back(mode);
        return sidewalk && sidewalk(state, layout);
    }
    void SectionWindowRebuilt() override { ++sectionWindowNotices; }
};
