#include "shell/commands/TerrainCommands.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "terrain/TerrainBuilder.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "terrain/TerrainSettingsRun.hpp"

void RunTerrain(Settings& settings, TerrainDialogs& dialogs, TerrainContourSteps& contours) {
    BeginToolCommand(settings);
    TerrainRecord record;
    QV_List<API_Element> terrains, outlines;
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::Yes, terrains) ||
        !CollectAddOnObjects(ElemKind_Outline, API_HatchID, Leave3D::Yes, outlines)) {
        ReportToolResult(ErrFindingData);
        return;
    }
    int32_t code = 0;
    if (terrains.GetCount() > 0) {
        SetEditedCount(settings, terrains.GetCount());
        code = ModifyTerrainMesh(settings, dialogs, contours, record, terrains);
    } else if (outlines.GetCount() > 0) {
        code = BuildTerrain(settings, dialogs, contours, record, outlines[0]);
    } else {
        BuildTerrainWithoutSelection(settings, dialogs, record);
    }
    ReportToolResult(code);
}

void RunMeshConversion(Settings& settings, TerrainDialogs& dialogs) {
    BeginToolCommand(settings);
    TerrainRecord record;
    QV_List<API_Element> terrains, meshes;
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::Yes, terrains)) {
        ReportToolResult(ErrFindingData);
        return;
    }
    if (terrains.GetCount() > 0) return;  // one terrain a project: nothing to do, nothing to say
    if (!CollectSelection(meshes, true, API_MeshID, false, Leave3D::Yes)) {
        ReportToolResult(ErrFindingData);
        return;
    }
    if (meshes.GetCount() != 1) return;
    ReportToolResult(BuildTerrainFromMesh(dialogs, meshes[0], true));
}
