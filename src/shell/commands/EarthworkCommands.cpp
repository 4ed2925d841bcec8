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
int32_t RoadLikeCommand(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours, int32_t kind,
                        bool keepResults) {
    Cls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, kind, keepResults, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(settings, dialogs, picked);
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(settings, dialogs);
    QV_List<API_Element> fills;
    QV_List<API_Element> polylines;
    if (!SelectedOfType(API_HatchID, fills) || !SelectedOfType(API_PolyLineID, polylines)) return ErrFindingData;
    if (fills.GetCount() == 1 && polylines.GetCount() == 0)
        return cls.CreateOnFill(settings, dialogs, contours, fills[0], terrains[0]);
    if (fills.GetCount() == 0 && polylines.GetCount() == 1)
        return cls.CreateAlongPolyline(settings, dialogs, contours, polylines[0], terrains[0]);
    return cls.EditDefaults(settings, dialogs);
}

int32_t Sidewalk(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    SideWalkCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Sidewalk, true, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(settings, dialogs);
    if (!SelectedOfType(API_HatchID, fills)) return ErrFindingData;
    return fills.GetCount() == 1 ? cls.Create(settings, dialogs, contours, fills[0], terrains[0])
                                 : cls.EditDefaults(settings, dialogs);
}

int32_t Plateau(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    DiggingCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Plateau, true, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.ModifySelected(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> fills;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(settings, dialogs);
    if (!SelectedOfType(API_HatchID, fills)) return ErrFindingData;
    if (fills.GetCount() == 1) return cls.CreateFromPolygon(settings, dialogs, contours, fills[0], terrains[0]);
    if (fills.GetCount() > 1) return cls.Create(settings, dialogs, contours, fills, terrains[0]);
    return cls.EditDefaults(settings, dialogs);
}

int32_t Bridge(Settings& settings, EarthworkDialogs& dialogs) {
    BridgeCls cls;
    BeginToolCommand(settings);
    QV_List<API_Element> picked;
    if (!PickToModify(settings, ElemKind_Bridge, false, picked)) return ErrFindingData;
    if (picked.GetCount() > 0) return cls.Modify(dialogs, picked);
    QV_List<API_Element> terrains;
    QV_List<API_Element> polylines;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() == 0) return cls.EditDefaults(settings, dialogs);
    if (!SelectedOfType(API_PolyLineID, polylines)) return ErrFindingData;
    if (polylines.GetCount() == 1 && IsBridgePath(polylines[0]))
        return cls.Create(settings, dialogs, polylines[0], terrains[0]);
    return cls.EditDefaults(settings, dialogs);
}

int32_t RoadSection(Settings& settings, EarthworkDialogs& dialogs) {
    SectionCls cls(settings.section.font);
    BeginToolCommand(settings);
    int32_t roadPart = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("VY_ROAD"), roadPart, true, QV_String(), APILib_ObjectID)) return 0;
    QV_List<API_Element> withSection;
    cls.libPartIndex = roadPart;
    if (!SelectedOfType(API_ObjectID, withSection) || !FilterRoadsWithSection(withSection, roadPart))
        return ErrFindingData;
    if (withSection.GetCount() > 0) {
        SetEditedCount(settings, withSection.GetCount());
        return cls.ModifySelected(dialogs, withSection);
    }
    QV_List<API_Element> roads;
    if (!PickObjects(ElemKind_Road, roads)) return ErrFindingData;
    return roads.GetCount() == 1 ? cls.CreateFromRoad(settings, dialogs, roads[0])
                                 : cls.EditDefaults(settings, dialogs);
}

}  // namespace

bool IsBridgePath(const API_Element& polyline) { return polyline.polyLine.vertexCount == 2; }

void RunRoad(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(RoadLikeCommand<RoadCls>(settings, dialogs, contours, ElemKind_Road, true));
}
void RunRailway(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(RoadLikeCommand<RailwayCls>(settings, dialogs, contours, ElemKind_Railway, false));
}
void RunSidewalk(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(Sidewalk(settings, dialogs, contours));
}
void RunPlateau(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours) {
    ReportToolResult(Plateau(settings, dialogs, contours));
}
void RunBridge(Settings& settings, EarthworkDialogs& dialogs) { ReportToolResult(Bridge(settings, dialogs)); }
void RunRoadSection(Settings& settings, EarthworkDialogs& dialogs) { ReportToolResult(RoadSection(settings, dialogs)); }

namespace {
// The polyline default the Polygon button sets: the 32-bit field right after the head, 1 in `to`, and a mask
// that covers that field alone.
void PolygonFieldAndMask(API_Element& to, API_Element& mask) {
    static_assert(sizeof(API_Element) >= sizeof(API_Elem_Head) + sizeof(int32_t), "a field follows the head");
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    const int32_t one = 1;
    const int32_t all = -1;
    std::memcpy(reinterpret_cast<char*>(&to) + sizeof(API_Elem_Head), &one, sizeof one);
    std::memcpy(reinterpret_cast<char*>(&mask) + sizeof(API_Elem_Head), &all, sizeof all);
}
}  // namespace

void RunPolygon(Settings& settings) {
    BeginToolCommand(settings);
    API_Element polyline;
    std::memset(static_cast<void*>(&polyline), 0, sizeof polyline);
    polyline.header.typeID = API_PolyLineID;
    API_ToolBoxItem previous = {};
    if (ACAPI_Element_GetDefaults(&polyline, nullptr) != NoError ||
        ACAPI_Environment(APIEnv_GetToolBoxModeID, &previous) != NoError) {
        ReportToolResult(ErrDefaults);
        return;
    }
    API_ToolBoxItem tool = {};
    tool.typeID = API_PolyLineID;
    if (ACAPI_Environment(APIEnv_SetToolBoxModeID, &tool) != NoError) {
        ReportToolResult(ErrSettings);
        return;
    }
    API_Element mask;
    PolygonFieldAndMask(polyline, mask);
    if (ACAPI_Element_ChangeDefaults(&polyline, nullptr, &mask) == NoError) return;
    // The tool without its default would draw what the user did not ask for: the tool they had comes back; a refused
    // switch back leaves nothing to do but the alert.
    ACAPI_Environment(APIEnv_SetToolBoxModeID, &previous);
    ReportToolResult(ErrSettings);
}
