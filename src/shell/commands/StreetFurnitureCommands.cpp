#include "shell/commands/StreetFurnitureCommands.hpp"

#include "earthworks/Basin.hpp"
#include "earthworks/Obstacle.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/BaseCls.hpp"
#include "elements/BaseLP.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/ShellState.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Trees.hpp"
#include "siteobjects/Wall.hpp"

#include "UniString.hpp"

namespace {

constexpr int32_t KindRoad = 6;
constexpr int32_t KindPlateau = 7;
constexpr int32_t KindColouredArea = 8;
constexpr int32_t KindBuilding = 9;
constexpr int32_t KindWall = 10;
constexpr int32_t KindSidewalk = 11;
constexpr int32_t KindBasin = 12;
constexpr int32_t KindRetainingWall = 15;
constexpr int32_t KindRailway = 21;

GS::UniString UndoText() {
    QV_String text;
    GetResString(text, UndoTableBase + LanguageIndex, 2);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

int32_t BasinCommand(Settings& settings) {
    Basin::BasinCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, KindBasin, false, picked)) return ToolErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(picked);
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ToolErrFindingData;
    return terrains.GetCount() == 0 ? cls.EditDefaults() : cls.Create(terrains[0]);
}

int32_t Building(Settings& settings) {
    BuildingCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, KindBuilding, false, picked)) return ToolErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ToolErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditSettings();
    if (!SelectedOfType(API_HatchID, fills)) return ToolErrFindingData;
    if (fills.GetCount() == 1) return cls.Create(fills[0], terrains[0]);
    if (fills.GetCount() > 1) return cls.CreateFromSelection(fills, terrains[0]);
    return cls.EditSettings();
}

int32_t Wall(Settings& settings) {
    WallCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, KindWall, false, picked)) return ToolErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains)) return ToolErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditSettings();
    if (!SelectedOfType(API_PolyLineID, polylines)) return ToolErrFindingData;
    return polylines.GetCount() == 1 ? cls.Place(polylines[0], terrains[0]) : cls.EditSettings();
}

int32_t RetainingWall(Settings& settings) {
    ObstacleCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, KindRetainingWall, false, picked)) return ToolErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> roads;
    QV_List<API_Element> plateaus;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains) || !PickObjects(KindRoad, roads) || !PickObjects(KindPlateau, plateaus) ||
        !SelectedOfType(API_PolyLineID, polylines))
        return ToolErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults();
    const int32_t nRoads = roads.GetCount();
    const int32_t nPlateaus = plateaus.GetCount();
    const int32_t nLines = polylines.GetCount();
    if (nLines == 1 && nRoads == 0 && nPlateaus == 0) return cls.CreateFromPolyline(polylines[0], terrains[0]);
    if (nLines == 1 && nRoads == 1 && nPlateaus == 0)
        return cls.CreateAlongElement(polylines[0], roads[0], KindRoad, terrains[0]);
    if (nLines == 1 && nPlateaus == 1 && nRoads == 0)
        return cls.CreateAlongElement(polylines[0], plateaus[0], KindPlateau, terrains[0]);
    if (nLines == 0 && nRoads == 1 && nPlateaus == 0) return cls.RemoveObstacle(roads[0], KindRoad);
    if (nLines == 0 && nPlateaus == 1 && nRoads == 0) return cls.RemoveObstacle(plateaus[0], KindPlateau);
    return cls.EditDefaults();
}

int32_t Paint(Settings& settings) {
    PaintCls cls;
    BeginToolCommand(settings);
    int32_t part = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("VY_PAINTER"), part, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> picked;
    if (!PickToModify(settings, KindColouredArea, false, picked)) return ToolErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> drawn;  // fills, lines, polylines, arcs, circles and splines
    if (!ProjectTerrains(terrains)) return ToolErrFindingData;
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, nullptr, false, true, 0)) return ToolErrFindingData;
    for (const API_Element& e : selection.elements)
        if (e.header.typeID >= API_HatchID && e.header.typeID <= API_SplineID) drawn.Insert(e);
    if (terrains.GetCount() > 0 && drawn.GetCount() > 0) return cls.Create(drawn, terrains[0]);
    return cls.EditSettings();
}

int32_t Tree(Settings& settings) {
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) return ToolErrDatabase;
    int32_t part = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("SS_TREE"), part, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> trees;
    if (!CollectSelection(trees, true, API_ObjectID, false, Leave3D::Yes, part)) return ToolErrFindingData;
    if (trees.GetCount() > 0) {
        SetEditedCount(settings, trees.GetCount());
        ACAPI_CallUndoableCommand(UndoText(), [&]() { return RegenerateTrees(trees) ? NoError : APIERR_GENERAL; });
        return 0;
    }
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ToolErrFindingData;
    const API_Element* terrain = terrains.GetCount() > 0 ? &terrains[0] : nullptr;
    bool takenBack = false;
    ACAPI_CallUndoableCommand(UndoText(), [&]() -> GSErrCode {
        const LeftoverWatch watch;
        if (!CreateTree(terrain)) return APIERR_GENERAL;
        // A height probe's slab that could not be deleted takes the trees of this command back with it: said.
        takenBack = watch.Stranded();
        return watch.CommandBodyResult();
    });
    return takenBack ? ToolErrModifyObject : 0;
}

int32_t EditXYZ(Settings& settings) {
    BeginToolCommand(settings);
    SelectionCheckResult = ToolErrModifyObject;
    QV_List<ElemEntry> buildings;
    QV_List<ElemEntry> joined;
    if (!CollectAddOnObjectsLayered(KindBuilding, API_ObjectID, Leave3D::Yes, buildings)) return ToolErrFindingData;
    for (const int32_t kind : {KindSidewalk, KindPlateau, KindRoad, KindRailway})
        if (!CollectAddOnObjectsLayered(kind, API_ObjectID, Leave3D::Yes, joined)) return ToolErrFindingData;
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
        const GSErrCode err = ACAPI_CallUndoableCommand(UndoText(), [&]() -> GSErrCode {
            for (int32_t i = 0; i < joined.GetCount(); ++i) {
                API_Element element = joined[i].element;
                BaseIDLP view(joined[i].kind);
                if (!BaseIDLP::SetChangeLevel(view, element, next != 0)) return APIERR_GENERAL;
            }
            return NoError;
        });
        if (err == NoError) {
            XYZButtonState = next;
            SelectionCheckResult = 0;
        }
    }
    RestoreLayerStates(VY_Operators, states);
    RebuildCurrentWindow(was3D, true, 0);
    return SelectionCheckResult;
}

}  // namespace

void RunBasin(Settings& settings) { ReportToolResult(BasinCommand(settings)); }
void RunBuilding(Settings& settings) { ReportToolResult(Building(settings)); }
void RunWall(Settings& settings) { ReportToolResult(Wall(settings)); }
void RunRetainingWall(Settings& settings) { ReportToolResult(RetainingWall(settings)); }
void RunPaint(Settings& settings) { ReportToolResult(Paint(settings)); }
void RunTree(Settings& settings) { ReportToolResult(Tree(settings)); }
void RunEditXYZ(Settings& settings) { ReportToolResult(EditXYZ(settings)); }
