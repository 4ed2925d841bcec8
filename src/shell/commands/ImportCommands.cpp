#include "shell/commands/ImportCommands.hpp"

#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/DxfImportDialog.hpp"
#include "dialogs/settings/PointImportResultsDialog.hpp"
#include "dialogs/settings/TextImportDialog.hpp"
#include "fileio/DXFFileCls.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/HostReaderProgress.hpp"
#include "fileio/ImportedPointPlacement.hpp"
#include "fileio/ReadReport.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "shell/commands/ImportLogLine.hpp"
#include "shell/commands/NothingChosenAlert.hpp"
#include "shell/commands/ToolCommand.hpp"

#include "UniString.hpp"

namespace {

constexpr int32_t OpenTitle = 2;                   // "Open..."
constexpr int32_t AscExtensionText = 247;          // the same for .ASC, in the general table
constexpr uint32_t TextFileTypeCode = 0x54455854;  // 'TEXT'

void ShowAscExtensionAlert() {
    ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{GeneralTableBase, AscExtensionText}));
}

constexpr int32_t ChooseLayersText = 48;  // "Select the layers containing the survey only:"

// With no layer chosen the entity pass would read nothing: the user is told instead, and nothing is read.
bool DxfLayerChosen(const DXFFileCls& reader) {
    for (const DXFFileLayer& layer : reader.layers)
        if (layer.import != 0) return true;
    ShowNothingChosenAlert(GeneralTableBase, ChooseLayersText);
    return false;
}

// The file dialog until a file of the right extension is chosen; false on Cancel.
bool ChooseFile(QV_String& path, int32_t typeIndex, void (*wrongExtension)()) {
    const ImportFileType& type = GetImportFileType(typeIndex);
    QV_String title;
    GetResString(title, GeneralTableBase + LanguageIndex, OpenTitle);
    while (true) {
        if (!RegisterFileTypes(path, type, TextFileTypeCode, title, nullptr)) return false;
        if (HasFileExtension(path, type.extension)) return true;
        wrongExtension();
    }
}

// Options, read, results (again while the user asks to import again), placement.
template <typename Reader>
void RunImport(Reader& reader, Settings& settings, bool (*ask)(Reader&), bool (*place)(Reader&, ImportOptionsRec&)) {
    reader.SetImportOptions(settings.points);
    HostReaderProgress progress;
    reader.SetProgress(&progress);
    // The options dialog starts from what the detection found; Cancel ends the import without a word. A failed
    // read is told with its reason; what a read left out is told before its results.
    auto read = [&]() {
        if (!reader.Detect()) {
            ShowReadReport(reader.report);
            return false;
        }
        if (!ask(reader)) {
            reader.CloseReaderFile();
            return false;
        }
        const bool ok = reader.Read();
        ShowReadReport(reader.report);
        return ok;
    };
    if (!read()) return;
    while (true) {
        if (!RunPointImportResults(reader)) return;
        KeepImportOffset(reader);
        if (!reader.importAgain) break;
        reader.Clear();
        if (!read()) return;
    }
    if (!place(reader, settings.points)) ReportToolResult(ErrModifying);
}

template <typename Reader>
void RunCommand(Settings& settings, int32_t typeIndex, void (*wrongExtension)(), bool (*ask)(Reader&),
                bool (*place)(Reader&, ImportOptionsRec&)) {
    Reader reader;
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) {
        ReportToolResult(ErrDatabase);
        return;
    }
    if (!ChooseFile(reader.path, typeIndex, wrongExtension)) return;
    RunImport(reader, settings, ask, place);
    reader.CloseReaderFile();
    reader.Clear();
}

}  // namespace

void ImportASCFile(Settings& settings) {
    RunCommand<ASCFile::ASCFileCls>(settings, 1, ShowAscExtensionAlert, AskAscImportOptions, CreateAscPoints);
}

void ImportTextFile(Settings& settings) {
    RunCommand<TextFileCls>(
        settings, 0, [] { ShowErrorMessage(ErrNoTxtExtension, AlertKind::Warning); }, AskTextImportOptions,
        CreateTextPoints);
}

void ImportDXFFile(Settings& settings) {
    HostReaderProgress progress;
    DXFFileCls reader;
    BeginToolCommand(settings);
    if (!RequireFloorPlan()) {
        ReportToolResult(ErrDatabase);
        return;
    }
    if (!ChooseFile(reader.path, 2, [] { ShowErrorMessage(ErrNoDxfExtension, AlertKind::Warning); })) return;
    reader.SetImportOptions(settings.points);
    reader.constraintPen = settings.constraint.pen;
    reader.constraintLineType = settings.constraint.lineType;
    reader.SetProgress(&progress);
    bool cancelled = false;
    // Every failed read is told, whatever its cause; a stopped one ends the command quietly.
    if (!reader.ScanLayers(cancelled)) {
        if (!cancelled) ShowReadReport(reader.report);
        return;
    }
    // The layers and options, the entities of the layers chosen, the results: again while the user asks to import
    // again (the layers keep their flags).
    do {
        if (!RunDxfImportDialogs(reader) || !DxfLayerChosen(reader)) return;
        if (!reader.ReadChosen(cancelled)) {
            if (!cancelled) ShowReadReport(reader.report);
            return;
        }
        if (!RunPointImportResults(reader)) return;
        KeepImportOffset(reader);
    } while (reader.importAgain != 0);
    // What the read left out is told before anything is placed. Nothing read leaves the project as it was: no undo
    // step, no layer.
    ShowReadReport(reader.report);
    if (reader.pointEntities.empty() && reader.vertices.empty()) return;
    if (!reader.CreateElements(settings.points, settings.constraint)) ReportToolResult(ErrModifying);
}
