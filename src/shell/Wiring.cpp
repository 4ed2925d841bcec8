#include "shell/Wiring.hpp"

#include "dialogs/settings/RoadSettingsDialog.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "dialogs/tools/MeshConversionDialog.hpp"
#include "earthworks/Road.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/LibPart.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "shell/AddOnLibraries.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "terrain/TerrainSettingsRun.hpp"

void WireSubsystems() {
    SetAddOnLibraryLoader(LoadAddOnLibraries);
    SetCurveSegmentationAsk(AskCurveSegmentation);
    SetRoadDialogOpener(OpenRoadSettingsLayout);
    ModelUpdateSteps& steps = WiredModelUpdateSteps();
    steps.pointToolEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>&) {
        return PointTool::OnElementEvent(mode, heads.begin(), heads.GetCount());
    };
    // The upkeep's road sections and contour-line command are not built yet: their hooks keep noting their calls.
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
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
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    ResetTerrainSettingsDialogs();
    ResetTerrainContourHooks();
    ResetMeshConversionAsk();
    ResetElementEdit();
}
