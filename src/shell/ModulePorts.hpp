#pragma once
// The ports the shell hands down: where a lower folder must ask a higher one, it declares an interface and takes
// it as an argument. The shell makes one implementation of each when the module starts (WireSubsystems, at
// Initialize) and drops them at release; the palette's buttons pass them to the commands, the commands to the
// element classes.
#include "elements/ModelUpdate.hpp"

class ContourLineRefresh;
class EarthworkDialogs;
class ElementEditor;
class SiteObjectDialogs;
class TerrainContourSteps;
class TerrainDialogs;
class TerrainInputDialogs;

struct ModulePorts {
    EarthworkDialogs& earthworkDialogs;        // shell/EarthworkDialogBoxes
    SiteObjectDialogs& siteObjectDialogs;      // shell/SiteObjectDialogBoxes
    TerrainDialogs& terrainDialogs;            // shell/TerrainDialogBoxes
    TerrainInputDialogs& terrainInputDialogs;  // shell/TerrainInputDialogBoxes
    TerrainContourSteps& terrainContourSteps;  // terrain/ContourTerrainSteps (ContourObjectSteps)
    ElementEditor& elementEditor;              // shell/HostElementEditor
    ContourLineRefresh& contourLineRefresh;    // terrain/ContourLineRegenerator
    // The model update's steps: the framework's and each element kind's own (earthworks/EarthworkUpdateSteps,
    // siteobjects/SiteObjectUpdateSteps, terrain/TerrainUpdateSteps), which the element events' handler runs.
    const ModelUpdateSteps& modelUpdateSteps;
};

// The ports of the started module. Asked for before start or after release, it throws
// (std::bad_optional_access): nothing runs on a stand-in.
const ModulePorts& Ports();
