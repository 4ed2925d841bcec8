#include "earthworks/Railway.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/RoadTwin.hpp"

#include <cstring>

RailwayCls::RailwayCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

RailwaySettings& RailwayCls::Defaults(Settings& store) { return store.railway; }

DialogAnswer RailwayCls::RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                           uint32_t bits) {
    RailwayDialogState state;
    state.record = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    state.radiosEnabled = (bits & TwinDialog::PositionChoice) != 0 ? 1 : 0;
    state.valuesEditable = (bits & TwinDialog::DefaultWidth) != 0 ? 1 : 0;
    state.valuesLocked = (bits & TwinDialog::Editing) != 0 ? 1 : 0;
    state.width = state.valuesEditable != 0 ? misc.roadWidth : 0.1;
    state.referenceLine = misc.railwayReferenceLine;
    // The single layout has no other to switch to: anything but OK is a cancel.
    if (dialogs.OpenRailwaySettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    stripWidth = state.width;
    stripWidthChosen = state.valuesEditable != 0 && state.valuesLocked == 0;
    referenceLine = state.referenceLine;
    return DialogAnswer::Confirmed;
}

int32_t RailwayCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    return EditTwinDefaults(*this, store, dialogs);
}

bool RailwayCls::DrapeEdges() { return DrapeEdgeLines(element, chainA, chainB, left3D, right3D); }

void RailwayCls::TranslateAll(const API_Coord& origin) { TranslateEdgeSet(*this, origin); }

bool RailwayCls::WriteNoOriginal(RailwayLP& view) {
    API_Guid original = APINULLGuid;
    return RailwayLP::ExchangeLinkFlag(view, original, LPMode_Set);
}

CommandEnd RailwayCls::BuildObjects() { return BuildTwinObjects(*this); }

int32_t RailwayCls::CreateOnFill(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                 const API_Element& fill, const API_Element& terrain) {
    return CreateTwinOnFill(*this, store, dialogs, contours, fill, terrain);
}

int32_t RailwayCls::CreateAlongPolyline(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                        const API_Element& polyline, const API_Element& terrain) {
    return CreateTwinAlongPolyline(*this, store, dialogs, contours, polyline, terrain);
}

void CopyChangedFields(const uint8_t changed[RailwayFieldCount], RailwaySettings& target,
                       const RailwaySettings& source) {
    for (int16_t id = 0; id < RailwayFieldCount; ++id) {
        // The layer, the name and the pen are the objects' records', not their parameters'.
        if (changed[id] == 0 || id == RailwaySettings::Id::layer || id == RailwaySettings::Id::name ||
            id == RailwaySettings::Id::pen)
            continue;
        target.CopyField(source, id);
    }
}

bool RailwayCls::ReadSettingsFromObject(const QV_List<API_Element>& railways) {
    return ReadSetSettings<RailwayLP>(railways, ElemKind_Railway, settings, true);
}

bool RailwayCls::ApplyToSelected(QV_List<API_Element>& railways) { return ApplyTwinToSelected(*this, railways); }

int32_t RailwayCls::ModifySelected(const Settings& store, EarthworkDialogs& dialogs,
                                   const QV_List<API_Element>& railways) {
    return ModifyTwinSelected(*this, store, dialogs, railways);
}
