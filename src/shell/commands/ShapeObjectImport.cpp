// The shapefile import's object mode: the shapes' lines and polygons as GIS objects with their attributes.
#include "dialogs/settings/GISSelectDialog.hpp"
#include "elements/WholeCommand.hpp"
#include "dialogs/settings/NewObjectNameDialog.hpp"
#include "dialogs/settings/ShapeImportResultsDialog.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ToolDefaults.hpp"
#include "fileio/GISObjectPlacement.hpp"
#include "fileio/GISObjects.hpp"
#include "fileio/NewGISObject.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "settings/ProjectOffset.hpp"
#include "shell/commands/ImportLogLine.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "shell/commands/ShapeImportCommands.hpp"
#include "shell/commands/ToolCommand.hpp"

#include "UniString.hpp"

#include <string>

namespace {

constexpr int32_t UndoEntry = 2;
constexpr uint32_t GISVariation = 0x47495353;  // 'GISS'

// The add-on's library folder, beside the add-on file.
QV_String LibraryFolder() {
    GS::UniString folder;
    if (!AddOnFolderPath(folder, true)) return QV_String();
    QV_String path;
    path.AppendWide(folder.ToUStr(), folder.GetLength());
    path += "\\";
    path += AddOnLibraryFolderName;
    return path;
}

// The name dialog, then the part; false when the user cancelled or the part could not be made (error 63).
bool CreateNewGISObject(ShapeImportData& data, QV_String& name, int32_t prototypeIndex) {
    NewObjectNameBlock block;
    if (!OpenNewObjectNameDialog(block)) return false;
    SetNewObjectParamTable(data.fields);
    int32_t index = -1;
    if (!CreateGISLibPart(block.name, prototypeIndex, LibraryFolder(), index)) {
        ShowErrorMessage(ErrCreatingObject, AlertKind::Warning);
        return false;
    }
    name = block.name;
    return true;
}

// False when it failed, after telling why: what it made, a new object part among it, goes with the command.
bool ImportGISObjectsCommand(ShapeImportData& data, int32_t prototypeIndex) {
    // The objects to choose from, read before anything else: a list the host cut short would offer the wrong ones.
    if (!CollectGISObjectNames(data.options)) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return false;
    }
    if (!RequireFloorPlan()) return true;
    if (!ReadShapefile(data, true)) return true;
    ConvertShapesToEntities(data, false);
    CheckShapePolygons(data);
    TellShapePartsLeftOut(data);
    ComputeEntityBounds(data, false);
    if (!CollectMatchingGISObjects(data)) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return false;
    }
    SetImportSummary(data);
    if (!RunImportResultsDialogs(data)) return true;
    // No shape to make an object of (point shapes only): no part is made, no default changed, nothing placed.
    if (data.entities.IsEmpty()) return true;
    ProjectOffset.x = data.options.offsetX;
    ProjectOffset.y = data.options.offsetY;
    LogImportLine(ImportCounts::Shapes, uint32_t(data.options.identified), uint32_t(data.options.importable),
                  uint32_t(data.options.toCorrect), true);
    if (data.options.heightFromField && data.options.heightField >= 0) ApplyHeightField(data);

    QV_String name;
    const QV_String* matching = data.options.matchingObjects.Get(data.options.chosenObject);
    if (data.options.chosenObject != 0 && matching != nullptr) {
        name = *matching;
    } else {
        GISSelectBlock block;
        if (!OpenGisObjectSelectionDialog(block, data)) return true;
        if (data.options.objectMode == 1) {
            if (!CreateNewGISObject(data, name, prototypeIndex)) return true;
        } else {
            const QV_String* chosen = data.options.allObjects.Get(data.options.chosenObject);
            if (chosen == nullptr) {
                ShowErrorMessage(ErrSettings, AlertKind::Warning);
                return false;
            }
            name = *chosen;
        }
    }
    int32_t libIndex = -1;
    if (!FindLibPartIndex(name, APILib_ObjectID, libIndex)) {
        ShowErrorMessage(ErrSettings, AlertKind::Warning);
        return false;
    }
    std::string subtype;
    GetLibPartUniqueId(QV_String(GISSubtypeName), APILib_ObjectID, subtype);
    GSHandle params = nullptr;
    const GSErrCode err =
        ChangeLibPartParamsEx(libIndex, &params, subtype.c_str(), API_ObjectID, int32_t(GISVariation), true);
    if (err == APIERR_CANCEL) return true;
    if (err != NoError || libIndex < 1) {
        ReleaseParamRecords(&params);
        ShowErrorMessage(ErrSettings, AlertKind::Warning);
        return false;
    }
    API_LibPart part = {};
    part.index = libIndex;
    if (ACAPI_LibPart_Get(&part) != NoError || part.missingDef != 0) {
        ReleaseParamRecords(&params);
        ShowErrorMessage(ErrSettings, AlertKind::Warning);
        return false;
    }
    ThinPolylineNodes(data);
    ApplyProjectOffset(data);
    const bool placed = PlaceGISObjects(data, libIndex, params);
    if (!placed) ShowErrorMessage(ErrModifying, AlertKind::Warning);
    MarkEntitiesToCorrect(data);
    if (placed) {
        ReadReport refused;
        refused.Note(ReadIssue::OutOfRange, data.heightsRefused);
        ShowReadReport(refused);
    }
    ACAPI_Automate(APIDo_ZoomID);
    ReleaseParamRecords(&params);
    return placed;
}

}  // namespace

void ImportShapesAsObjects(ShapeImportData& data) {
    int32_t prototypeIndex = -1;
    if (!FindLibPartOrAsk(QV_String(GISPrototypeName), prototypeIndex, true, QV_String(), APILib_ObjectID)) return;
    QV_String undo;
    GetResString(undo, UndoTableBase + LanguageIndex, UndoEntry);
    // A failed import tells why itself and is taken back whole; a command the host refused did nothing, and a
    // leftover takes it back: the user must hear of both.
    bool told = false;
    const bool done = RunCommand(GS::UniString(undo.GetBuffer(), undo.GetLength()), [&] {
        told = !ImportGISObjectsCommand(data, prototypeIndex);
        return told ? CommandEnd::Failed : CommandEnd::Done;
    });
    if (!done && !told) ShowErrorMessage(ErrModifying, AlertKind::Warning);
}
