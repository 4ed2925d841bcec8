#include "shell/Wiring.hpp"

#include "earthworks/EarthworkUpdateSteps.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/EarthworkDialogBoxes.hpp"
#include "shell/HostElementEditor.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "shell/TerrainDialogBoxes.hpp"
#include "shell/TerrainInputDialogBoxes.hpp"
#include "shell/ToolsPalette.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "siteobjects/SiteObjectUpdateSteps.hpp"
#include "terrain/TerrainUpdateSteps.hpp"

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

}  // namespace

const ModulePorts& Ports() { return Made.value().ports; }

void WireSubsystems(const PortReplacements& replaced) {
    Made.emplace(replaced);
    SetAddOnLibraryLoader(LoadAddOnLibraries);
    // Each element kind's own step of the model update, under its kind.
    RegisterModelUpdateStep(ElemKind_Section, TagNewRoadSections);
    RegisterModelUpdateStep(ElemKind_Contour, RefreshCopiedContourLines);
    RegisterModelUpdateStep(ElemKind_Building, RefreshNewBuildings);
    RegisterModelUpdateStep(ElemKind_Basin, RefreshBasinTerrainCuts);
    RegisterModelUpdateStep(ElemKind_ColouredArea, RefreshNewColouredAreas);
    RegisterModelUpdateStep(ElemKind_Wall, RefreshNewWalls);
    RegisterModelUpdateStep(ElemKind_RetainingWall, RefreshNewRetainingWalls);
    RegisterModelUpdateStep(ElemKind_Bridge, RefreshBridgeTerrainCuts);
    RegisterModelUpdateStep(ElemKind_Terrain, [](const ModelUpdateEvent& event) {
        return KeepTerrainObjectsInStep(Ports().elementEditor, event);
    });
    RegisterModelUpdateStep(ElemKind_Point, KeepPointsInStep);
    RegisterModelUpdateStep(ElemKind_Constraint, KeepConstraintsOnTheirPoints);
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
    WiredUpkeepHooks().runContourLines = [](const API_Element& terrain) { RunContourLines(terrain, nullptr); };
}

void UnwireSubsystems() {
    SetAddOnLibraryLoader(nullptr);
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    Made.reset();
}
