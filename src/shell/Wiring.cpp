#include "shell/Wiring.hpp"

#include "dialogs/settings/ContourAltitudeDialog.hpp"
#include "dialogs/settings/ContourLineSettingsDialog.hpp"
#include "dialogs/settings/RailwaySettingsDialog.hpp"
#include "dialogs/settings/RoadSettingsDialog.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "dialogs/tools/MeshConversionDialog.hpp"
#include "dialogs/tools/SlopeAnalysisDialog.hpp"
#include "earthworks/Road.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/LibPart.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/ToolDialogHooks.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "terrain/TerrainSettingsRun.hpp"

void WireSubsystems() {
    SetAddOnLibraryLoader(LoadAddOnLibraries);
    SetCurveSegmentationAsk(AskCurveSegmentation);
    SetRoadDialogOpener(OpenRoadSettingsLayout);
    SetRailwayDialogOpener(OpenRailwaySettingsDialog);
    ModelUpdateSteps& steps = WiredModelUpdateSteps();
    steps.pointToolEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>&) {
        return PointTool::OnElementEvent(mode, heads.begin(), heads.GetCount());
    };
    steps.contourLineRefresh = ContourLineCls::RefreshOnUpdate;
    // The upkeep's road sections are not built yet: their hook keeps noting its calls.
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
    WiredUpkeepHooks().runContourLines = [](const API_Element& terrain) { RunContourLines(terrain, nullptr); };
    ToolDialogHooks& dialogs = WiredToolDialogs();
    dialogs.contourSettings = RunContourLineSettingsDialog;
    dialogs.contourAltitude = RunContourAltitudeDialog;
    dialogs.slopeRange = RunSlopeAnalysisDialog;
    TerrainContourHooks& contours = WiredTerrainContourHooks();
    contours.readForTerrainUpdate = ContourReadForTerrainUpdate;
    contours.createGradientObject = ContourCreateGradientObject;
    contours.updateAfterTerrainChange = ContourUpdateAfterTerrainChange;
    contours.refreshForNewTerrain = ContourRefreshForNewTerrain;
    steps.collectTerrainElements = CollectTerrainElements;
    TerrainSettingsDialogs& terrainDialogs = WiredTerrainSettingsDialogs();
    terrainDialogs.openFirst = OpenTerrainSettingsDialog;
    terrainDialogs.openSecond = OpenTerrainSettingsDialogTwin;
    terrainDialogs.applyChanges = ApplyTerrainSettingsChanges;
    WiredMeshConversionAsk() = [] {
        MeshConversionDialogData data = {};  // the mesh is not one of the add-on's
        return OpenMeshConversionDialog(data);
    };
}

void UnwireSubsystems() {
    SetAddOnLibraryLoader(nullptr);
    SetCurveSegmentationAsk(nullptr);
    SetRoadDialogOpener(nullptr);
    SetRailwayDialogOpener(nullptr);
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    ResetToolDialogs();
    ResetTerrainSettingsDialogs();
    ResetTerrainContourHooks();
    ResetMeshConversionAsk();
}
