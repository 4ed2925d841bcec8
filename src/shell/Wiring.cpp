#include "shell/Wiring.hpp"

#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/SOSIOptionsDialog.hpp"
#include "dialogs/settings/TextImportDialog.hpp"
#include "dialogs/tools/SOSICurveSegmentationDialog.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/Section.hpp"
#include "elements/LibPartViews.hpp"
#include "earthworks/TerrainCutRefresh.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModuleLog.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/EarthworkDialogBoxes.hpp"
#include "shell/HostElementEditor.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "shell/TerrainDialogBoxes.hpp"
#include "shell/TerrainInputDialogBoxes.hpp"
#include "shell/ToolsPalette.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Wall.hpp"
#include "sosi/SOSIDialogHooks.hpp"

#include <optional>
#include <string>

namespace {
// One implementation of each port, alive from WireSubsystems to UnwireSubsystems.
struct MadePorts {
    explicit MadePorts(const PortReplacements& replaced)
        : ports{earthworkDialogs,
                siteObjectDialogs,
                terrainDialogs,
                replaced.terrainInputDialogs != nullptr ? *replaced.terrainInputDialogs
                                                        : static_cast<TerrainInputDialogs&>(terrainInputDialogs),
                terrainContourSteps,
                elementEditor} {}

    EarthworkDialogBoxes earthworkDialogs;
    SiteObjectDialogBoxes siteObjectDialogs;
    TerrainDialogBoxes terrainDialogs;
    TerrainInputDialogBoxes terrainInputDialogs;
    ContourObjectSteps terrainContourSteps;
    HostElementEditor elementEditor;
    ModulePorts ports;
};
std::optional<MadePorts> Made;

void TraceStep(const char* name, int32_t value) {
    const std::string text = std::string(name) + "(" + std::to_string(value) + ")";
    ModuleLog::LogCall(text.c_str());
}
}  // namespace

const ModulePorts& Ports() { return Made.value().ports; }

void WireSubsystems(const PortReplacements& replaced) {
    Made.emplace(replaced);
    SetAddOnLibraryLoader(LoadAddOnLibraries);
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
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
    WiredUpkeepHooks().isRoadSection = RoadLP::ReadObject;
    WiredUpkeepHooks().keepRoadSections = [](GS::Array<API_Guid>& objects, int32_t roadLibIndex) {
        RoadLP::ReadSection(objects, roadLibIndex);  // 1 only says the array came empty
        return true;
    };
    ASCFile::SetAscOptionsDialog(AskAscImportOptions);
    SetTextOptionsDialog(AskTextImportOptions);
    WiredUpkeepHooks().runContourLines = [](const API_Element& terrain) { RunContourLines(terrain, nullptr); };
    steps.collectTerrainElements = [](int32_t mode, const QV_List<API_Elem_Head>& heads,
                                      const QV_List<API_Element>& parents) {
        return CollectTerrainElements(Ports().elementEditor, mode, heads, parents);
    };
    SOSIDialogHooks sosiDialogs;
    sosiDialogs.optionsDialog = RunSOSIOptionsDialog;
    sosiDialogs.curveSegmentation = AskSOSICurveSegmentation;
    SetSOSIDialogs(sosiDialogs);
}

void UnwireSubsystems() {
    SetAddOnLibraryLoader(nullptr);
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    ASCFile::SetAscOptionsDialog(nullptr);
    SetTextOptionsDialog(nullptr);
    SetSOSIDialogs(SOSIDialogHooks());
    Made.reset();
}
