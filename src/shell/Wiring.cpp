#include "shell/Wiring.hpp"

#include "earthworks/EarthworkUpdateSteps.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "shell/EarthworkDialogBoxes.hpp"
#include "shell/HostElementEditor.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "shell/TerrainDialogBoxes.hpp"
#include "shell/TerrainInputDialogBoxes.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineRegenerator.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "siteobjects/SiteObjectUpdateSteps.hpp"
#include "terrain/TerrainUpdateSteps.hpp"

#include <optional>

namespace {
// The model update's steps: the framework's own and each element kind's, under its kind.
ModelUpdateSteps KindsModelUpdateSteps(ElementEditor& editor) {
    ModelUpdateSteps steps = FrameworkModelUpdateSteps();
    steps.kindSteps = {
        {ElemKind_Section, TagNewRoadSections},
        {ElemKind_Contour, RefreshCopiedContourLines},
        {ElemKind_Building, RefreshNewBuildings},
        {ElemKind_Basin, RefreshBasinTerrainCuts},
        {ElemKind_ColouredArea, RefreshNewColouredAreas},
        {ElemKind_Wall, RefreshNewWalls},
        {ElemKind_RetainingWall, RefreshNewRetainingWalls},
        {ElemKind_Bridge, RefreshBridgeTerrainCuts},
        {ElemKind_Terrain,
         [&editor](const ModelUpdateEvent& event) { return KeepTerrainObjectsInStep(editor, event); }},
        {ElemKind_Point, [](const ModelUpdateEvent& event) { return KeepPointsInStep(GlobalSettings.points, event); }},
        {ElemKind_Constraint, KeepConstraintsOnTheirPoints},
    };
    return steps;
}

// One implementation of each port, alive from WireSubsystems to UnwireSubsystems.
struct MadePorts {
    explicit MadePorts(const PortReplacements& replaced)
        : ports{earthworkDialogs,
                siteObjectDialogs,
                terrainDialogs,
                replaced.terrainInputDialogs != nullptr ? *replaced.terrainInputDialogs
                                                        : static_cast<TerrainInputDialogs&>(terrainInputDialogs),
                terrainContourSteps,
                elementEditor,
                replaced.contourLineRefresh != nullptr ? *replaced.contourLineRefresh
                                                       : static_cast<ContourLineRefresh&>(contourLineRefresh),
                modelUpdateSteps} {}

    EarthworkDialogBoxes earthworkDialogs;
    SiteObjectDialogBoxes siteObjectDialogs;
    TerrainDialogBoxes terrainDialogs;
    TerrainInputDialogBoxes terrainInputDialogs;
    ContourObjectSteps terrainContourSteps;
    HostElementEditor elementEditor;
    ContourLineRegenerator contourLineRefresh{GlobalSettings};  // the shell's one settings object
    const ModelUpdateSteps modelUpdateSteps = KindsModelUpdateSteps(elementEditor);
    ModulePorts ports;
};
std::optional<MadePorts> Made;

}  // namespace

const ModulePorts& Ports() { return Made.value().ports; }

void WireSubsystems(const PortReplacements& replaced) { Made.emplace(replaced); }

void UnwireSubsystems() { Made.reset(); }
