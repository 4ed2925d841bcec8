#include "earthworks/Road.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ModuleLog.hpp"
#include "settings/Settings.hpp"

#include <cstring>

namespace {
constexpr int16_t GeneralKind = 0;
constexpr int16_t RoadWidthField = 5;
constexpr int16_t ReferenceLineField = 14;
}  // namespace

RoadCls::RoadCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

int32_t RoadCls::EditDefaults(EarthworkDialogs& dialogs) {
    settings = GlobalSettings.road;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, true, false, false) != 0) return 0;
    GlobalSettings.road = settings;
    SetSurfaceAttributes(GlobalSettings, settings.obstacleShow2D, settings.obstaclePen, settings.obstacleLineType);
    return 0;
}

int32_t RoadCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, bool enablePosition,
                                   bool useDefaultWidth, bool editing) {
    RoadDialogState state;
    state.record = settings;
    state.work = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    state.width = useDefaultWidth ? GlobalSettings.GetDouble(GeneralKind, RoadWidthField) : 0.1;
    state.widthEditable = useDefaultWidth ? 1 : 0;
    state.widthLocked = editing ? 1 : 0;
    state.radiosEnabled = enablePosition ? 1 : 0;
    state.referenceLine = int16_t(GlobalSettings.GetInt(GeneralKind, ReferenceLineField));
    for (int32_t layout = 0;; layout = 1 - layout) {
        state.layoutSwitch = 0;
        if (dialogs.OpenRoadSettings(state, layout, mode)) {
            settings = state.record;
            std::memcpy(changed, state.changed, sizeof changed);
            return 0;
        }
        if (state.layoutSwitch == 0) return 1;
        state.carryWork = 1;
    }
}
