#include "shell/commands/ExportCommands.hpp"

#include "dialogs/settings/PointExportSettingsDialog.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "fileio/TextExport.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "shell/commands/ToolCommand.hpp"

namespace {

constexpr int32_t ExportCompleteText = 231;  // "Export complete!"
// A user who keeps giving a wrong name is not held in the dialog forever.
constexpr int32_t MaxFileAsks = 20;

int32_t TextExportCommand(Settings& settings) {
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) return ErrDatabase;
    QV_List<API_Element> terrains;
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::Yes, terrains)) return ErrFindingData;
    if (terrains.GetCount() != 1) return ErrNoConditions;
    // A terrain the host leaves selected is not exported: the user would see it chosen for the next tool.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;

    TextExportRec record;
    bool cancelled = false;
    int32_t asks = 0;
    while (!TextExport::AskFile(record, cancelled)) {
        if (record.destination.IsEmpty()) return ErrCreatingFile;
        ReportToolResult(ErrTxtExtension);
        if (++asks >= MaxFileAsks) return 0;
    }
    if (cancelled) return 0;
    const int32_t written = TextExport::Run(record, terrains[0], cancelled, RunPointExportSettings);
    if (written != NoErrorCode) return written;
    if (!cancelled)
        ShowAlert(Alert(AlertKind::Information, AlertText(), AlertText{GeneralTableBase, ExportCompleteText}));
    return 0;
}

}  // namespace

void RunTextExport(Settings& settings) { ReportToolResult(TextExportCommand(settings)); }
