#include "shell/commands/SOSIImportCommands.hpp"

#include "dialogs/settings/SOSIImportStepDialog.hpp"
#include "dialogs/settings/SOSIResultsDialog.hpp"
#include "elements/CoordinateLocatorLP.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/HostReaderProgress.hpp"
#include "fileio/ReadReport.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "shell/commands/ImportLogLine.hpp"
#include "shell/commands/NothingChosenAlert.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSILocatorDatabases.hpp"
#include "sosi/SOSIObjectPlacement.hpp"
#include "sosi/SOSIOutput.hpp"
#include "sosi/SOSIOutputSteps.hpp"

#include <vector>

namespace {

constexpr const char* ObjectPartName = "SOSI OBJECT";
constexpr int32_t OpenTitle = 2;                   // "Open..."
constexpr int32_t SOSIFileTypeIndex = 3;           // "SOSI Files", "SOS"
constexpr uint32_t TextFileTypeCode = 0x54455854;  // 'TEXT'

SOSIFileData FileAt(const QV_String& path) {
    SOSIFileData file;
    file.path = path;
    return file;
}

// The SOSI files the user picks (one in modes 0 and 1, several in mode 2) into the reader's files. False when
// the user cancelled.
bool ChooseFiles(SOSIFileCls& reader) {
    const int32_t importMode = reader.importMode;
    QV_List<SOSIFileData>& files = reader.scan.files;
    QV_String& path = reader.path;
    const ImportFileType& type = GetImportFileType(SOSIFileTypeIndex);
    QV_String title;
    GetResString(title, GeneralTableBase + LanguageIndex, OpenTitle);
    if (importMode == SOSIModeWorksheet) {
        std::vector<QV_String> paths;
        if (!ShowOpenFilesDialog(paths, nullptr, title, {type}, nullptr)) {
            return false;
        }
        files.Clear();
        for (const QV_String& chosen : paths) files.Insert(FileAt(chosen));
        if (!paths.empty()) path = paths.front();
        return true;
    }
    QV_String chosen;
    if (!RegisterFileTypes(chosen, type, TextFileTypeCode, title, nullptr)) {
        return false;
    }
    path = chosen;
    files.Insert(FileAt(chosen));
    return true;
}

// A part that is not there (and not given through the library folder) ends the import without a word; a search
// the host refuses ends it with "Error while finding data.".
bool FindPart(const char* name, int32_t& index) {
    LibPartLookup part = LibPartLookup::Missing;
    if (FindLibPartOrAsk(QV_String(name), index, false, QV_String(), APILib_ObjectID, &part)) return true;
    if (part == LibPartLookup::Refused) ReportToolResult(ErrFindingData);
    return false;
}

// The points' options and the constraint lines' pen and line type, which mode 0 draws its lines with.
void CopyOptions(SOSIFileCls& reader, const Settings& settings) {
    reader.SetImportOptions(settings.points);
    reader.output.lineValues[0] = uint32_t(settings.constraint.pen);
    reader.output.lineValues[1] = uint32_t(settings.constraint.lineType);
}

// The chosen objects, their extent as the first limiting area, the worksheets a locator offset can come from. False
// when the user stopped the objects' read.
bool PrepareResults(SOSIFileCls& reader) {
    reader.pointsRead = reader.pointsKept = 0;
    reader.ImportObjects();
    if (reader.assembly.stopped) return false;
    reader.ComputeExtents();
    reader.limitArea = reader.bounds;
    FindSOSILocatorDatabases(reader);
    return true;
}

// A results dialog closed without OK ends the import, unless the user asked to import again.
bool Ends(bool confirmed, const SOSIFileCls& reader) { return !confirmed && reader.importAgain == 0; }

constexpr int32_t ChooseTypesText = 6;  // "Select only the OBJEKTTYPE you want to import:"

// With no type ticked the import would read nothing: the user is told instead, as the DXF import tells a choice
// of no layer.
bool SOSITypeChosen(const SOSIFileCls& reader) {
    for (const SOSIOType& row : reader.scan.types)
        if (row.import != 0) return true;
    ShowNothingChosenAlert(SOSITableBase, ChooseTypesText);
    return false;
}

// The files read (or, importing again, their lines kept) and what the read met shown, then the options of the
// import mode asked; the default pen and line type and the worksheet's names chosen are kept for the next import.
// False when a file could not be read, the user cancelled or chose no type.
bool ReadAndAskOptions(SOSIFileCls& reader, Settings& settings, const SOSIImportAsks& asks) {
    const bool again = reader.importAgain != 0;
    const bool read = reader.ReadSOSIFiles(settings.misc);
    if (!again) ShowReadReport(reader.scan.report);
    if (!read) return false;
    reader.cancelled = 0;
    MiscSettings& misc = settings.misc;
    SOSIOptionChoices choices{misc.sosiChoice, misc.sosiChoice2, misc.worksheetReference, misc.worksheetName};
    if (!asks.options(reader, choices)) {
        reader.cancelled = 1;
        return false;
    }
    misc.sosiChoice = choices.defaultPen;
    misc.sosiChoice2 = choices.defaultLineType;
    misc.worksheetReference = choices.worksheetReference;
    misc.worksheetName = choices.worksheetName;
    return SOSITypeChosen(reader);
}

// "Import again...": the lines and objects read stay, the options dialog runs again. False ends the import.
bool ReadAgain(SOSIFileCls& reader, Settings& settings, const SOSIImportAsks& asks) {
    reader.ResetForReread();
    const bool read = ReadAndAskOptions(reader, settings, asks);
    // Cleared only now: the read skips the files while it is set, and left set it would bring every later
    // results dialog back here.
    reader.importAgain = 0;
    return read;
}

// A build the host refused is told as such; objects whose geometry made no element are counted and told once,
// after the build; a user break is no failure.
void Build(SOSIFileCls& reader, const MiscSettings& misc) {
    uint8_t created = 0;
    const bool built = BuildSOSIOutput(reader, misc, &created);
    if (!built && reader.cancelled == 0) {
        ReportToolResult(ErrModifying);
        return;
    }
    if (built) LogMadeElements(SOSIOutputState().madeOfType);
    if (reader.cancelled == 0) {
        ReadReport unbuilt;
        unbuilt.Note(ReadIssue::UnbuildableObject, reader.output.unbuilt);
        ShowReadReport(unbuilt);
    }
    ACAPI_Automate(APIDo_ZoomID);
}

// Chooses and reads the files, then runs the results dialogs (32544 before 32540 in a terrain import) until the
// user is done, reading the files again when asked; false when the import ends there.
bool ReadAndConfirm(SOSIFileCls& reader, Settings& settings, const SOSIImportAsks& asks) {
    if (!ChooseFiles(reader)) return false;
    CopyOptions(reader, settings);
    if (!ReadAndAskOptions(reader, settings, asks)) return false;
    for (;;) {
        // A stop ends the import quietly, as a cancel does.
        if (!PrepareResults(reader)) return false;
        // What the chosen objects held that no survey holds, and the heights given up, told before the results.
        ShowReadReport(reader.assembly.issues);
        if (reader.importMode == SOSIModeTerrain && Ends(OpenSOSIImportResultsDialog(reader), reader)) return false;
        if (Ends(OpenSOSIImportResultsDialogTwin(reader), reader)) return false;
        // Without the locators, or the chosen one's offset, the objects would land at the file's own coordinates.
        if (reader.output.locatorRefused != 0) {
            ReportToolResult(ErrFindingData);
            return false;
        }
        KeepImportOffset(reader, ImportCounts::Objects);
        if (reader.importAgain == 0) return true;
        if (!ReadAgain(reader, settings, asks)) return false;
    }
}

}  // namespace

void ImportSOSIFile(Settings& settings) {
    int32_t choice = 1;
    if (!OpenSOSIImportDialog(&choice)) return;
    RunSOSIImport(settings, choice - 1);
}

void RunSOSIImport(Settings& settings, int32_t mode, const SOSIImportAsks& asks) {
    BeginToolCommand(settings);
    if (mode < SOSIModeTerrain || mode > SOSIModeWorksheet) return;
    HostReaderProgress progress;
    SOSIFileCls reader;
    reader.SetProgress(&progress);
    if (mode == SOSIModeObjects && !FindPart(ObjectPartName, reader.output.objectLibPartIndex)) return;
    if (mode != SOSIModeWorksheet && !FindPart(CoordinateLocatorPartName, reader.output.locatorLibPartIndex)) return;
    reader.importMode = mode;
    reader.output.namesFromSettings = 1;
    reader.output.addSwitch = 1;
    if (!RequireFloorPlan()) {
        ReportToolResult(ErrDatabase);
        return;
    }
    if (!ReadAndConfirm(reader, settings, asks)) return;
    if (mode == SOSIModeObjects &&
        (!asks.curveSegmentation(reader) || !EditSOSIObjectSettings(reader.output.objectLibPartIndex)))
        return;
    if (mode == SOSIModeTerrain) reader.FilterContourHeights();
    Build(reader, settings.misc);
}

void RunSOSIWorksheetImport(Settings& settings, const SOSIImportAsks& asks) {
    BeginToolCommand(settings);
    HostReaderProgress progress;
    SOSIFileCls reader;
    reader.SetProgress(&progress);
    // Into the current worksheet: no id or name is asked.
    reader.importMode = SOSIModeWorksheet;
    reader.output.namesFromSettings = 0;
    reader.output.addSwitch = 1;
    if (!ReadAndConfirm(reader, settings, asks)) return;
    Build(reader, settings.misc);
}

void RunSOSIImport(Settings& settings, int32_t mode) { RunSOSIImport(settings, mode, SOSIImportAsks()); }

void RunSOSIWorksheetImport(Settings& settings) { RunSOSIWorksheetImport(settings, SOSIImportAsks()); }
