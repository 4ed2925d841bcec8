#include "shell/commands/StreetFurnitureCommands.hpp"

#include "earthworks/Basin.hpp"
#include "earthworks/Obstacle.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/BaseCls.hpp"
#include "elements/BaseLP.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/ShellState.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Paint.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/Trees.hpp"
#include "siteobjects/Wall.hpp"

#include "UniString.hpp"

namespace {

int32_t BasinCommand(Settings& settings, EarthworkDialogs& dialogs) {
    Basin::BasinCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Basin, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    return terrains.GetCount() == 0 ? cls.EditDefaults(settings, dialogs) : cls.Create(settings, dialogs, terrains[0]);
}

int32_t Building(Settings& settings, SiteObjectDialogs& dialogs) {
    BuildingCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Building, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditSettings(settings, dialogs);
    if (!SelectedOfType(API_HatchID, fills)) return ErrFindingData;
    if (fills.GetCount() == 1) return cls.Create(settings, dialogs, fills[0], terrains[0]);
    if (fills.GetCount() > 1) return cls.CreateFromSelection(settings, dialogs, fills, terrains[0]);
    return cls.EditSettings(settings, dialogs);
}

int32_t Wall(Settings& settings, SiteObjectDialogs& dialogs) {
    WallCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Wall, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditSettings(settings, dialogs);
    if (!SelectedOfType(API_PolyLineID, polylines)) return ErrFindingData;
    return polylines.GetCount() == 1 ? cls.Place(settings, dialogs, polylines[0], terrains[0])
                                     : cls.EditSettings(settings, dialogs);
}

int32_t RetainingWall(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ObstacleCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_RetainingWall, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(settings, dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> roads;
    QV_List<API_Element> plateaus;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains) || !PickObjects(ElemKind_Road, roads) || !PickObjects(ElemKind_Plateau, plateaus) ||
        !SelectedOfType(API_PolyLineID, polylines))
        return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(settings, dialogs);
    const int32_t nRoads = roads.GetCount();
    const int32_t nPlateaus = plateaus.GetCount();
    const int32_t nLines = polylines.GetCount();
    if (nLines == 1 && nRoads == 0 && nPlateaus == 0)
        return cls.CreateFromPolyline(settings, dialogs, polylines[0], terrains[0]);
    if (nLines == 1 && nRoads == 1 && nPlateaus == 0)
        return cls.CreateAlongElement(settings, dialogs, contours, polylines[0], roads[0], ElemKind_Road, terrains[0]);
    if (nLines == 1 && nPlateaus == 1 && nRoads == 0)
        return cls.CreateAlongElement(settings, dialogs, contours, polylines[0], plateaus[0], ElemKind_Plateau,
                                      terrains[0]);
    if (nLines == 0 && nRoads == 1 && nPlateaus == 0) return cls.RemoveObstacle(contours, roads[0], ElemKind_Road);
    if (nLines == 0 && nPlateaus == 1 && nRoads == 0)
        return cls.RemoveObstacle(contours, plateaus[0], ElemKind_Plateau);
    return cls.EditDefaults(settings, dialogs);
}

int32_t Paint(Settings& settings, SiteObjectDialogs& dialogs, ContourLineRefresh& contours) {
    PaintCls cls;
    BeginToolCommand(settings);
    int32_t part = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("VY_PAINTER"), part, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_ColouredArea, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(settings, dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> drawn;  // fills, lines, polylines, arcs, circles and splines
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, nullptr, false, true, 0)) return ErrFindingData;
    for (const API_Element& e : selection.elements)
        if (e.header.typeID >= API_HatchID && e.header.typeID <= API_SplineID) drawn.Insert(e);
    if (terrains.GetCount() > 0 && drawn.GetCount() > 0)
        return cls.Create(settings, dialogs, contours, drawn, terrains[0]);
    return cls.EditSettings(settings, dialogs);
}

int32_t Tree(Settings& settings, SiteObjectDialogs& dialogs) {
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) return ErrDatabase;
    int32_t part = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("SS_TREE"), part, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> trees;
    if (!CollectSelection(trees, true, API_ObjectID, false, Leave3D::Yes, part)) return ErrFindingData;
    if (trees.GetCount() > 0) {
        SetEditedCount(settings, trees.GetCount());
        return RunWholeCommand([&] { return RegenerateTrees(settings, dialogs, trees); }) ? 0 : ErrModifying;
    }
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    const API_Element* terrain = terrains.GetCount() > 0 ? &terrains[0] : nullptr;
    // A failed step takes the trees of this command back with it (a height probe's slab left behind too): said.
    int32_t failure = 0;
    const bool placed = RunWholeCommand([&] {
        failure = CreateTree(settings, dialogs, terrain);
        return failure == 0;
    });
    return placed ? 0 : (failure != 0 ? failure : ErrModifying);
}

int32_t EditXYZ(Settings& settings) {
    BeginToolCommand(settings);
    SelectionCheckResult = ErrModifying;
    QV_List<ElemEntry> buildings;
    QV_List<ElemEntry> joined;
    if (!CollectAddOnObjectsLayered(ElemKind_Building, API_ObjectID, Leave3D::Yes, buildings)) return ErrFindingData;
    for (const int32_t kind : {ElemKind_Sidewalk, ElemKind_Plateau, ElemKind_Road, ElemKind_Railway})
        if (!CollectAddOnObjectsLayered(kind, API_ObjectID, Leave3D::Yes, joined)) return ErrFindingData;
    if (joined.GetCount() == 0 && buildings.GetCount() == 0) return 0;  // nothing to switch: no message
    const bool was3D = IsCurrentWindow3D();
    if (was3D) {
        API_DatabaseInfo db = {};
        db.typeID = APIWind_FloorPlanID;
        if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db) != NoError) return SelectionCheckResult;
    }
    QV_List<LayerState> states;
    bool ok = CollectPartnersByKind(joined);
    if (ok && joined.GetCount() > 0) {
        // The cut and fill objects lie on the operators layer, which is normally hidden and locked.
        QV_List<API_Element> elements;
        for (const ElemEntry& e : joined) elements.Insert(e.element);
        SaveAndOpenLayers(VY_Operators, elements, states, true);
    }
    for (int32_t i = 0; ok && i < buildings.GetCount(); ++i) ok = joined.Insert(buildings[i]);
    if (ok) {
        // The state turns only when every object took the new value: a half-done edit must not leave the button
        // saying otherwise about the objects that kept the old one.
        const uint8_t next = XYZButtonState != 0 ? 0 : 1;
        const bool changed = RunWholeCommand([&] {
            for (int32_t i = 0; i < joined.GetCount(); ++i) {
                API_Element element = joined[i].element;
                BaseIDLP view(joined[i].kind);
                if (!BaseIDLP::SetChangeLevel(view, element, next != 0)) return false;
            }
            return true;
        });
        if (changed) {
            XYZButtonState = next;
            SelectionCheckResult = 0;
        }
    }
    RestoreLayerStates(VY_Operators, states);
    RebuildCurrentWindow(was3D, true, 0);
    return SelectionCheckResult;
}

}  // namespace

void RunBasin(Settings& settings, EarthworkDialogs& dialogs) { ReportToolResult(BasinCommand(settings, dialogs)); }
void RunBuilding(Settings& settings, SiteObjectDialogs& dialogs) { ReportToolResult(Building(settings, dialogs)); }
void RunWall(Settings& settings, SiteObjectDialogs& dialogs) { ReportToolResult(Wall(settings, dialogs)); }
void RunRetainingWall(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(RetainingWall(settings, dialogs, contours));
}
void RunPaint(Settings& settings, SiteObjectDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(Paint(settings, dialogs, contours));
}
void RunTree(Settings& settings, SiteObjectDialogs& dialogs) { ReportToolResult(Tree(settings, dialogs)); }
void RunEditXYZ(Settings& settings) { ReportToolResult(EditXYZ(settings)); }
