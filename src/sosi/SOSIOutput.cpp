#include "sosi/SOSIOutput.hpp"

#include "elements/WholeCommand.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "sosi/SOSIOutputSteps.hpp"

#include "UniString.hpp"

#include <cstring>

namespace {

constexpr int32_t UndoEntry = 2;       // "External command"
constexpr int32_t CreationText = 168;  // "Creation..."

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

// The object placed in mode 1: the host's default object of the chosen part on the current story.
bool PrepareObjectRecord(const SOSIOutputInput& input, const SOSIOutputChoices& choices) {
    SOSIBuildState& state = SOSIOutputState();
    std::memset(static_cast<void*>(&state.object), 0, sizeof state.object);
    if (input.importMode != SOSIModeObjects) return true;
    state.object.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&state.object, nullptr) != NoError) return false;
    state.object.object.libInd = choices.objectLibPartIndex;
    state.object.header.floorInd = GetCurrentStory();
    state.object.header.groupGuid = APINULLGuid;
    state.object.object.xRatio = 1.0;
    state.object.object.yRatio = 1.0;
    state.object.object.useObjPens = 1;
    state.object.object.useObjLtypes = 1;
    state.object.object.useObjMaterials = 1;
    state.object.object.angle = 0.0;
    state.object.object.level = 0.0;
    return true;
}

// The worksheet's elements before the build: they go once the new ones are all made, when the user chose to
// replace them. False when the host cannot list them.
bool ListCurrentDatabase(GS::Array<API_Guid>& guids) {
    return ACAPI_Element_GetElemList(API_ZombieElemID, &guids) == NoError;
}

// Every converted object in list order; a failed one marks the build, a user break ends it, a host call that
// fails ends it with the build taken back.
void BuildBody(const SOSIOutputInput& input, SOSIOutputChoices& choices) {
    SOSIBuildState& state = SOSIOutputState();
    state.defaultPen = input.misc.sosiChoice;
    state.defaultSecond = input.misc.sosiChoice2;
    IndexSOSITypes(input.types);

    GS::UniString title("Lodravix");
    int16_t phases = 1;
    ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, CreationText);
    QV_String count;
    count.FromLong(input.data.GetCount());
    GS::UniString phase = Uni(text + " " + count);
    int32_t total = input.data.GetCount();
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &total);
    for (int32_t i = 0; i < input.data.GetCount() && state.hostFailed == 0; ++i) {
        int32_t value = i + 1;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
        if ((BuildOneSOSIData(input, choices, i) & 0xFF) == 0) {
            choices.buildError = 1;
            if (state.hostFailed == 0) ++choices.unbuilt;
        }
        if (ACAPI_Interface(APIIo_IsProcessCanceledID) == APIERR_CANCEL) {
            choices.stopped = 1;  // what failed before is not told
            break;
        }
    }
    ACAPI_Interface(APIIo_CloseProcessWindowID);
}

// The undoable command's body: the layers, the worksheet, the objects. Failed when a host call failed; the build is
// then taken back. A build that made nothing and removed nothing leaves no undo step.
CommandEnd BuildInCommand(const SOSIOutputInput& input, SOSIOutputChoices& choices) {
    SOSIBuildState& state = SOSIOutputState();
    const ElementWriting writing;
    uint8_t existed = 0;
    GS::Array<API_Guid> old;
    bool ok = CreateTypeLayers(input.types);
    ok = ok &&
        (input.importMode != SOSIModeWorksheet ||
         CreateOrReuseWorksheet(input.misc, choices.namesFromSettings, &existed));
    const bool replace = input.importMode == SOSIModeWorksheet && existed != 0 && choices.addSwitch == 0;
    ok = ok && (!replace || ListCurrentDatabase(old));
    if (ok) BuildBody(input, choices);
    ok = ok && state.hostFailed == 0;
    // A type whose objects all failed, or lay outside the area, leaves no empty layer behind.
    ok = ok && DeleteUnusedSOSILayers();
    if (ok && replace && old.GetSize() > 0) ok = ACAPI_Element_Delete(old) == NoError;
    if (!ok) TakeBackSOSIBuild();
    if (state.somethingCreated == 0) writing.NoneMade();
    if (!ok) return CommandEnd::Failed;
    const bool removed = replace && old.GetSize() > 0;
    return state.somethingCreated == 0 && !removed ? CommandEnd::Cancelled : CommandEnd::Done;
}

}  // namespace

bool BuildSOSIOutput(const SOSIOutputInput& input, SOSIOutputChoices& choices, uint8_t* somethingCreated) {
    SOSIBuildState& state = SOSIOutputState();
    state.somethingCreated = state.hostFailed = 0;
    state.made.clear();
    state.madeOfType.clear();
    state.madeLayers.clear();
    state.changedLayers.clear();
    if (somethingCreated != nullptr) *somethingCreated = 0;
    choices.stopped = 0;
    if (!PrepareObjectRecord(input, choices)) return false;
    choices.buildError = 0;
    choices.unbuilt = 0;
    state.usedLayers.clear();
    if (input.data.GetCount() == 0) return true;
    // What the host may refuse before anything is made is asked first.
    if (!PrepareSOSIElementDefaults(input, choices)) return false;

    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, UndoEntry);
    // Everything the build makes, its layers and worksheet too, is one undo step. What was made before an
    // object failed or the user stopped stays; a host call that fails takes back the whole build: the body then
    // answers an error, so that the host takes back also what only it can (a new worksheet, the window shown).
    const bool built = RunCommand(Uni(undoText), [&] { return BuildInCommand(input, choices); });
    if (!built) return false;
    if (somethingCreated != nullptr) *somethingCreated = state.somethingCreated;
    return true;
}

bool HasCurvedSOSIObjects(const QV_List<SOSIData>& data) {
    for (const SOSIData& d : data)
        if (d.geometryKind >= SOSIKindArcByRadius && d.geometryKind <= SOSIKindBezier) return true;
    return false;
}

void ClearSOSIOutputState() {
    SOSIBuildState& state = SOSIOutputState();
    ClearSOSILayerList(state.layers);
    std::memset(static_cast<void*>(&state.object), 0, sizeof state.object);
    state.defaultPen = state.defaultSecond = state.layer = state.pen = state.second = 0;
    state.lineSwitch = state.somethingCreated = state.hostFailed = 0;
    state.made.clear();
    state.madeOfType.clear();
    state.madeLayers.clear();
    state.usedLayers.clear();
    state.changedLayers.clear();
    state.rowOfType.clear();
    state.layerOfType.clear();
}
