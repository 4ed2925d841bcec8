#include "shell/Wiring.hpp"

#include "dialogs/settings/ConstraintSettingsDialog.hpp"
#include "dialogs/settings/ContourAltitudeDialog.hpp"
#include "dialogs/settings/ContourLineSettingsDialog.hpp"
#include "dialogs/settings/OutlineSettingsDialog.hpp"
#include "dialogs/settings/PointSettingsDialog.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "dialogs/tools/MeshConversionDialog.hpp"
#include "dialogs/tools/PointInputPalette.hpp"
#include "dialogs/tools/SlopeAnalysisDialog.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/Section.hpp"
#include "elements/LibPartViews.hpp"
#include "earthworks/TerrainCutRefresh.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModuleLog.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/CoordinateDisplay.hpp"
#include "shell/EarthworkDialogBoxes.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "shell/ToolsPalette.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "terrain/TerrainInputHooks.hpp"
#include "terrain/TerrainSettingsRun.hpp"
#include "terrain/ToolDialogHooks.hpp"
#include "terrain/ToolInput.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Wall.hpp"

#include <optional>
#include <string>

namespace {
// One implementation of each port, alive from WireSubsystems to UnwireSubsystems.
struct MadePorts {
    EarthworkDialogBoxes earthworkDialogs;
    SiteObjectDialogBoxes siteObjectDialogs;
    ModulePorts ports{earthworkDialogs, siteObjectDialogs};
};
std::optional<MadePorts> Made;

void TraceStep(const char* name, int32_t value) {
    const std::string text = std::string(name) + "(" + std::to_string(value) + ")";
    ModuleLog::LogCall(text.c_str());
}
}  // namespace

const ModulePorts& Ports() { return Made.value().ports; }

void WireSubsystems() {
    Made.emplace();
    SetAddOnLibraryLoader(LoadAddOnLibraries);
    SetCurveSegmentationAsk(AskCurveSegmentation);
    ModelUpdateSteps& steps = WiredModelUpdateSteps();
    steps.obstacleEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("ObstacleCls::OnElementEvent", mode);
        return ObstacleCls::OnElementEvent(mode, heads) != 0;
    };
    steps.basinUpdate = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("BasinLP::OnModelUpdate", mode);
        return RefreshTerrainCutObjects(ElemKind_Basin, mode, heads);
    };
    steps.bridgeUpdate = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("BridgeLP::OnModelUpdate", mode);
        return RefreshTerrainCutObjects(ElemKind_Bridge, mode, heads);
    };
    steps.pointToolEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>& parents) {
        return PointTool::OnElementEvent(mode, heads.begin(), heads.GetCount(), parents.begin(), parents.GetCount());
    };
    steps.contourLineRefresh = ContourLineCls::RefreshOnUpdate;
    steps.buildingEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("BuildingCls::OnElementEvent", mode);
        return BuildingCls::OnElementEvent(mode, heads) != 0;
    };
    steps.paintEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("PaintCls::OnElementEvent", mode);
        return PaintCls::OnElementEvent(mode, heads) != 0;
    };
    steps.wallEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("WallCls::OnElementEvent", mode);
        return WallCls::OnElementEvent(mode, heads) != 0;
    };
    steps.sectionEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads) {
        TraceStep("SectionCls::OnElementEvent", mode);
        return SectionCls::OnElementEvent(mode, heads) != 0;
    };
    // The constraint passes leave the same trace as the framework's own steps.
    steps.constraintRefreshA = [](const QV_List<API_Elem_Head>& heads) {
        TraceStep("ConstraintInput::RefreshOnUpdateA", heads.GetCount());
        return ConstraintInput::RefreshOnUpdateA(heads);
    };
    steps.constraintRefreshB = [](const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>& parents) {
        TraceStep("ConstraintInput::RefreshOnUpdateB", heads.GetCount());
        return ConstraintInput::RefreshOnUpdateB(heads, parents);
    };
    steps.constraintRefreshC = [] {
        ModuleLog::LogCall("ConstraintInput::RefreshOnUpdateC");
        ConstraintInput::RefreshOnUpdateC();
    };
    TerrainInputHooks& input = WiredTerrainInputHooks();
    input.pointSettings = RunPointSettingsDialog;
    input.constraintSettings = RunConstraintSettingsDialog;
    input.outlineSettings = [](OutlineSettings& record, uint8_t(&changed)[7], OutlineSearchValues& search) {
        OutlineDialogRecord dialog;
        dialog.settings = record;
        dialog.corridorWidth = search.corridorWidth;
        dialog.searchAngle = search.searchAngle;
        dialog.searchType = search.searchType;
        dialog.typeSelectable = search.typeSelectable;
        dialog.corridorLocked = search.corridorLocked;
        if (!RunOutlineSettingsDialog(dialog, changed)) return false;
        record = dialog.settings;
        search.corridorWidth = dialog.corridorWidth;
        search.searchAngle = dialog.searchAngle;
        search.searchType = dialog.searchType;
        return true;
    };
    input.keepExistingOutline = [] {
        QV_String text, keep, substitute;
        GetResString(text, ImportTableBase + LanguageIndex, 29);
        GetResString(keep, ImportTableBase + LanguageIndex, 30);
        GetResString(substitute, ImportTableBase + LanguageIndex, 31);
        return ShowAlert(2, text, QV_String(), QV_String(), keep, substitute, QV_String()) == 1;
    };
    input.openPointPalette = [] {
        OpenPointInputPalette(PointInputPaletteGlobalState, 0);
        InitPointInputPalette(PointInputPaletteGlobalState);
    };
    input.storePointPalette = [] { StorePointInputPaletteValues(PointInputPaletteGlobalState); };
    input.initPointPalette = [] { InitPointInputPalette(PointInputPaletteGlobalState); };
    input.closePointPalette = [] { ClosePointInputPalette(PointInputPaletteGlobalState); };
    input.updateCoordinateFields = [] { PrepareCoordinateDisplay(ToolsPalette()); };
    input.coordinateFeedback = CoordinateFeedback;
    input.resetToolInput = [] { ResetToolInput(ToolsPalette()); };
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
    WiredUpkeepHooks().isRoadSection = RoadLP::ReadObject;
    WiredUpkeepHooks().keepRoadSections = [](GS::Array<API_Guid>& objects, int32_t roadLibIndex) {
        RoadLP::ReadSection(objects, roadLibIndex);  // 1 only says the array came empty
        return true;
    };
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
    WiredElementEdit() = [](const GS::Array<API_Neig>& neigs, const API_EditPars& pars) {
        return ACAPI_Element_Edit(neigs, pars);
    };
}

void UnwireSubsystems() {
    SetAddOnLibraryLoader(nullptr);
    SetCurveSegmentationAsk(nullptr);
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    ResetTerrainInputHooks();
    ResetToolDialogs();
    ResetTerrainSettingsDialogs();
    ResetTerrainContourHooks();
    ResetMeshConversionAsk();
    ResetElementEdit();
    Made.reset();
}
