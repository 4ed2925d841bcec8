// The road commands: a road along a polyline or on the strip of a fill, and the settings of placed roads changed.
#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Road.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "foundation/ErrorCode.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OutlinePrims.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/OutlineOffset.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include <cstring>

namespace {
constexpr int16_t GeneralKind = 0;
constexpr int16_t RoadWidthField = 5;
constexpr int16_t PositionField = 14;

void StoreDefaults(const RoadSettings& settings) {
    GlobalSettings.road = settings;
    SetSurfaceAttributes(GlobalSettings, settings.obstacleShow2D, settings.obstaclePen, settings.obstacleLineType);
}

}  // namespace

int32_t RoadCls::CreateOnFill(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& fill,
                              const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String("VY_ROAD"), roadLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    pickHead = fill.header;
    if (!ReadElement(terrain, true) || !BuildPrimitives(PrimitiveOptions().FillPrims().CloseCodes()))
        return ErrModifying;
    settings = GlobalSettings.road;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, false, false, false) != 0) return 0;
    StoreDefaults(settings);
    if (!InputPolygonStep(*this) || !SplitRingAtSides(*this)) return 0;
    // Both chains run on from the first side; the right one is turned to run beside the left.
    ReverseChain(chainB);
    if (!RunEarthworkCommand([&] { return BuildPointElementFromList(*this) && DrapeEdges() && BuildObjects(); }))
        return ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

int32_t RoadCls::CreateAlongPolyline(EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                     const API_Element& polyline, const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String("VY_ROAD"), roadLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    pickHead = polyline.header;
    if (!ReadElement(terrain, true) ||
        !ReadElementPolygon(polyline.header.guid, points3D, points2D, polyPrims, closedRing))
        return ErrModifying;
    settings = GlobalSettings.road;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, true, true, false) != 0) return 0;
    StoreDefaults(settings);
    const double width = GlobalSettings.GetDouble(GeneralKind, RoadWidthField);
    const int32_t mode = GlobalSettings.GetInt(GeneralKind, PositionField);

    if (!BuildEdgesAlongPolyline(*this, width, mode)) return ErrModifying;
    if (!RunEarthworkCommand([&] { return DrapeEdges() && BuildObjects(); })) return ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

void CopyChangedFields(const uint8_t changed[RoadFieldCount], RoadSettings& target, const RoadSettings& source) {
    for (int16_t id = 1; id < RoadFieldCount; ++id) {
        if (changed[id] == 0 || id == 5 || id == 12) continue;
        if (id <= 4 || id >= 16)
            target.SetDoubleByItem(id, source.GetDoubleByItem(id));
        else
            target.SetLongByItem(id, int16_t(source.GetLongByItem(id)));
    }
}

bool RoadCls::ReadSettingsFromObject(const QV_List<API_Element>& roads) {
    return ReadSetSettings<RoadLP>(roads, ElemKind_Road, settings);
}

bool RoadCls::ApplyToSelected(QV_List<API_Element>& roads) {
    bool any = false;
    for (uint8_t flag : changed) any = any || flag != 0;
    if (!any) return true;
    ACAPI_Element_DeselectAll();
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    if (changed[0] != 0) std::memset(&mask.header.layer, 0xFF, sizeof mask.header.layer);
    if (changed[12] != 0) std::memset(&mask.object.pen, 0xFF, sizeof mask.object.pen);
    for (int32_t i = 0; i < roads.GetCount(); ++i) {
        API_Element& road = roads[i];
        road.header.layer = settings.layer;
        road.object.pen = settings.pen;
        if (!RewriteChangedSettings<RoadLP>(road, ElemKind_Road, changed, settings, mask)) return false;
        if (SyncSiblingObjects(road.header, ElemKind_Road, false) == 0) return false;
    }
    return true;
}

int32_t RoadCls::ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& roads) {
    QV_List<API_Element> list = roads;
    return ModifyEarthworkSelection(
        [&] { return ReadSettingsFromObject(roads); },
        [&] { return RunSettingsDialog(dialogs, SettingsMode::Editing(roads.GetCount()), false, false, true); },
        [&] { return ApplyToSelected(list); });
}
