#include "StandinHost.hpp"

#include "IODriver.hpp"
#include "LibPartSections.hpp"
#include "ProjectFunctions.hpp"
#include "ResourceDriver.hpp"
#include "Resources.hpp"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {
StandinHost* g_current = nullptr;

// The table's entries: C function pointers that forward to the host serving now.
#define HOST_OR_FAIL(call) (g_current != nullptr ? g_current->call : APIERR_GENERAL)

GSErrCode T_Environment(const API_SelectorCall* call) { return HOST_OR_FAIL(Environment(call)); }
GSErrCode T_Interface(const API_SelectorCall* call) { return HOST_OR_FAIL(Interface(call)); }
GSErrCode T_CommandTest(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion) {
    return HOST_OR_FAIL(CommandTest(mdid, cmdID, cmdVersion));
}
GSResModule T_GetOwnResModule() { return g_current != nullptr ? g_current->GetOwnResModule() : InvalidResModule; }
GSErrCode T_KeepInMemory(bool keepIt) { return HOST_OR_FAIL(KeepInMemory(keepIt)); }
GSErrCode T_RegisterMenu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags) {
    return HOST_OR_FAIL(RegisterMenu(menuStrResID, promptStrResID, menuPosCode, menuFlags));
}
GSErrCode T_InstallMenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc) {
    return HOST_OR_FAIL(InstallMenuHandler(menuStrResID, handlerProc));
}
GSErrCode T_RegisterBuiltInLibrary() { return HOST_OR_FAIL(RegisterBuiltInLibrary()); }
GSErrCode T_CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc) {
    return HOST_OR_FAIL(CatchProjectEvent(eventMask, handlerProc));
}
GSErrCode T_CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc) {
    return HOST_OR_FAIL(CatchNewElement(elemType, handlerProc));
}
GSErrCode T_InstallElementObserver(API_ElementEventHandlerProc* handlerProc) {
    return HOST_OR_FAIL(InstallElementObserver(handlerProc));
}
GSErrCode T_CatchToolChange(API_ToolChangeHandlerProc* handlerProc) {
    return HOST_OR_FAIL(CatchToolChange(handlerProc));
}
GSErrCode T_ModulDataStore(const API_ModulData* info, const char* modulName) {
    return HOST_OR_FAIL(ModulDataStore(info, modulName));
}
GSErrCode T_ModulDataGet(API_ModulData* info, const char* modulName) {
    return HOST_OR_FAIL(ModulDataGet(info, modulName));
}
GSErrCode T_ModulDataDelete(const char* modulName) { return HOST_OR_FAIL(ModulDataDelete(modulName)); }
GSErrCode T_RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                   int32_t controlFlags, const API_Guid* paletteGuid) {
    return HOST_OR_FAIL(RegisterModelessWindow(referenceID, callBackProc, controlFlags, paletteGuid));
}
GSErrCode T_UnregisterModelessWindow(int32_t referenceID) {
    return HOST_OR_FAIL(UnregisterModelessWindow(referenceID));
}
GSErrCode T_WriteReport(const char* text) { return HOST_OR_FAIL(WriteReport(text)); }
GSErrCode T_LibPartSearch(API_LibPart* libPart) { return HOST_OR_FAIL(LibPartSearch(libPart)); }
GSErrCode T_LibPartGet(API_LibPart* libPart) { return HOST_OR_FAIL(LibPartGet(libPart)); }
GSErrCode T_LibPartGetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars) {
    return HOST_OR_FAIL(LibPartGetParams(libInd, a, b, addParNum, addPars));
}
GSErrCode T_Goodies(const API_SelectorCall* call) { return HOST_OR_FAIL(Goodies(call)); }

#undef HOST_OR_FAIL

// Copies UTF-8 text into a fixed field, cut at a character boundary, always NUL-ended.
void CopyText(char* field, size_t fieldSize, const std::string& text) {
    size_t n = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    while (n > 0 && n < text.size() && (uint8_t(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// Text of a fixed field: up to its first NUL, never past its end.
std::string FieldText(const char* field, size_t fieldSize) {
    size_t n = 0;
    while (n < fieldSize && field[n] != '\0') ++n;
    return std::string(field, n);
}

const std::vector<std::string> kFunctionNames = {"Environment",
                                                 "Interface",
                                                 "Command_Test",
                                                 "GetOwnResModule",
                                                 "KeepInMemory",
                                                 "Register_Menu",
                                                 "Install_MenuHandler",
                                                 "Register_BuiltInLibrary",
                                                 "Notify_CatchProjectEvent",
                                                 "Notify_CatchNewElement",
                                                 "Notify_InstallElementObserver",
                                                 "Notify_CatchToolChange",
                                                 "ModulData_Store",
                                                 "ModulData_Get",
                                                 "ModulData_Delete",
                                                 "RegisterModelessWindow",
                                                 "UnregisterModelessWindow",
                                                 "WriteReport",
                                                 "LibPart_Search",
                                                 "LibPart_Get",
                                                 "LibPart_GetParams",
                                                 "Goodies"};
}  // namespace

std::string SelectorText(uint32_t selector) {
    std::string s = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((selector >> shift) & 0xFF);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s + "'";
}

std::string ErrorText(GSErrCode err) {
    if (err >= 0) return std::to_string(err);
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", uint32_t(err));
    return buf;
}

StandinHost::StandinHost(const HostSettings& settings, std::ostream* logStream)
    : settings_(settings), logStream_(logStream) {
    table_.structSize = uint32_t(sizeof(table_));
    table_.version = API_HostFunctionTableVersion;
    table_.Environment = T_Environment;
    table_.Interface = T_Interface;
    table_.Command_Test = T_CommandTest;
    table_.GetOwnResModule = T_GetOwnResModule;
    table_.KeepInMemory = T_KeepInMemory;
    table_.Register_Menu = T_RegisterMenu;
    table_.Install_MenuHandler = T_InstallMenuHandler;
    table_.Register_BuiltInLibrary = T_RegisterBuiltInLibrary;
    table_.Notify_CatchProjectEvent = T_CatchProjectEvent;
    table_.Notify_CatchNewElement = T_CatchNewElement;
    table_.Notify_InstallElementObserver = T_InstallElementObserver;
    table_.Notify_CatchToolChange = T_CatchToolChange;
    table_.ModulData_Store = T_ModulDataStore;
    table_.ModulData_Get = T_ModulDataGet;
    table_.ModulData_Delete = T_ModulDataDelete;
    table_.RegisterModelessWindow = T_RegisterModelessWindow;
    table_.UnregisterModelessWindow = T_UnregisterModelessWindow;
    table_.WriteReport = T_WriteReport;
    table_.LibPart_Search = T_LibPartSearch;
    table_.LibPart_Get = T_LibPartGet;
    table_.LibPart_GetParams = T_LibPartGetParams;
    InstallProjectFunctions(&table_);
    InstallLibPartSectionFunctions(&table_);
    InstallInteractionFunctions(&table_);
    ConnectProjectLibraries(project_);
    table_.Goodies = T_Goodies;
    if (g_current != nullptr) std::cerr << "standin-host: a second host replaces the first\n";
    g_current = this;
    IODriver::SetUserFolder(settings_.userFolder);
}

StandinHost::~StandinHost() {
    if (loaded_) Release();
    if (attached_) Detach();
    if (g_current == this) g_current = nullptr;
}

StandinHost* StandinHost::Current() { return g_current; }

void StandinHost::UseSharedLibrary(const std::string& path) { loader_ = MakeSharedLibraryLoader(path); }
void StandinHost::UseInProcess(const ModuleExports& exports) { loader_ = MakeInProcessLoader(exports); }

void StandinHost::Log(const std::string& line) {
    if (logStream_ != nullptr) *logStream_ << line << '\n';
}

void StandinHost::Error(const std::string& text) {
    errors_.push_back(text);
    Log("  host error: " + text);
}

// --- module life ---------------------------------------------------------------------------------------------

bool StandinHost::Attach() {
    if (attached_) return true;
    if (!loader_) {
        Error("no module given");
        return false;
    }
    std::string why;
    if (!loader_->Load(&exports_, &why)) {
        Error("cannot load " + loader_->Describe() + ": " + why);
        return false;
    }
    attached_ = true;
    ++loadCount_;
    IODriver::SetUserFolder(settings_.userFolder);

    std::memset(&entryTable_, 0, sizeof entryTable_);
    const GSErrCode err = exports_.getExportedFuncAddrs(&entryTable_, uint32_t(sizeof entryTable_));
    if (err != NoError || entryTable_.version != API_EntryTableVersion || entryTable_.checkEnvironment == nullptr ||
        entryTable_.registerInterface == nullptr || entryTable_.initialize == nullptr ||
        entryTable_.freeData == nullptr || entryTable_.closingWord != API_EntryTableClosingWord) {
        Error("the module's entry table is not valid (GetExportedFuncAddrs answered " + ErrorText(err) + ")");
        Detach();
        return false;
    }

    const std::string resFolder = settings_.moduleDir + "/resources";
    ResourceDriver::ClearErrors();
    session_.resModule = ResourceDriver::OpenResourceFolder(resFolder);
    if (session_.resModule == InvalidResModule) Error("cannot open the module's resources in " + resFolder);
    for (const std::string& e : ResourceDriver::Errors()) Error("resource: " + e);
    ResourceDriver::ClearErrors();

    const GSErrCode setErr = exports_.setImportedFuncAddrs(&table_);
    if (setErr != NoError) {
        Error("SetImportedFuncAddrs answered " + ErrorText(setErr));
        Detach();
        return false;
    }
    results_ = EntryResults();
    Log("  loaded " + loader_->Describe());
    return true;
}

API_AddonType StandinHost::RunCheckEnvironment() {
    std::memset(&results_.envir, 0, sizeof results_.envir);
    results_.envir.serverApplication = settings_.environmentKind;
    const ElementEvents::ModuleCall call(events_);
    results_.checkEnvironment = entryTable_.checkEnvironment(&results_.envir);
    results_.checkEnvironmentRan = true;
    Log("  CheckEnvironment(kind " + std::to_string(settings_.environmentKind) + ") -> " +
        std::to_string(results_.checkEnvironment) + ", name \"" +
        FieldText(results_.envir.addOnInfo.name, sizeof results_.envir.addOnInfo.name) + "\", description \"" +
        FieldText(results_.envir.addOnInfo.description, sizeof results_.envir.addOnInfo.description) + "\"");
    return results_.checkEnvironment;
}

GSErrCode StandinHost::RunRegisterInterface() {
    const ElementEvents::ModuleCall call(events_);
    results_.registerInterface = entryTable_.registerInterface();
    results_.registerInterfaceRan = true;
    Log("  RegisterInterface -> " + ErrorText(results_.registerInterface));
    return results_.registerInterface;
}

GSErrCode StandinHost::RunInitialize() {
    contextWord_ = (uint64_t(0x4C4F4452u) << 32) | loadCount_;
    const ElementEvents::ModuleCall call(events_);
    results_.initialize = entryTable_.initialize(contextWord_);
    results_.initializeRan = true;
    Log("  Initialize -> " + ErrorText(results_.initialize));
    return results_.initialize;
}

GSErrCode StandinHost::RunFreeData() {
    results_.freeData = entryTable_.freeData();
    results_.freeDataRan = true;
    Log("  FreeData -> " + ErrorText(results_.freeData));
    return results_.freeData;
}

void StandinHost::ForgetSession() {
    events_.ForgetSession();
    if (session_.resModule != InvalidResModule) ResourceDriver::CloseResourceModule(session_.resModule);
    session_ = ModuleSession();
}

bool StandinHost::Detach() {
    ForgetSession();
    loaded_ = false;
    if (!attached_) return true;
    attached_ = false;
    exports_ = ModuleExports();
    std::string why;
    if (!loader_->Unload(&why)) {
        Error("unloading " + loader_->Describe() + ": " + why);
        return false;
    }
    Log("  unloaded " + loader_->Describe());
    return true;
}

bool StandinHost::Load() {
    if (loaded_) {
        Error("the module is loaded already");
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
        return Detach();
    }
    loaded_ = true;
    return true;
}

bool StandinHost::Release() {
    if (!loaded_) {
        Error("no module is loaded");
        return false;
    }
    RunFreeData();
    return Detach();
}

bool StandinHost::Restart() {
    if (loaded_ && !Release()) return false;
    return Load();
}

// --- the user ------------------------------------------------------------------------------------------------

bool StandinHost::ChooseMenu(int16_t menuResID, int16_t itemIndex, GSErrCode* handlerResult) {
    if (!loaded_) {
        Error("no module is loaded");
        return false;
    }
    bool registered = false;
    for (const ModuleSession::Menu& m : session_.menus)
        if (m.menuResID == menuResID) registered = true;
    if (!registered) {
        Error("menu " + std::to_string(menuResID) + " is not registered");
        return false;
    }
    const auto it = session_.menuHandlers.find(menuResID);
    if (it == session_.menuHandlers.end() || it->second == nullptr) {
        Error("no menu handler is installed for menu " + std::to_string(menuResID));
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
    if (!loaded_ || session_.projectEventHandler == nullptr) {
        Error("no project event handler is installed");
        return false;
    }
    if ((session_.projectEventMask & notifID) == 0) {
        Log("  project event " + std::to_string(notifID) + " is not in the module's mask");
        return true;
    }
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(events_);
        err = session_.projectEventHandler(notifID, param);
    }
    Log("  project event " + std::to_string(notifID) + " -> " + ErrorText(err));
    if (handlerResult != nullptr) *handlerResult = err;
    return true;
}

bool StandinHost::SendToolChange(const API_ToolBoxItem& tool, GSErrCode* handlerResult) {
    if (!loaded_ || session_.toolChangeHandler == nullptr) {
        Error("no tool change handler is installed");
        return false;
    }
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(events_);
        err = session_.toolChangeHandler(&tool);
    }
    Log("  tool change to type " + std::to_string(tool.typeID) + " -> " + ErrorText(err));
    if (handlerResult != nullptr) *handlerResult = err;
    return true;
}

const std::vector<std::string>& StandinHost::FunctionNames() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> names = kFunctionNames;
        for (const std::string& n : ProjectFunctionNames()) names.push_back(n);
        for (const std::string& n : LibPartSectionFunctionNames()) names.push_back(n);
        for (const std::string& n : InteractionFunctionNames()) names.push_back(n);
        return names;
    }();
    return all;
}

bool StandinHost::FailCall(const std::string& function, int32_t key, GSErrCode error) {
    bool known = false;
    for (const std::string& n : FunctionNames()) known = known || n == function;
    if (!known) return false;
    failures_[{function, key}] = error;
    return true;
}

bool StandinHost::Failing(const char* function, int32_t key, GSErrCode* error) {
    auto it = failures_.find({function, key});
    if (it == failures_.end()) it = failures_.find({function, -1});
    if (it == failures_.end()) return false;
    *error = it->second;
    Log(std::string("  host: ") + function + (key >= 0 ? " " + std::to_string(key) : std::string()) +
        " fails on purpose with " + ErrorText(*error));
    return true;
}

// --- host functions ------------------------------------------------------------------------------------------

GSErrCode StandinHost::Refuse(const char* family, uint32_t selector) {
    const std::string text = std::string(family) + " " + SelectorText(selector);
    refusedSelectors_.push_back(text);
    Log("  host: refused unknown selector " + text);
    return APIERR_BADPARS;
}

bool StandinHost::CheckRecord(const char* family, const API_SelectorCall* call, uint32_t par1Size, uint32_t par2Size) {
    const bool ok = call->par1Size == par1Size && (par1Size == 0 || call->par1 != nullptr) &&
        call->par2Size == par2Size && (par2Size == 0 || call->par2 != nullptr);
    if (!ok)
        Error(std::string(family) + " " + SelectorText(call->selector) + ": records of " +
              std::to_string(call->par1Size) + "/" + std::to_string(call->par2Size) + " bytes, expected " +
              std::to_string(par1Size) + "/" + std::to_string(par2Size));
    return ok;
}

GSErrCode StandinHost::Environment(const API_SelectorCall* call) {
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    if (Failing("Environment", -1, &err)) return err;
    if (ProjectEnvironment(*this, call, &err)) return err;
    if (LibPartSectionEnvironment(*this, call, &err)) return err;
    switch (call->selector) {
        case APIEnv_ApplicationID.code: {
            if (!CheckRecord("Environment", call, sizeof(API_ServerApplicationInfo), 0)) return APIERR_BADPARS;
            auto* info = static_cast<API_ServerApplicationInfo*>(call->par1);
            std::memset(info, 0, sizeof *info);
            info->mainVersion = settings_.mainVersion;
            info->releaseVersion = settings_.releaseVersion;
            info->buildNum = settings_.buildNum;
            CopyText(info->language, sizeof info->language, settings_.language);
            return NoError;
        }
        case APIEnv_AddLibrariesID.code: {
            if (!CheckRecord("Environment", call, sizeof(IO::Location), 0)) return APIERR_BADPARS;
            std::string why;
            return AddLibraryFolder(static_cast<const IO::Location*>(call->par1)->ToNativePath(), &why)
                ? NoError
                : APIERR_REFUSED;
        }
        default: return Refuse("Environment", call->selector);
    }
}

GSErrCode StandinHost::Interface(const API_SelectorCall* call) {
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    if (Failing("Interface", -1, &err)) return err;
    if (InteractionInterface(*this, call, &err)) return err;
    switch (call->selector) {
        case APIIo_SetMenuItemTextID.code: {
            if (!CheckRecord("Interface", call, sizeof(API_MenuItemText), 0)) return APIERR_BADPARS;
            const auto* rec = static_cast<const API_MenuItemText*>(call->par1);
            session_.menuItemTexts[{rec->menuItemRef.menuResID, rec->menuItemRef.itemIndex}] =
                FieldText(rec->text, sizeof rec->text);
            return NoError;
        }
        default: return Refuse("Interface", call->selector);
    }
}

GSErrCode StandinHost::CommandTest(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion) {
    GSErrCode err;
    if (Failing("Command_Test", -1, &err)) return err;
    if (mdid == nullptr) return APIERR_BADPARS;
    // The only other add-on this host knows is the suite, when it is present.
    const bool answers = cmdID == APICmd_SuiteID && cmdVersion == 0 && settings_.suitePresent;
    Log("  host: command test " + SelectorText(uint32_t(cmdID)) + " -> " + (answers ? "answered" : "no module"));
    return answers ? NoError : APIERR_GENERAL;
}

GSResModule StandinHost::GetOwnResModule() {
    GSErrCode err;
    if (Failing("GetOwnResModule", -1, &err)) return InvalidResModule;
    return session_.resModule;
}

GSErrCode StandinHost::KeepInMemory(bool keepIt) {
    GSErrCode err;
    if (Failing("KeepInMemory", -1, &err)) return err;
    session_.keepInMemory = keepIt;
    return NoError;
}

GSErrCode StandinHost::RegisterMenu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode,
                                    int32_t menuFlags) {
    GSErrCode err;
    if (Failing("Register_Menu", menuStrResID, &err)) return err;
    GS::Array<GS::UniString> lines;
    if (!RSGetMenu(menuStrResID, session_.resModule, &lines)) {
        Error("Register_Menu: the module has no menu resource " + std::to_string(menuStrResID));
        return APIERR_BADPARS;
    }
    ModuleSession::Menu menu;
    menu.menuResID = menuStrResID;
    menu.promptResID = promptStrResID;
    menu.position = menuPosCode;
    menu.flags = menuFlags;
    for (uint32_t i = 0; i < lines.GetSize(); ++i) menu.texts.push_back(lines[i].ToUtf8());
    session_.menus.push_back(menu);
    std::string shown;
    for (const std::string& t : menu.texts) shown += (shown.empty() ? "" : " | ") + t;
    Log("  host: menu " + std::to_string(menuStrResID) + " registered: " + shown);
    return NoError;
}

GSErrCode StandinHost::InstallMenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc) {
    GSErrCode err;
    if (Failing("Install_MenuHandler", menuStrResID, &err)) return err;
    if (handlerProc == nullptr) return APIERR_BADPARS;
    session_.menuHandlers[menuStrResID] = handlerProc;
    return NoError;
}

GSErrCode StandinHost::RegisterBuiltInLibrary() {
    GSErrCode err;
    if (Failing("Register_BuiltInLibrary", -1, &err)) return err;
    session_.builtInLibrary = true;
    return NoError;
}

GSErrCode StandinHost::CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc) {
    GSErrCode err;
    if (Failing("Notify_CatchProjectEvent", -1, &err)) return err;
    session_.projectEventHandler = handlerProc;
    session_.projectEventMask = handlerProc != nullptr ? eventMask : 0;
    return NoError;
}

GSErrCode StandinHost::CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc) {
    GSErrCode err;
    if (Failing("Notify_CatchNewElement", -1, &err)) return err;
    session_.newElementHandler = handlerProc;
    session_.newElementAllTypes = elemType == nullptr || *elemType == API_ZombieElemID;
    session_.newElementType = elemType != nullptr ? *elemType : API_ZombieElemID;
    return NoError;
}

GSErrCode StandinHost::InstallElementObserver(API_ElementEventHandlerProc* handlerProc) {
    GSErrCode err;
    if (Failing("Notify_InstallElementObserver", -1, &err)) return err;
    session_.elementObserver = handlerProc;
    return NoError;
}

GSErrCode StandinHost::CatchToolChange(API_ToolChangeHandlerProc* handlerProc) {
    GSErrCode err;
    if (Failing("Notify_CatchToolChange", -1, &err)) return err;
    session_.toolChangeHandler = handlerProc;
    return NoError;
}

GSErrCode StandinHost::ModulDataStore(const API_ModulData* info, const char* modulName) {
    GSErrCode err;
    if (Failing("ModulData_Store", -1, &err)) return err;
    if (info == nullptr || modulName == nullptr) return APIERR_BADPARS;
    HostProject::ModuleDataEntry entry;
    entry.dataVersion = info->dataVersion;
    entry.platformSign = info->platformSign;
    if (info->dataHdl != nullptr) {
        const GSSize size = BMGetHandleSize(info->dataHdl);
        if (size > 0) entry.bytes.assign(*info->dataHdl, size_t(size));
    }
    project_.moduleData[modulName] = entry;
    return NoError;
}

GSErrCode StandinHost::ModulDataGet(API_ModulData* info, const char* modulName) {
    GSErrCode err;
    if (Failing("ModulData_Get", -1, &err)) return err;
    if (info == nullptr || modulName == nullptr) return APIERR_BADPARS;
    const auto it = project_.moduleData.find(modulName);
    if (it == project_.moduleData.end()) return APIERR_NOMODULEDATA;
    GSHandle h = BMAllocateHandle(GSSize(it->second.bytes.size()), 0, 0);
    if (h == nullptr) return APIERR_GENERAL;
    if (!it->second.bytes.empty()) std::memcpy(*h, it->second.bytes.data(), it->second.bytes.size());
    info->dataVersion = it->second.dataVersion;
    info->platformSign = it->second.platformSign;
    info->dataHdl = h;
    return NoError;
}

GSErrCode StandinHost::ModulDataDelete(const char* modulName) {
    GSErrCode err;
    if (Failing("ModulData_Delete", -1, &err)) return err;
    if (modulName == nullptr) return APIERR_BADPARS;
    return project_.moduleData.erase(modulName) > 0 ? NoError : APIERR_NOMODULEDATA;
}

GSErrCode StandinHost::RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                              int32_t controlFlags, const API_Guid* paletteGuid) {
    GSErrCode err;
    if (Failing("RegisterModelessWindow", -1, &err)) return err;
    if (callBackProc == nullptr) return APIERR_BADPARS;
    ModuleSession::ModelessWindow w;
    w.callBack = callBackProc;
    w.controlFlags = controlFlags;
    w.guid = paletteGuid != nullptr ? *paletteGuid : APINULLGuid;
    session_.modelessWindows[referenceID] = w;
    return NoError;
}

GSErrCode StandinHost::UnregisterModelessWindow(int32_t referenceID) {
    GSErrCode err;
    if (Failing("UnregisterModelessWindow", -1, &err)) return err;
    return session_.modelessWindows.erase(referenceID) > 0 ? NoError : APIERR_BADPARS;
}

GSErrCode StandinHost::WriteReport(const char* text) {
    const std::string line = text != nullptr ? text : "";
    reports_.push_back(line);
    Log("  module: " + line);
    return NoError;
}

// --- library parts -------------------------------------------------------------------------------------------

bool StandinHost::AddLibraryFolder(const std::string& folder, std::string* why) {
    bool faultyFile = false;
    if (project_.libraries.LoadFolder(folder, why, &faultyFile)) {
        Log("  host: library folder " + folder + " loaded (" + std::to_string(project_.libraries.PartCount()) +
            " library parts in the project)");
        return true;
    }
    // A user's folder that holds no library is refused quietly; a broken description is the data's fault.
    if (faultyFile)
        Error("library: " + *why);
    else
        Log("  host: library folder refused: " + *why);
    return false;
}

GSErrCode StandinHost::LibPartSearch(API_LibPart* libPart) {
    GSErrCode err;
    if (Failing("LibPart_Search", -1, &err)) return err;
    if (libPart == nullptr) return APIERR_BADPARS;
    const LibraryStore& store = project_.libraries;
    int32_t index = -1;
    if (libPart->ownUnID[0] != '\0') {
        index = store.FindByUnID(FieldText(libPart->ownUnID, sizeof libPart->ownUnID));
    } else {
        const size_t units = sizeof libPart->docu_UName / sizeof libPart->docu_UName[0];
        index = store.FindByName(Utf8FromField(libPart->docu_UName, units), libPart->typeID);
    }
    if (index < 0) {
        libPart->index = -1;
        return APIERR_BADNAME;
    }
    FillLibPartRecord(*store.Part(index), index, libPart);
    return NoError;
}

GSErrCode StandinHost::LibPartGet(API_LibPart* libPart) {
    GSErrCode err;
    if (Failing("LibPart_Get", -1, &err)) return err;
    if (libPart == nullptr) return APIERR_BADPARS;
    const LibPartDef* part = project_.libraries.Part(libPart->index);
    if (part == nullptr) return APIERR_BADINDEX;
    FillLibPartRecord(*part, libPart->index, libPart);
    return NoError;
}

GSErrCode StandinHost::LibPartGetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars) {
    GSErrCode err;
    if (Failing("LibPart_GetParams", -1, &err)) return err;
    const LibPartDef* part = project_.libraries.Part(libInd);
    if (part == nullptr) return APIERR_BADINDEX;
    double size[2] = {0.0, 0.0};
    for (const LibParamDef& p : part->params)
        for (int k = 0; k < 2; ++k)
            if (p.name == (k == 0 ? "A" : "B") && p.dim1 == 0 && !p.numbers.empty()) size[k] = p.numbers[0];
    if (addPars != nullptr) {
        *addPars = project_.libraries.MakeParamHandle(libInd);
        if (*addPars == nullptr) return ErrMemoryFull;
    }
    if (a != nullptr) *a = size[0];
    if (b != nullptr) *b = size[1];
    if (addParNum != nullptr) *addParNum = int32_t(part->params.size());
    return NoError;
}
