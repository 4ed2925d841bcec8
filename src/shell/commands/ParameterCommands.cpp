#include "shell/commands/ParameterCommands.hpp"

#include "elements/WholeCommand.hpp"
#include "dialogs/tools/AddonSettingsDialog.hpp"
#include "elements/AddOnObjects.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/PrefsLP.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Calculation.hpp"
#include "siteobjects/Camera.hpp"
#include "siteobjects/Gravity.hpp"

namespace {

constexpr int32_t NeedsTerrainEntry = 7;    // "Command is applied when you have a terrain!"
constexpr int32_t NeedsTerrainAndPath = 8;  // "... a terrain and a selected polyline!"

void RefuseWithoutTerrain(int32_t entry) {
    ShowAlert(Alert(AlertKind::Error, ErrorTitleText, AlertText{ImportTableBase, entry}));
}

int32_t Calculation(Settings& settings) {
    BeginToolCommand(settings);
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    if (terrains.GetCount() != 1) {
        RefuseWithoutTerrain(NeedsTerrainEntry);
        return 0;
    }
    CalculationCls cls;
    // The measuring and the contour-line object that shows its results are one undo step: when the object fails
    // (it tells why), nothing of the measuring stays either, not even an undo step that would undo nothing.
    int32_t result = ErrCalculation;
    RunWholeCommand([&] {
        result = cls.Run(terrains[0]);
        return result == 0 && RunContourLines(settings, terrains[0], &cls.volumes) == 0;
    });
    if (result == 0) ShowAlert(cls.UnmeasuredAlert());
    return result;
}

int32_t Gravity(Settings& settings) {
    BeginToolCommand(settings);
    QV_List<API_Element> objects;
    if (!CollectSelection(objects, true, API_ObjectID, false, Leave3D::Yes) ||
        !CollectSelection(objects, false, API_LampID, false, Leave3D::Yes))
        return ErrFindingData;
    GravityCls cls;
    if (objects.GetCount() > 0) {
        SetEditedCount(settings, objects.GetCount());
        return cls.Run(objects);
    }
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    return cls.Build(terrains.GetCount() > 0 ? &terrains[0] : nullptr);
}

int32_t Camera(Settings& settings, SiteObjectDialogs& dialogs) {
    BeginToolCommand(settings);
    QV_List<API_Element> terrains;
    QV_List<API_Element> polylines;
    // A query the host refused says nothing of what the user drew or selected.
    if (!ProjectTerrains(terrains) || !CollectSelection(polylines, true, API_PolyLineID, false, Leave3D::Yes))
        return ErrFindingData;
    if (terrains.GetCount() != 1 || polylines.GetCount() != 1) {
        RefuseWithoutTerrain(NeedsTerrainAndPath);
        return 0;
    }
    CameraCls cls;
    return cls.Create(settings, dialogs, polylines[0], terrains[0]);
}

}  // namespace

void RunCalculation(Settings& settings) { ReportToolResult(Calculation(settings)); }
void RunGravity(Settings& settings) { ReportToolResult(Gravity(settings)); }
void RunCamera(Settings& settings, SiteObjectDialogs& dialogs) { ReportToolResult(Camera(settings, dialogs)); }

void RunDefaultSettings(Settings& settings) {
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) {
        ReportToolResult(ErrDatabase);
        return;
    }
    // Either operation reports its own failure.
    switch (RunAddonSettingsDialog()) {
        case PreferencesAsk::Capture: PrefsLP::Save(&settings); break;
        case PreferencesAsk::Restore: PrefsLP::Reload(&settings); break;
        case PreferencesAsk::None: break;
    }
}
