#include "shell/commands/ShapeImportCommands.hpp"
#include "elements/WholeCommand.hpp"

#include "dialogs/settings/ShapeImportModeDialog.hpp"
#include "dialogs/settings/ShapeImportResultsDialog.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/HostReaderProgress.hpp"
#include "fileio/ReadReport.hpp"
#include "fileio/ShapeTerrainInput.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"
#include "shell/commands/ImportLogLine.hpp"
#include "shell/commands/ToolCommand.hpp"

#include "UniString.hpp"

namespace {

constexpr int32_t OpenTitle = 2;
constexpr uint32_t ShapeFileTypeCode = 0x53485020;  // 'SHP '

// The host's file dialog for one ".shp" file; false on cancel, or on another extension with the reason in `report`
// ("The name of the file must end with the .shp extension").
bool SelectShapefile(QV_String& path, ReadReport& report) {
    const ImportFileType type = {"SHAPE Files", "shp"};
    QV_String title;
    GetResString(title, GeneralTableBase + LanguageIndex, OpenTitle);
    if (!RegisterFileTypes(path, type, ShapeFileTypeCode, title, nullptr)) return false;
    if (HasFileExtension(path, "shp")) return true;
    report.Note(ReadIssue::NotShapefileName);
    return false;
}

// The table's file name as the user knows it beside the shapefile.
QV_String TableFileName(const ShapeImportData& data) { return GetFileNamePart(TablePathOf(data.shapes.path)); }

// Heights from a field were asked for, but none can be had: told, and the shapes keep their own heights.
void TellNoHeightField(const ShapeImportData& data) {
    if (!data.options.heightFromField || data.options.heightField >= 0) return;
    // A missing table refuses the import before this: the table was unreadable or holds no number field.
    const int32_t reason = data.tableUnread ? HeightTableUnreadText : HeightFieldMissingText;
    Alert alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, reason});
    if (data.tableUnread) alert.With(TableFileName(data));
    ShowAlert(alert);
}

}  // namespace

bool ReadShapefile(ShapeImportData& data, bool tableNeeded) {
    ReadReport choice;
    if (!SelectShapefile(data.shapes.path, choice)) {
        ShowReadReport(choice);
        return false;
    }
    if (!ReadDBFTable(data)) {
        // A stop ends the command quietly, as a cancel does.
        if (data.tableReport.error == 0 && !data.tableReport.HasIssues()) return false;
        // A table that cannot be opened at all (not there, a folder, a pipe) is error 8 in either mode.
        if (tableNeeded || data.tableMissing || data.tableReport.NotOpened()) {
            if (data.tableMissing)
                ShowAlert(Alert(ErrReadingFile, AlertKind::Warning)
                              .Beneath(AlertText{ErrorTableBase, TableMissingText})
                              .With(TableFileName(data)));
            else
                ShowReadReport(data.tableReport);
            return false;
        }
        // Terrain input needs no table: without one, no height comes from a field.
        data.tableUnread = true;
        data.fields.Clear();
        data.values.Clear();
        data.tableReport = ReadReport();
    }
    if (!data.shapes.Read()) {
        if (!data.shapes.cancelled) ShowReadReport(data.shapes.report);
        return false;
    }
    // The table's issues and the shapes' in one alert.
    ReadReport read = data.tableReport;
    read.Add(data.shapes.report);
    read.Note(ReadIssue::NoTableRow, ShapesWithoutTableRow(data));
    ShowReadReport(read);
    return true;
}

void TellShapePartsLeftOut(const ShapeImportData& data) {
    ReadReport parts;
    parts.Note(ReadIssue::EmptyParts, uint32_t(data.degenerateParts));
    ShowReadReport(parts);
}

void ImportShapesAsTerrain(const Settings& settings, ShapeImportData& data) {
    if (!RequireFloorPlan()) return;
    if (!ReadShapefile(data, false)) return;
    ConvertShapesToEntities(data, true);
    CheckShapePolygons(data);
    TellShapePartsLeftOut(data);
    ComputeEntityBounds(data, true);
    SetImportSummary(data);
    if (!RunTerrainResultsDialogs(data)) return;
    ProjectOffset.x = data.options.offsetX;
    ProjectOffset.y = data.options.offsetY;
    LogImportLine(ImportCounts::Shapes, uint32_t(data.options.identified), uint32_t(data.options.importable),
                  uint32_t(data.options.toCorrect), true);
    if (data.options.heightFromField && data.options.heightField >= 0) ApplyHeightField(data);
    TellNoHeightField(data);
    ThinPolylineNodes(data);
    ThinPointEntities(data);
    data.pointOptions = settings.points;
    data.constraintSettings = settings.constraint;
    // A failed creation takes back what it placed, and is told, not left silent. Heights merged at one position are
    // told once the points stand.
    const bool created = RunWholeCommand([&] { return CreateTerrainInputCommand(data) != 0; });
    if (!created) {
        ShowErrorMessage(ErrModifying, AlertKind::Warning);
    } else {
        ReadReport merged;
        merged.Note(ReadIssue::MixedHeights, data.mixedHeights);
        merged.Note(ReadIssue::OutOfRange, data.heightsRefused);
        ShowReadReport(merged);
    }
    ACAPI_Automate(APIDo_ZoomID);
}

void ImportGISFile(Settings& settings) {
    BeginToolCommand(settings);
    ShapeImportModeBlock mode;
    mode.mode = 1;
    if (!OpenShapeImportDialog(mode)) return;
    ShapeImportData data;
    HostReaderProgress progress;
    data.shapes.SetProgress(&progress);
    if (mode.mode == 1)
        ImportShapesAsTerrain(settings, data);
    else
        ImportShapesAsObjects(data);
}
