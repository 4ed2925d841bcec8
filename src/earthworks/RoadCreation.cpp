// The road commands: a road along a polyline or on the strip of a fill, and the settings of placed roads changed.
#include "earthworks/Road.hpp"
#include "earthworks/RoadTwin.hpp"

int32_t RoadCls::CreateOnFill(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                              const API_Element& fill, const API_Element& terrain) {
    return CreateTwinOnFill(*this, store, dialogs, contours, fill, terrain);
}

int32_t RoadCls::CreateAlongPolyline(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                     const API_Element& polyline, const API_Element& terrain) {
    return CreateTwinAlongPolyline(*this, store, dialogs, contours, polyline, terrain);
}

void CopyChangedFields(const uint8_t changed[RoadFieldCount], RoadSettings& target, const RoadSettings& source) {
    for (int16_t id = 0; id < RoadFieldCount; ++id) {
        // The layer, the name and the pen are the objects' records', not their parameters'.
        if (changed[id] == 0 || id == RoadSettings::Id::layer || id == RoadSettings::Id::name ||
            id == RoadSettings::Id::pen)
            continue;
        target.CopyField(source, id);
    }
}

bool RoadCls::ReadSettingsFromObject(const QV_List<API_Element>& roads) {
    return ReadSetSettings<RoadLP>(roads, ElemKind_Road, settings, true);
}

bool RoadCls::ApplyToSelected(QV_List<API_Element>& roads) { return ApplyTwinToSelected(*this, roads); }

int32_t RoadCls::ModifySelected(const Settings& store, EarthworkDialogs& dialogs, const QV_List<API_Element>& roads) {
    return ModifyTwinSelected(*this, store, dialogs, roads);
}
