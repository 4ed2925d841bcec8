#include "settings/Settings.hpp"

#include "settings/SharedEmptyText.hpp"

Settings GlobalSettings;

void Settings::Reset() {
    points.Reset();
    constraint.Reset();
    outline.Reset();
    terrain.Reset();
    contour.Reset();
    plateau.Reset();
    road.Reset();
    section.Reset();
    paint.Reset();
    wall.Reset();
    building.Reset();
    sidewalk.Reset();
    basin.Reset();
    marker.Reset();
    retainingWall.Reset();
    misc.Reset();
    slopeRange.Reset();
    bridge.Reset();
    railway.Reset();
    misc.sosiChoice = 1;
    misc.sosiChoice2 = 1;
    misc.roadReferenceLine = 2;
    misc.railwayReferenceLine = 2;
    firstCount = 0;
    editedCount = 0;
}

int32_t Settings::GetShortSigned(uint32_t kind, int16_t id) const {
    switch (kind) {
        case 0: return misc.GetShort(id);
        case 1: return points.GetShort(id);
        case 2: return constraint.GetShort(id);
        case 3: return outline.GetShort(id);
        case 4: return terrain.GetShort(id);
        case 5: return contour.GetShort(id);
        case 6: return road.GetShort(id);
        case 7: return plateau.GetShort(id);
        case 8: return paint.GetShort(id);
        case 9: return building.GetShort(id);
        case 10: return wall.GetShort(id);
        case 11: return sidewalk.GetShort(id);
        case 12: return basin.GetShort(id);
        case 13:
        case 14: return marker.GetShort(id);
        case 15: return retainingWall.GetShort(id);
        case 16: return section.GetShort(id);
        case 18: return slopeRange.GetShort(id);
        case 20: return bridge.GetShort(id);
        case 21: return railway.GetShort(id);
        default: return 0;
    }
}

int32_t Settings::GetInt(uint32_t kind, int16_t id) const { return uint16_t(GetShortSigned(kind, id)); }

void Settings::SetShort(uint32_t kind, int16_t id, int16_t value) {
    switch (kind) {
        case 0: misc.SetShort(id, value); break;
        case 1: points.SetShort(id, value); break;
        case 2: constraint.SetShort(id, value); break;
        case 3: outline.SetShort(id, value); break;
        case 4: terrain.SetShort(id, value); break;
        case 5: contour.SetShort(id, value); break;
        case 6: road.SetShort(id, value); break;
        case 7: plateau.SetShort(id, value); break;
        case 8: paint.SetShort(id, value); break;
        case 9: building.SetShort(id, value); break;
        case 10: wall.SetShort(id, value); break;
        case 11: sidewalk.SetShort(id, value); break;
        case 12: basin.SetShort(id, value); break;
        case 13:
        case 14: marker.SetShort(id, value); break;
        case 15: retainingWall.SetShort(id, value); break;
        case 16: section.SetShort(id, value); break;
        case 18: slopeRange.SetShort(id, value); break;
        case 20: bridge.SetShort(id, value); break;
        case 21: railway.SetShort(id, value); break;
        default: break;
    }
}

double Settings::GetDouble(uint32_t kind, int16_t id) const {
    switch (kind) {
        case 18: return slopeRange.GetReal(id);
        case 1: return points.GetReal(id);
        case 0: return misc.GetReal(id);
        case 8: return paint.GetReal(id);
        case 10: return wall.GetReal(id);
        case 15: return retainingWall.GetReal(id);
        case 16: return section.GetReal(id);
        case 5: return contour.GetReal(id);
        case 6: return road.GetReal(id);
        case 7: return plateau.GetReal(id);
        case 9: return building.GetReal(id);
        case 12: return basin.GetReal(id);
        case 13:
        case 14: return marker.GetReal(id);
        case 20: return bridge.GetReal(id);
        case 21: return railway.GetReal(id);
        default: return 0.0;  // kind 11: the sidewalk's thickness has no id here
    }
}

void Settings::SetDouble(uint32_t kind, int16_t id, double value) {
    switch (kind) {
        case 18: slopeRange.SetReal(id, value); break;
        case 1: points.SetReal(id, value); break;
        case 0: misc.SetReal(id, value); break;
        case 8: paint.SetReal(id, value); break;
        case 10: wall.SetReal(id, value); break;
        case 15: retainingWall.SetReal(id, value); break;
        case 16: section.SetReal(id, value); break;
        case 5: contour.SetReal(id, value); break;
        case 6: road.SetReal(id, value); break;
        case 7: plateau.SetReal(id, value); break;
        case 9: building.SetReal(id, value); break;
        case 12: basin.SetReal(id, value); break;
        case 13:
        case 14: marker.SetReal(id, value); break;
        case 20: bridge.SetReal(id, value); break;
        case 21: railway.SetReal(id, value); break;
        default: break;
    }
}

QV_String* Settings::TextField(uint32_t kind, int16_t id) {
    switch (kind) {
        case 0: return misc.Text(id);
        case 1: return points.Text(id);
        case 3: return outline.Text(id);
        case 4: return terrain.Text(id);
        case 6: return road.Text(id);
        case 7: return plateau.Text(id);
        case 8: return paint.Text(id);
        case 9: return building.Text(id);
        case 10: return wall.Text(id);
        case 11: return sidewalk.Text(id);
        case 12: return basin.Text(id);
        case 13:
        case 14: return marker.Text(id);
        case 15: return retainingWall.Text(id);
        case 16: return section.Text(id);
        case 18: return slopeRange.Text(id);
        case 20: return bridge.Text(id);
        case 21: return railway.Text(id);
        default: return nullptr;
    }
}

const QV_String& Settings::GetString(uint32_t kind, int16_t id) const {
    const QV_String* field = const_cast<Settings*>(this)->TextField(kind, id);
    return field != nullptr ? *field : SharedEmptyText();
}

void Settings::SetString(uint32_t kind, int16_t id, const QV_String& text) {
    if (QV_String* field = TextField(kind, id)) *field = text;
}

void Settings::SetBuiltInDefaults(const QV_String& defaultFont) {
    points.SetDefaults();
    constraint.SetDefaults();
    outline.SetDefaults();
    terrain.SetDefaults();
    contour.SetDefaults();
    plateau.SetDefaults();
    road.SetDefaults();
    section.SetDefaults(defaultFont);
    paint.SetDefaults();
    wall.SetDefaults();
    building.SetDefaults();
    sidewalk.SetDefaults();
    basin.SetDefaults();
    marker.SetDefaults(defaultFont);
    retainingWall.SetDefaults();
    misc.SetDefaults();
    slopeRange.SetDefaults(defaultFont);
    bridge.SetDefaults();
    railway.SetDefaults();
}

void Settings::SetAfterLoadValues() {
    points.SetUnkeptDefaults();
    contour.SetPrefsDefaults();
    road.SetUnkeptDefaults();
    plateau.SetUnkeptDefaults();
    wall.SetDefault(WallData::Id::side);
    building.SetUnkeptDefaults();
    // The sidewalk's materials are kept with the preferences but start each session at their defaults.
    for (int16_t id :
         {SidewalkSettings::Id::levelMaterial, SidewalkSettings::Id::fillMaterial, SidewalkSettings::Id::cutMaterial})
        sidewalk.SetDefault(id);
    // The basin's level material is kept with the preferences but starts each session at its default.
    for (int16_t id : {BasinSettings::Id::levelMaterial, BasinSettings::Id::showFill, BasinSettings::Id::layer})
        basin.SetDefault(id);
    marker.SetUnkeptDefaults();
    misc.SetUnkeptDefaults();
    slopeRange.SetUnkeptDefaults();
    bridge.SetDefault(BridgeSettings::Id::side);
    for (int16_t id : {RailwaySettings::Id::layer, RailwaySettings::Id::obstacleShow2D,
                       RailwaySettings::Id::obstaclePen, RailwaySettings::Id::obstacleLineType})
        railway.SetDefault(id);

    // Fields that neither the preferences nor the steps above carry keep what they held, which is 0 on a
    // first load. A zero here is never a usable value (no track, a gauge or tie spacing of 0, a basin without
    // depth, no rail or tie material), so such a field takes the tool's own default; a value a dialog set in
    // this session stays.
    if (basin.level == 0.0) basin.SetDefault(BasinSettings::Id::level);
    if (bridge.tieSpacing == 0.0) bridge.SetDefault(BridgeSettings::Id::tieSpacing);
    if (bridge.gauge == 0.0) bridge.SetDefault(BridgeSettings::Id::gauge);
    if (railway.railMaterial == 0) railway.SetDefault(RailwaySettings::Id::railMaterial);
    if (railway.tieMaterial == 0) railway.SetDefault(RailwaySettings::Id::tieMaterial);
    if (railway.firstTrack == 0 && railway.secondTrack == 0) railway.SetDefault(RailwaySettings::Id::firstTrack);
    if (railway.gauge == 0.0) railway.SetDefault(RailwaySettings::Id::gauge);
    if (railway.tieSpacing == 0.0) railway.SetDefault(RailwaySettings::Id::tieSpacing);
}

void Settings::SetLayerFields(int16_t layer) {
    const auto unsignedLayer = uint16_t(layer);
    points.layer = layer;
    constraint.layer = layer;
    outline.layer = unsignedLayer;
    terrain.layer = unsignedLayer;
    contour.layer = unsignedLayer;
    contour.altitude.layer = layer;
    plateau.layer = unsignedLayer;
    road.layer = layer;
    section.layer = unsignedLayer;
    paint.layer = layer;
    wall.layer = layer;
    building.layer = layer;
    sidewalk.layer = layer;
    basin.layer = layer;
    marker.layer = layer;
    retainingWall.layer = layer;
    slopeRange.layer = unsignedLayer;
    bridge.layer = layer;
    railway.layer = layer;
}

void SetSurfaceAttributes(Settings& settings, int16_t show2D, int16_t pen, int16_t lineType) {
    settings.road.obstacleShow2D = show2D;
    settings.road.obstaclePen = pen;
    settings.road.obstacleLineType = lineType;
    settings.railway.obstacleShow2D = show2D;
    settings.railway.obstaclePen = pen;
    settings.railway.obstacleLineType = lineType;
    settings.misc.obstacleShow2D = show2D;
    settings.misc.obstaclePen = pen;
    settings.misc.obstacleLineType = lineType;
    settings.plateau.obstacleShow2D = uint16_t(show2D);
    settings.plateau.obstaclePen = uint16_t(pen);
    settings.plateau.obstacleLineType = uint16_t(lineType);
}
