#include "earthworks/Road.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/RoadTwin.hpp"
#include "foundation/DialogLayouts.hpp"
#include "settings/Settings.hpp"

#include <cstring>

RoadCls::RoadCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

RoadSettings& RoadCls::Defaults(Settings& store) { return store.road; }

int32_t RoadCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    return EditTwinDefaults(*this, store, dialogs);
}

DialogAnswer RoadCls::RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                        uint32_t options) {
    return RunSettingsDialog(misc, dialogs, mode, (options & TwinDialog::PositionChoice) != 0,
                             (options & TwinDialog::DefaultWidth) != 0, (options & TwinDialog::Editing) != 0);
}

DialogAnswer RoadCls::RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                        bool enablePosition, bool useDefaultWidth, bool editing) {
    RoadDialogState state;
    state.record = settings;
    state.work = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    state.width = useDefaultWidth ? misc.roadWidth : 0.1;
    state.widthEditable = useDefaultWidth ? 1 : 0;
    state.widthLocked = editing ? 1 : 0;
    state.radiosEnabled = enablePosition ? 1 : 0;
    state.referenceLine = misc.roadReferenceLine;
    const DialogAnswer answer =
        RunStateLayouts(state, [&](int32_t layout) { return dialogs.OpenRoadSettings(state, layout, mode); });
    if (answer == DialogAnswer::Confirmed) {
        settings = state.record;
        std::memcpy(changed, state.changed, sizeof changed);
        stripWidth = state.width;
        stripWidthChosen = state.widthEditable != 0;
        referenceLine = state.referenceLine;
    }
    return answer;
}
