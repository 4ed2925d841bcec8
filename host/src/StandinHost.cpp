#include "StandinHost.hpp"

#include "DGDriver.hpp"
#include "IODriver.hpp"
#include "ResourceDriver.hpp"
#include "RuntimeDriver.hpp"
#include "SelectorFamilies.hpp"
#include "TextFields.hpp"
#include "drawing/ShapePrimCalls.hpp"
#include "library/LibPartCalls.hpp"
#include "library/LibPartParamCalls.hpp"
#include "library/LibPartSectionCalls.hpp"
#include "library/LibraryPart.hpp"
#include "model3d/ModelCalls.hpp"
#include "model3d/OutlineCoverageNote.hpp"
#include "module/ModuleCalls.hpp"
#include "module/NotificationCalls.hpp"
#include "project/EditCalls.hpp"
#include "project/NeigCalls.hpp"
#include "project/AttributeCalls.hpp"
#include "project/ElementCalls.hpp"
#include "project/EventCalls.hpp"
#include "project/InputCalls.hpp"
#include "project/MemoCalls.hpp"
#include "project/ModuleDataCalls.hpp"
#include "project/OldIdentifierCalls.hpp"
#include "project/SelectionCalls.hpp"
#include "project/SolidLinkCalls.hpp"
#include "project/StoryCalls.hpp"
#include "project/ToolboxCalls.hpp"
#include "project/ActionAccount.hpp"
#include "project/UndoCalls.hpp"
#include "project/WindowCalls.hpp"
#include "ui/DialogLine.hpp"
#include "ui/RedrawCalls.hpp"
#include "ui/MenuCalls.hpp"
#include "ui/PaletteCalls.hpp"
#include "ui/UserControlCalls.hpp"
#include "ui/ProgressCalls.hpp"
#include "ui/SettingsDialogCalls.hpp"
#include "view3d/View3DCalls.hpp"
#include "project/GroupCalls.hpp"
#include "drawing/PictureCalls.hpp"
#include "project/LineTypeDefinitions.hpp"
#include "project/PreferenceCalls.hpp"
#include "project/DisplayOptionCalls.hpp"

#include <malloc.h>

#include <cstring>

namespace {
// The project event that tells of another window in front.
constexpr int32_t ProjectEventChangeWindow = 0x80000;
// Every family of host functions puts its entries into the table.
void InstallHostFunctions(HostFunctionSet& set) {
    InstallSelectorFamilies(set);
    InstallModuleCalls(set);
    InstallNotificationCalls(set);
    InstallMenuCalls(set);
    InstallPaletteCalls(set);
    InstallUserControlCalls(set);
    InstallProgressCalls(set);
    InstallModuleDataCalls(set);
    InstallElementCalls(set);
    InstallMemoCalls(set);
    InstallSelectionCalls(set);
    InstallAttributeCalls(set);
    InstallStoryCalls(set);
    InstallToolboxCalls(set);
    InstallWindowCalls(set);
    InstallUndoCalls(set);
    InstallEventCalls(set);
    InstallSolidLinkCalls(set);
    InstallModelCalls(set);
    InstallOldIdentifierCalls(set);
    InstallInputCalls(set);
    InstallLibPartCalls(set);
    InstallLibPartParamCalls(set);
    InstallLibPartSectionCalls(set);
    InstallView3DCalls(set);
    InstallShapePrimCalls(set);
    InstallGroupCalls(set);
    InstallSettingsDialogCalls(set);
    InstallRedrawCalls(set);
    InstallEditCalls(set);
    InstallNeigCalls(set);
    InstallPictureCalls(set);
    InstallLineTypeDefCalls(set);
    InstallPreferenceCalls(set);
    InstallDisplayOptionCalls(set);
}

// A project of a million points frees and takes back hundreds of megabytes between commands. The allocator's
// defaults give large blocks and the heap's free top back to the system at once, and every page taken again
// costs a fault (a few microseconds each under a hypervisor): the host keeps what it freed for its next use.
void KeepFreedMemory() {
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
}
}  // namespace

StandinHost::StandinHost(const HostSettings& settings, std::ostream* logStream) : HostCalls(settings, logStream) {
    KeepFreedMemory();
    table_.structSize = uint32_t(sizeof(table_));
    table_.version = API_HostFunctionTableVersion;
    HostFunctionSet set(&table_, this);
    InstallHostFunctions(set);
    AttachParts({&project_, &project_.libraries, &project_.database, &events_, &input_, &project_, &project_.models,
                 &project_.volumes, &project_.view3D, &project_.drawings, &project_.settingsDialogs});
    project_.libraries.SetReadOnlyFolder(Settings().shippedLibrary);
    IODriver::SetUserFolder(Settings().userFolder);
    DGDriver::SetLengthUnit(DG_UNIT_M);
    RuntimeDriver::SeedGuids(Settings().seed);
    RuntimeDriver::SeedRand(uint32_t(Settings().seed));
    SeedLibPartUnIDs(Settings().seed);
    // What the module shows the user, and how the user answered, reaches the log at every level, in its place
    // among the host's lines.
    DGDriver::SetDialogObserver([](DGDriver::DialogEvent event, const DGDriver::LogRecord& record) {
        HostCalls* host = HostCalls::Current();
        if (host == nullptr) return;
        const std::string line = DialogLine(event, record);
        if (line.empty()) return;
        const DialogNote note = static_cast<StandinHost*>(host)->dialogNote_;
        host->LogAlways("  " + line + (note != nullptr && event == DGDriver::DialogEvent::Ended ? note(record) : ""));
    });
}

StandinHost::~StandinHost() {
    if (loaded_) Release();
    if (attached_) Detach();
}

void StandinHost::UseSharedLibrary(const std::string& path) { loader_ = MakeSharedLibraryLoader(path); }
void StandinHost::UseInProcess(const ModuleExports& exports) { loader_ = MakeInProcessLoader(exports); }

const std::vector<std::string>& StandinHost::FunctionNames() {
    static const std::vector<std::string> names = [] {
        API_HostFunctionTable table = {};
        HostFunctionSet set(&table, nullptr);
        InstallHostFunctions(set);
        return set.Names();
    }();
    return names;
}

bool StandinHost::FailCall(const std::string& function, int32_t key, GSErrCode error) {
    bool known = false;
    for (const std::string& n : FunctionNames()) known = known || n == function;
    if (!known) return false;
    SetFailure(function, key, error);
    return true;
}

bool StandinHost::FailCallAfter(const std::string& function, int32_t key, GSErrCode error, int32_t passes,
                                int32_t answers) {
    if (!FailCall(function, key, error)) return false;
    SetFailureAfter(function, key, error, passes, answers);
    return true;
}

bool StandinHost::AddLibraryFolder(const std::string& folder, std::string* why) {
    return ::AddLibraryFolder(*this, folder, why);
}

// --- module life ---------------------------------------------------------------------------------------------

bool StandinHost::Attach() {
    if (attached_) return true;
    if (!loader_) {
        ReportHostError("no module given");
        return false;
    }
    std::string why;
    if (!loader_->Load(&exports_, &why)) {
        ReportHostError("cannot load " + loader_->Describe() + ": " + why);
        return false;
    }
    attached_ = true;
    ++loadCount_;
    IODriver::SetUserFolder(Settings().userFolder);

    std::memset(&entryTable_, 0, sizeof entryTable_);
    const GSErrCode err = exports_.getExportedFuncAddrs(&entryTable_, uint32_t(sizeof entryTable_));
    if (err != NoError || entryTable_.version != API_EntryTableVersion || entryTable_.checkEnvironment == nullptr ||
        entryTable_.registerInterface == nullptr || entryTable_.initialize == nullptr ||
        entryTable_.freeData == nullptr || entryTable_.closingWord != API_EntryTableClosingWord) {
        ReportHostError("the module's entry table is not valid (GetExportedFuncAddrs answered " + ErrorText(err) + ")");
        Detach();
        return false;
    }

    const std::string resFolder = Settings().moduleDir + "/resources";
    ResourceDriver::ClearErrors();
    Session().resModule = ResourceDriver::OpenResourceFolder(resFolder);
    if (Session().resModule == InvalidResModule) ReportHostError("cannot open the module's resources in " + resFolder);
    for (const std::string& e : ResourceDriver::Errors()) ReportHostError("resource: " + e);
    ResourceDriver::ClearErrors();

    const GSErrCode setErr = exports_.setImportedFuncAddrs(&table_);
    if (setErr != NoError) {
        ReportHostError("SetImportedFuncAddrs answered " + ErrorText(setErr));
        Detach();
        return false;
    }
    results_ = EntryResults();
    Log("  loaded " + loader_->Describe());
    return true;
}

API_AddonType StandinHost::RunCheckEnvironment() {
    std::memset(&results_.envir, 0, sizeof results_.envir);
    results_.envir.serverApplication = Settings().environmentKind;
    const ElementEvents::ModuleCall call(events_);
    const size_t refused = Refusals().size();
    results_.checkEnvironment = entryTable_.checkEnvironment(&results_.envir);
    results_.checkEnvironmentRan = true;
    NoteAnswer("CheckEnvironment", results_.checkEnvironment, refused);
    Log("  CheckEnvironment(kind " + std::to_string(Settings().environmentKind) + ") -> " +
        std::to_string(results_.checkEnvironment) + ", name \"" +
        FieldText(results_.envir.addOnInfo.name, sizeof results_.envir.addOnInfo.name) + "\", description \"" +
        FieldText(results_.envir.addOnInfo.description, sizeof results_.envir.addOnInfo.description) + "\"");
    return results_.checkEnvironment;
}

GSErrCode StandinHost::RunRegisterInterface() {
    const ElementEvents::ModuleCall call(events_);
    const size_t refused = Refusals().size();
    results_.registerInterface = entryTable_.registerInterface();
    results_.registerInterfaceRan = true;
    NoteAnswer("RegisterInterface", results_.registerInterface, refused);
    Log("  RegisterInterface -> " + ErrorText(results_.registerInterface));
    return results_.registerInterface;
}

GSErrCode StandinHost::RunInitialize() {
    contextWord_ = (uint64_t(0x4C4F4452u) << 32) | loadCount_;
    const ElementEvents::ModuleCall call(events_);
    const size_t refused = Refusals().size();
    results_.initialize = entryTable_.initialize(contextWord_);
    results_.initializeRan = true;
    NoteAnswer("Initialize", results_.initialize, refused);
    Log("  Initialize -> " + ErrorText(results_.initialize));
    return results_.initialize;
}

GSErrCode StandinHost::RunFreeData() {
    const size_t refused = Refusals().size();
    results_.freeData = entryTable_.freeData();
    results_.freeDataRan = true;
    NoteAnswer("FreeData", results_.freeData, refused);
    Log("  FreeData -> " + ErrorText(results_.freeData));
    return results_.freeData;
}

void StandinHost::NoteAnswer(const char* entry, int64_t answer, size_t refusalsBefore) {
    entryAnswers_.push_back({entry, answer, {Refusals().begin() + std::ptrdiff_t(refusalsBefore), Refusals().end()}});
}

void StandinHost::ForgetSession() {
    events_.ForgetSession();
    if (Session().resModule != InvalidResModule) ResourceDriver::CloseResourceModule(Session().resModule);
    Session() = ModuleSession();
}

bool StandinHost::Detach() {
    ForgetSession();
    loaded_ = false;
    if (!attached_) return true;
    attached_ = false;
    exports_ = ModuleExports();
    std::string why;
    if (!loader_->Unload(&why)) {
        ReportHostError("unloading " + loader_->Describe() + ": " + why);
        return false;
    }
    Log("  unloaded " + loader_->Describe());
    return true;
}

bool StandinHost::Load() {
    if (loaded_) {
        ReportHostError("the module is loaded already");
        return false;
    }
    if (!Attach()) return false;
    if (RunCheckEnvironment() == APIAddon_Unknown) {
        Log("  the module declined this environment");
        return Detach();
    }
    if (RunRegisterInterface() != NoError) {
        Log("  interface registration failed");
        return Detach();
    }
    if (RunInitialize() != NoError) {
        Log("  initialisation failed");
        RunFreeData();
        CheckPalettesAfterRelease(*this);
        return Detach();
    }
    loaded_ = true;
    return true;
}

bool StandinHost::Release() {
    if (!loaded_) {
        ReportHostError("no module is loaded");
        return false;
    }
    // The host closes its palettes before the module goes; whatever stays open then is the module's fault.
    ClosePalettesForRelease(*this);
    RunFreeData();
    CheckPalettesAfterRelease(*this);
    return Detach();
}

bool StandinHost::Restart() {
    if (loaded_ && !Release()) return false;
    return Load();
}

// --- the user ------------------------------------------------------------------------------------------------

bool StandinHost::ChooseMenu(int16_t menuResID, int16_t itemIndex, GSErrCode* handlerResult) {
    if (!loaded_) {
        ReportHostError("no module is loaded");
        return false;
    }
    bool registered = false;
    for (const ModuleSession::Menu& m : Session().menus)
        if (m.menuResID == menuResID) registered = true;
    if (!registered) {
        ReportHostError("menu " + std::to_string(menuResID) + " is not registered");
        return false;
    }
    const auto it = Session().menuHandlers.find(menuResID);
    if (it == Session().menuHandlers.end() || it->second == nullptr) {
        ReportHostError("no menu handler is installed for menu " + std::to_string(menuResID));
        return false;
    }
    API_MenuParams params = {};
    params.menuItemRef.menuResID = menuResID;
    params.menuItemRef.itemIndex = itemIndex;
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(events_);
        err = it->second(&params);
    }
    Log("  menu handler " + std::to_string(menuResID) + " item " + std::to_string(itemIndex) + " -> " + ErrorText(err));
    if (handlerResult != nullptr) *handlerResult = err;
    return true;
}

bool StandinHost::SendProjectEvent(int32_t notifID, int32_t param, GSErrCode* handlerResult) {
    if (!loaded_ || Session().projectEventHandler == nullptr) {
        ReportHostError("no project event handler is installed");
        return false;
    }
    if ((Session().projectEventMask & notifID) == 0) {
        Log("  project event " + std::to_string(notifID) + " is not in the module's mask");
        return true;
    }
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(events_);
        err = Session().projectEventHandler(notifID, param);
    }
    Log("  project event " + std::to_string(notifID) + " -> " + ErrorText(err));
    if (handlerResult != nullptr) *handlerResult = err;
    return true;
}

GSErrCode StandinHost::UserBringsWindowToFront(const API_WindowInfo& window) {
    API_WindowInfo before = {};
    Database().GetFrontWindow(&before);
    const GSErrCode err = Database().ChangeWindow(window);
    if (err != NoError) return err;
    API_WindowInfo after = {};
    Database().GetFrontWindow(&after);
    const bool moved = before.typeID != after.typeID || !(before.databaseUnId == after.databaseUnId);
    if (moved && loaded_ && Session().projectEventHandler != nullptr) SendProjectEvent(ProjectEventChangeWindow, 0);
    return NoError;
}

bool StandinHost::SendToolChange(const API_ToolBoxItem& tool, GSErrCode* handlerResult) {
    if (!loaded_ || Session().toolChangeHandler == nullptr) {
        ReportHostError("no tool change handler is installed");
        return false;
    }
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(events_);
        err = Session().toolChangeHandler(&tool);
    }
    Log("  tool change to type " + std::to_string(tool.typeID) + " -> " + ErrorText(err));
    if (handlerResult != nullptr) *handlerResult = err;
    return true;
}

bool StandinHost::SendPaletteMessage(int32_t referenceID, int32_t message, std::string* why) {
    if (!loaded_) {
        *why = "no module is loaded";
        return false;
    }
    return ::SendPaletteMessage(*this, referenceID, message, why);
}

int32_t StandinHost::DeliverModelessActions() {
    if (!loaded_) return 0;
    const ElementEvents::ModuleCall call(events_);
    // A palette's button runs its tool here: what it did to the toolbox, the defaults and the selection is told.
    const ActionAccount account(*this);
    // An outline it made is told with the terrain points it leaves out.
    const OutlineCoverageNote outlines(*this);
    return DGDriver::DeliverModelessActions();
}
