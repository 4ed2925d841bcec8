#include "sosi/SOSIOutput.hpp"

#include "elements/ModelUpdate.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSIOutputSteps.hpp"

#include "UniString.hpp"

#include <cstring>

namespace {

constexpr int32_t UndoEntry = 2;       // "External command"
constexpr int32_t CreationText = 168;  // "Creation..."
constexpr int16_t DefaultPenField = 12;
constexpr int16_t DefaultSecondField = 13;

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

// The object placed in mode 1: the host's default object of the chosen part on the current story.
bool PrepareObjectRecord(SOSIFileCls& reader) {
    std::memset(static_cast<void*>(&reader.element), 0, sizeof reader.element);
    if (reader.importMode != SOSIModeObjects) return true;
    reader.element.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&reader.element, nullptr) != NoError) return false;
    reader.element.object.libInd = reader.objectLibPartIndex;
    reader.element.header.floorInd = GetCurrentStory();
    reader.element.header.groupGuid = APINULLGuid;
    reader.element.object.xRatio = 1.0;
    reader.element.object.yRatio = 1.0;
    reader.element.object.useObjPens = 1;
    reader.element.object.useObjLtypes = 1;
    reader.element.object.useObjMaterials = 1;
    reader.element.object.angle = 0.0;
    reader.element.object.level = 0.0;
    return true;
}

// The worksheet's old elements go when the user chose to replace them.
void EmptyCurrentDatabase() {
    GS::Array<API_Guid> guids;
    if (ACAPI_Element_GetElemList(API_ZombieElemID, &guids) == NoError && guids.GetSize() > 0)
        ACAPI_Element_Delete(guids);
}

// Every converted object in list order; a failed one marks the build, a user break ends it.
void BuildBody(SOSIFileCls& reader, bool emptyFirst) {
    reader.defaultPen = int16_t(GlobalSettings.GetInt(0, DefaultPenField));
    reader.defaultSecond = int16_t(GlobalSettings.GetInt(0, DefaultSecondField));
    ElementWritten = 1;
    if (emptyFirst) EmptyCurrentDatabase();

    GS::UniString title("Lodravix");
    int16_t phases = 1;
    ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, CreationText);
    QV_String count;
    count.FromLong(reader.data.GetCount());
    GS::UniString phase = Uni(text + " " + count);
    int32_t total = reader.data.GetCount();
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &total);
    for (int32_t i = 0; i < reader.data.GetCount(); ++i) {
        int32_t value = i + 1;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
        if ((BuildOneSOSIData(reader, i) & 0xFF) == 0) reader.buildError = 1;
        if (ACAPI_Interface(APIIo_IsProcessCanceledID) == APIERR_CANCEL) {
            reader.cancelled = 1;  // the user stopped it: what failed before is not told
            break;
        }
    }
    ACAPI_Interface(APIIo_CloseProcessWindowID);
    if (SOSIOutputState().somethingCreated == 0) ElementWritten = 0;
}

}  // namespace

SOSICurveSegmentation& SOSICurveSegmentationValues() {
    static SOSICurveSegmentation values;
    return values;
}

bool BuildSOSIOutput(SOSIFileCls& reader, uint8_t* somethingCreated) {
    SOSIBuildState& state = SOSIOutputState();
    state.somethingCreated = 0;
    if (somethingCreated != nullptr) *somethingCreated = 0;
    if (!PrepareObjectRecord(reader)) return false;
    reader.buildError = 0;
    if (reader.data.GetCount() == 0) return true;

    CreateTypeLayers(reader);
    uint8_t existed = 0;
    if (reader.importMode == SOSIModeWorksheet && !CreateOrReuseWorksheet(reader, &existed)) return false;
    if (!PrepareSOSIElementDefaults(reader)) return false;

    const bool emptyFirst = reader.importMode == SOSIModeWorksheet && existed != 0 && reader.addSwitch == 0;
    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, UndoEntry);
    // What was made before a failure or a break stays; failures are told by the caller.
    ACAPI_CallUndoableCommand(Uni(undoText), [&]() -> GSErrCode {
        BuildBody(reader, emptyFirst);
        return NoError;
    });
    if (somethingCreated != nullptr) *somethingCreated = state.somethingCreated;
    return true;
}

bool AskCurveSegmentation(SOSIFileCls& reader) {
    bool curved = false;
    for (const SOSIData& d : reader.data)
        curved = curved || (d.geometryKind >= SOSIKindArcByRadius && d.geometryKind <= SOSIKindBezier);
    if (!curved) return true;
    const SOSIDialogHooks& hooks = SOSIDialogs();
    // Without its dialog the values stand as they are.
    if (hooks.curveSegmentation == nullptr) return true;
    SOSICurveSegmentation values = SOSICurveSegmentationValues();
    if (!hooks.curveSegmentation(values)) return false;
    SOSICurveSegmentationValues() = values;
    return true;
}
