#include "shell/commands/EarthworkCommands.hpp"

#include "earthworks/Bridge.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Railway.hpp"
#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "earthworks/Sidewalk.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/KindObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/commands/ToolCommand.hpp"

#include <cstring>

namespace {

// The road and the railway share their choice: the selected objects are modified; else, with a terrain, one fill
// or one polyline makes a new one; anything else edits the defaults.
template <typename Cls>
int32_t RoadLikeCommand(EarthworkDialogs& dialogs, ContourLineRefresh& contours, int32_t kind, bool keepResults) {
    Cls cls;
    BeginToolCommand(GlobalSettings);
    QV_List<API_Element> picked;
    if (!PickToModify(GlobalSettings, kind, keepResults, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(dialogs, picked);
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(dialogs);
    QV_List<API_Element> fills;
    QV_List<API_Element> polylines;
    if (!SelectedOfType(API_HatchID, fills) || !SelectedOfType(API_PolyLineID, polylines)) return ErrFindingData;
    if (fills.GetCount() == 1 && polylines.GetCount() == 0)
        return cls.CreateOnFill(dialogs, contours, fills[0], terrains[0]);
    if (fills.GetCount() == 0 && polylines.GetCount() == 1)
        return cls.CreateAlongPolyline(dialogs, contours, polylines[0], terrains[0]);
    return cls.EditDefaults(dialogs);
}

int32_t Sidewalk(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    SideWalkCls cls;
    BeginToolCommand(GlobalSettings);
    QV_List<API_Element> picked;
    if (!PickToModify(GlobalSettings, ElemKind_Sidewalk, true, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(dialogs);
    if (!SelectedOfType(API_HatchID, fills)) return ErrFindingData;
    return fills.GetCount() == 1 ? cls.Create(dialogs, contours, fills[0], terrains[0]) : cls.EditDefaults(dialogs);
}

int32_t Plateau(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    DiggingCls cls;
    BeginToolCommand(GlobalSettings);
    QV_List<API_Element> picked;
    if (!PickToModify(GlobalSettings, ElemKind_Plateau, true, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(dialogs);
    if (!SelectedOfType(API_HatchID, fills)) return ErrFindingData;
    if (fills.GetCount() == 1) return cls.CreateFromPolygon(dialogs, contours, fills[0], terrains[0]);
    if (fills.GetCount() > 1) return cls.Create(dialogs, contours, fills, terrains[0]);
    return cls.EditDefaults(dialogs);
}

int32_t Bridge(EarthworkDialogs& dialogs) {
    BridgeCls cls;
    BeginToolCommand(GlobalSettings);
    QV_List<API_Element> picked;
    if (!PickToModify(GlobalSettings, ElemKind_Bridge, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(dialogs);
    if (!SelectedOfType(API_PolyLineID, polylines)) return ErrFindingData;
    if (polylines.GetCount() == 1 && IsBridgePath(polylines[0])) return cls.Create(dialogs, polylines[0], terrains[0]);
    return cls.EditDefaults(dialogs);
}

int32_t RoadSection(EarthworkDialogs& dialogs) {
    SectionCls cls;
    BeginToolCommand(GlobalSettings);
    int32_t roadPart = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("VY_ROAD"), roadPart, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> withSection;
    cls.libPartIndex = roadPart;
    if (!SelectedOfType(API_ObjectID, withSection) || !FilterRoadsWithSection(withSection, roadPart))
        return ErrFindingData;
    if (withSection.GetCount() > 0) {
        SetEditedCount(GlobalSettings, withSection.GetCount());
        return cls.ModifySelected(dialogs, withSection);
    }
    QV_List<API_Element> roads;
    if (!PickObjects(ElemKind_Road, roads)) return ErrFindingData;
    return roads.GetCount() == 1 ? cls.CreateFromRoad(dialogs, roads[0]) : cls.EditDefaults(dialogs);
}

}  // namespace

bool IsBridgePath(const API_Element& polyline) { return polyline.polyLine.vertexCount == 2; }

void RunRoad(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(RoadLikeCommand<RoadCls>(dialogs, contours, ElemKind_Road, true));
}
void RunRailway(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(RoadLikeCommand<RailwayCls>(dialogs, contours, ElemKind_Railway, false));
}
void RunSidewalk(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(Sidewalk(dialogs, contours));
}
void RunPlateau(EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(Plateau(dialogs, contours));
}
void RunBridge(EarthworkDialogs& dialogs) { ReportToolResult(Bridge(dialogs)); }
void RunRoadSection(EarthworkDialogs& dialogs) { ReportToolResult(RoadSection(dialogs)); }

void RunPolygon(Settings& settings) {
    BeginToolCommand(settings);
    API_Element polyline;
    std::memset(static_cast<void*>(&polyline), 0, sizeof polyline);
    polyline.header.typeID = API_PolyLineID;
    if (ACAPI_Element_GetDefaults(&polyline, nullptr) == NoError) {
        // The 32-bit field right after the head, alone in the change mask.
        static_assert(sizeof(API_Element) >= sizeof(API_Elem_Head) + sizeof(int32_t), "a field follows the head");
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        const int32_t one = 1;
        const int32_t all = -1;
        std::memcpy(reinterpret_cast<char*>(&polyline) + sizeof(API_Elem_Head), &one, sizeof one);
        std::memcpy(reinterpret_cast<char*>(&mask) + sizeof(API_Elem_Head), &all, sizeof all);
        ACAPI_Element_ChangeDefaults(&polyline, nullptr, &mask);
    }
    API_ToolBoxItem tool = {};
    tool.typeID = API_PolyLineID;
    ACAPI_Environment(APIEnv_SetToolBoxModeID, &tool);
}
