#include "shell/commands/DataUpdate.hpp"

#include "dialogs/tools/UpdateConfirmDialog.hpp"
#include "earthworks/Basin.hpp"
#include "earthworks/Bridge.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "earthworks/Sidewalk.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/KindName.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/ShellState.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Marker.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Wall.hpp"
#include "terrain/TerrainFromMesh.hpp"

namespace {

// The ports the update's cases ask through.
struct DataUpdatePorts {
    EarthworkDialogs& earthworks;
    SiteObjectDialogs& siteObjects;
    ContourLineRefresh& contours;
};

int32_t MarkerClsRebuild(const Settings& settings, SiteObjectDialogs& siteObjects, const API_Element& marker,
                         const API_Element& terrain) {
    MarkerCls cls(settings.marker.font);
    return cls.Rebuild(siteObjects, terrain, marker);
}

// The error alert of `code` with the objects it left as they were beneath it.
Alert NamingWhatWasLeft(int32_t code, const QV_String& names) {
    return Alert(code).Beneath(AlertText{ErrorTableBase, NotUpdatedText}).With(names);
}

// The objects of `all` that `done` does not hold.
QV_List<API_Element> Without(const QV_List<API_Element>& all, const QV_List<API_Element>& done) {
    QV_List<API_Element> rest;
    for (const API_Element& object : all) {
        bool found = false;
        for (const API_Element& d : done) found = found || d.header.guid == object.header.guid;
        if (!found) rest.Insert(object);
    }
    return rest;
}

// Every object of the list in one undo step; one that fails is reported once at the end and the others still run.
// A failed update may have left its object half rebuilt, so the command is taken back whole and run again on the
// objects that did not fail: none is left half rebuilt. The alert names those left as they were.
template <typename UpdateOne>
Alert UpdateEachInOneStep(const QV_List<API_Element>& objects, int32_t kind, UpdateOne&& update) {
    QV_List<API_Element> left = objects;
    QV_List<API_Element> done;
    int32_t result = 0;
    while (left.GetCount() > 0) {
        QV_List<API_Element> updated;
        bool failed = false;
        const bool ran = RunWholeCommand([&] {
            updated.Clear();
            for (const API_Element& object : left)
                if (!update(object))
                    failed = true;
                else if (!updated.Insert(object))
                    return false;
            return !failed;
        });
        if (ran) {
            done = left;
            break;
        }
        result = ErrUpdateFailed;
        // A command the host would not run ends the update; else each pass leaves out the objects that failed.
        if (!failed) break;
        left = updated;
    }
    if (result == 0) return Alert();
    return NamingWhatWasLeft(result, ObjectNames(Without(objects, done), objects, kind));
}

Alert WallUpdate(const QV_List<API_Element>& walls) {
    return UpdateEachInOneStep(walls, ElemKind_Wall, [](const API_Element& wall) {
        WallCls cls;
        return cls.RebuildObject(wall);
    });
}

int32_t BuildingRebuild(const API_Element& building) {
    BuildingCls cls;
    return cls.Rebuild(building);
}

int32_t PaintClsRebuild(ContourLineRefresh& contours, const API_Element& area) {
    PaintCls cls;
    return cls.Rebuild(contours, area);
}

Alert BridgeClsUpdate(const QV_List<API_Element>& bridges) {
    return UpdateEachInOneStep(bridges, ElemKind_Bridge, [](const API_Element& bridge) {
        BridgeCls cls;
        return cls.Update(bridge);
    });
}

int32_t BasinClsUpdateBuilder(const API_Element& basin) {
    Basin::BasinCls cls;
    return cls.UpdateBuilder(basin);
}

int32_t DiggingClsRebuild(ContourLineRefresh& contours, const API_Element& plateau) {
    DiggingCls cls;
    return cls.Rebuild(contours, plateau);
}

int32_t SideWalkClsUpdate(ContourLineRefresh& contours, const API_Element& sidewalk) {
    SideWalkCls cls;
    return cls.Update(contours, sidewalk);
}

int32_t ObstacleClsRebuild(const Settings& settings, ContourLineRefresh& contours, const API_Element& wall) {
    ObstacleCls cls;
    return cls.Rebuild(settings, contours, wall);
}

int32_t RoadClsRebuildFromObject(ContourLineRefresh& contours, const API_Element& road, int32_t roadLibIndex) {
    RoadCls cls;
    cls.libPartIndex = roadLibIndex;
    cls.roadLibIndex = roadLibIndex;
    return cls.RebuildFromObject(contours, road);
}

int32_t SectionClsRebuild(const Settings& settings, EarthworkDialogs& earthworks, ContourLineRefresh& contours,
                          const API_Element& section, int32_t roadLibIndex) {
    SectionCls cls(settings.section.font);
    cls.libPartIndex = roadLibIndex;
    return cls.Rebuild(earthworks, contours, section);
}

// The terrains rebuilt, after the notice while it is on. The box "Don't show this dialog again" is taken as the user
// ticked it, whatever the answer: a declined update rebuilds nothing, and later updates no longer ask.
int32_t RebuildTerrains(ContourLineRefresh& contours, const QV_List<API_Element>& terrains) {
    if (terrains.GetCount() == 0) return ErrNoConditions;
    if (UpdateConfirmation != 0) {
        UpdateConfirmDialogData notice = {};
        const bool go = OpenUpdateConfirmDialog(notice);
        UpdateConfirmation = notice.dontShowAgain != 0 ? 0 : 1;
        if (!go) return 0;
    }
    return RebuildTerrain(contours, terrains);
}

struct Gathered {
    QV_List<API_Element> walls, bridges, markers, basins, roads, railways, sections, plateaus, sidewalks,
        retainingWalls, buildings, colouredAreas;
};

bool Gather(Gathered& g, int32_t roadLibIndex) {
    const auto pick = [](int32_t kind, QV_List<API_Element>& out) {
        return PickElements(kind, API_ObjectID, false, Leave3D::Yes, out, true);
    };
    if (!pick(ElemKind_Wall, g.walls) || !pick(ElemKind_Bridge, g.bridges) || !pick(ElemKind_LevelMarker, g.markers) ||
        !pick(ElemKind_Basin, g.basins) || !pick(ElemKind_Road, g.roads) || !pick(ElemKind_Railway, g.railways))
        return false;
    if (!CollectSelection(g.sections, true, API_ObjectID, false, Leave3D::Yes) ||
        !FilterRoadsWithSection(g.sections, roadLibIndex))
        return false;
    // A section is a copy of a road object: it is no road here.
    QV_List<API_Element> roads;
    for (int32_t i = 0; i < g.roads.GetCount(); ++i) {
        bool isSection = false;
        for (int32_t k = 0; k < g.sections.GetCount(); ++k)
            isSection = isSection || g.sections[k].header.guid == g.roads[i].header.guid;
        if (!isSection && !roads.Insert(g.roads[i])) return false;
    }
    g.roads = roads;
    return pick(ElemKind_Plateau, g.plateaus) && pick(ElemKind_Sidewalk, g.sidewalks) &&
        pick(ElemKind_RetainingWall, g.retainingWalls) && pick(ElemKind_Building, g.buildings) &&
        pick(ElemKind_ColouredArea, g.colouredAreas);
}

Alert RunCase(const Settings& settings, const DataUpdatePorts& ports, DataUpdateCase which, const Gathered& g,
              const QV_List<API_Element>& terrains, int32_t roadLibIndex) {
    switch (which) {
        case DataUpdateCase::LevelMarker:
            if (!RequireFloorPlan()) return ErrDatabase;
            return MarkerClsRebuild(settings, ports.siteObjects, g.markers[0], terrains[0]);
        case DataUpdateCase::Walls:
            if (!RequireFloorPlan()) return ErrDatabase;
            return WallUpdate(g.walls);
        case DataUpdateCase::Bridges:
            if (!RequireFloorPlan()) return ErrDatabase;
            return BridgeClsUpdate(g.bridges);
        case DataUpdateCase::Basin: return BasinClsUpdateBuilder(g.basins[0]);
        case DataUpdateCase::Road: return RoadClsRebuildFromObject(ports.contours, g.roads[0], roadLibIndex);
        case DataUpdateCase::RoadSection:
            return SectionClsRebuild(settings, ports.earthworks, ports.contours, g.sections[0], roadLibIndex);
        case DataUpdateCase::Plateau: return DiggingClsRebuild(ports.contours, g.plateaus[0]);
        case DataUpdateCase::Sidewalk: return SideWalkClsUpdate(ports.contours, g.sidewalks[0]);
        case DataUpdateCase::RetainingWall: return ObstacleClsRebuild(settings, ports.contours, g.retainingWalls[0]);
        case DataUpdateCase::Building: return BuildingRebuild(g.buildings[0]);
        case DataUpdateCase::ColouredArea: return PaintClsRebuild(ports.contours, g.colouredAreas[0]);
        case DataUpdateCase::None: break;
    }
    return ErrNoConditions;
}

// The one object a single-object case updates, with its kind; null for the cases of several.
const API_Element* CaseObject(DataUpdateCase which, const Gathered& g, int32_t& kind) {
    switch (which) {
        case DataUpdateCase::LevelMarker: return kind = ElemKind_LevelMarker, &g.markers[0];
        case DataUpdateCase::Basin: return kind = ElemKind_Basin, &g.basins[0];
        case DataUpdateCase::Road: return kind = ElemKind_Road, &g.roads[0];
        case DataUpdateCase::RoadSection: return kind = ElemKind_Section, &g.sections[0];
        case DataUpdateCase::Plateau: return kind = ElemKind_Plateau, &g.plateaus[0];
        case DataUpdateCase::Sidewalk: return kind = ElemKind_Sidewalk, &g.sidewalks[0];
        case DataUpdateCase::RetainingWall: return kind = ElemKind_RetainingWall, &g.retainingWalls[0];
        case DataUpdateCase::Building: return kind = ElemKind_Building, &g.buildings[0];
        case DataUpdateCase::ColouredArea: return kind = ElemKind_ColouredArea, &g.colouredAreas[0];
        case DataUpdateCase::Walls:
        case DataUpdateCase::Bridges:
        case DataUpdateCase::None: break;
    }
    return nullptr;
}

Alert DataUpdate(Settings& settings, const DataUpdatePorts& ports) {
    QV_List<API_Element> terrains;
    QV_List<API_Element> selectedTerrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (!PickElements(ElemKind_Terrain, API_MeshID, false, Leave3D::Yes, selectedTerrains, true)) return ErrFindingData;
    const int32_t n = CountSelection(0, false, Leave3D::Yes);
    if (n < 0) return ErrFindingData;
    settings.firstCount = n;
    if (n == 0) return RebuildTerrains(ports.contours, terrains);
    if (n == 1 && selectedTerrains.GetCount() == 1) return RebuildTerrains(ports.contours, selectedTerrains);

    int32_t roadLibIndex = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("VY_ROAD"), roadLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    Gathered g;
    if (!Gather(g, roadLibIndex)) return ErrFindingData;
    DataUpdateSelection s;
    s.selected = n;
    s.projectTerrains = terrains.GetCount();
    s.markers = g.markers.GetCount();
    s.walls = g.walls.GetCount();
    s.bridges = g.bridges.GetCount();
    s.basins = g.basins.GetCount();
    s.roads = g.roads.GetCount();
    s.railways = g.railways.GetCount();
    s.sections = g.sections.GetCount();
    s.plateaus = g.plateaus.GetCount();
    s.sidewalks = g.sidewalks.GetCount();
    s.retainingWalls = g.retainingWalls.GetCount();
    s.buildings = g.buildings.GetCount();
    s.colouredAreas = g.colouredAreas.GetCount();
    const DataUpdateCase which = ChooseDataUpdateCase(s);
    const int keptBefore = KeptCommandCount();
    const Alert alert = RunCase(settings, ports, which, g, terrains, roadLibIndex);
    // A case that failed and kept nothing left its object as it was: the alert names it. One that kept a step (a
    // road rebuilt from its section whose contour lines could not follow) changed it, and is not said to have not.
    int32_t kind = ElemKind_None;
    const API_Element* one = CaseObject(which, g, kind);
    if (alert.code == 0 || !alert.arguments.empty() || one == nullptr || KeptCommandCount() != keptBefore) return alert;
    QV_List<API_Element> failed;
    failed.Insert(*one);
    return NamingWhatWasLeft(alert.code, ObjectNames(failed, failed, kind));
}
}  // namespace

DataUpdateCase ChooseDataUpdateCase(const DataUpdateSelection& s) {
    const int32_t n = s.selected;
    if (s.projectTerrains == 1 && s.markers == 1 && n == 2) return DataUpdateCase::LevelMarker;
    if (s.walls > 0 && s.walls == n) return DataUpdateCase::Walls;
    if (s.bridges > 0 && s.bridges == n) return DataUpdateCase::Bridges;
    if (n != 1) return DataUpdateCase::None;
    if (s.basins == 1) return DataUpdateCase::Basin;
    if (s.roads == 1) return DataUpdateCase::Road;
    if (s.sections == 1) return DataUpdateCase::RoadSection;
    if (s.plateaus == 1) return DataUpdateCase::Plateau;
    if (s.sidewalks == 1) return DataUpdateCase::Sidewalk;
    if (s.retainingWalls == 1) return DataUpdateCase::RetainingWall;
    if (s.buildings == 1) return DataUpdateCase::Building;
    if (s.colouredAreas == 1) return DataUpdateCase::ColouredArea;
    return DataUpdateCase::None;
}

void UpdateSelectedObjects(Settings& settings, EarthworkDialogs& earthworks, SiteObjectDialogs& siteObjects,
                           ContourLineRefresh& contours) {
    SelectionCheckResult = 0;
    // The objects left as they were are named: which of several failed is what the user must know.
    const Alert alert = DataUpdate(settings, DataUpdatePorts{earthworks, siteObjects, contours});
    SelectionCheckResult = alert.code;
    ShowAlert(alert);
}
