#pragma once
// The stand-in host: an in-memory project, the host function table over it, and the module's life (load,
// entry points, menu commands, notifications, release). main.cpp drives it from a script; the tests drive it
// in-process through this interface.
#include "APIDefs.hpp"
#include "LibraryStore.hpp"
#include "ModuleLoader.hpp"
#include "ProjectDatabase.hpp"
#include "ProjectEvents.hpp"
#include "ProjectInput.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// What the host is: survives restarts of the module.
struct HostSettings {
    std::string moduleDir;   // resources/ of the module lie here
    std::string userFolder;  // special folder 14
    int32_t environmentKind = APIAppl_Host;
    int32_t mainVersion = 25;
    int32_t releaseVersion = 0;
    int32_t buildNum = 3005;
    std::string language = "INT";  // the host's language code ('APPL')
    bool suitePresent = false;     // the suite add-on answers 'SUIT'
};

// The project the host has open: survives restarts of the module.
struct HostProject {
    struct ModuleDataEntry {
        int32_t dataVersion = 0;
        uint16_t platformSign = 0;
        std::string bytes;
    };
    std::map<std::string, ModuleDataEntry> moduleData;  // by name; "" is the unnamed entry
    LibraryStore libraries;                             // a project starts with none loaded
    ProjectDatabase database;                           // elements, attributes, stories, windows ...
};

// What the loaded module has registered; forgotten when it is unloaded.
struct ModuleSession {
    struct Menu {
        int16_t menuResID = 0;
        int16_t promptResID = 0;
        int32_t position = 0;
        int32_t flags = 0;
        std::vector<std::string> texts;  // lines of the menu resource, from 1
    };
    struct ModelessWindow {
        API_PaletteControlCallBackProc* callBack = nullptr;
        int32_t controlFlags = 0;
        API_Guid guid = APINULLGuid;
    };
    GSResModule resModule = InvalidResModule;
    std::vector<Menu> menus;
    std::map<int16_t, API_MenuCommandProc*> menuHandlers;
    std::map<std::pair<int16_t, int16_t>, std::string> menuItemTexts;  // set with 'SMIT'
    bool builtInLibrary = false;
    bool keepInMemory = false;
    API_ProjectEventHandlerProc* projectEventHandler = nullptr;
    int32_t projectEventMask = 0;
    API_ElementEventHandlerProc* newElementHandler = nullptr;
    bool newElementAllTypes = false;
    API_ElemTypeID newElementType = API_ZombieElemID;
    API_ElementEventHandlerProc* elementObserver = nullptr;
    API_ToolChangeHandlerProc* toolChangeHandler = nullptr;
    std::map<int32_t, ModelessWindow> modelessWindows;
};

// Results of the entry points of the latest load.
struct EntryResults {
    bool checkEnvironmentRan = false;
    bool registerInterfaceRan = false;
    bool initializeRan = false;
    bool freeDataRan = false;
    API_AddonType checkEnvironment = 0;
    GSErrCode registerInterface = NoError;
    GSErrCode initialize = NoError;
    GSErrCode freeData = NoError;
    API_EnvirParams envir = {};
};

class StandinHost {
public:
    explicit StandinHost(const HostSettings& settings, std::ostream* logStream = nullptr);
    ~StandinHost();
    StandinHost(const StandinHost&) = delete;
    StandinHost& operator=(const StandinHost&) = delete;

    void UseSharedLibrary(const std::string& path);
    void UseInProcess(const ModuleExports& exports);

    // --- The module's life.
    // Loads the module, hands over the tables and runs CheckEnvironment, RegisterInterface and Initialize.
    // The module declining the environment, or a failed RegisterInterface, unloads it again; a failed Initialize
    // is followed by FreeData and unloading. False only when loading itself went wrong (see Errors()).
    bool Load();
    // FreeData, then unload (dlopen with RTLD_NOLOAD must find nothing afterwards).
    bool Release();
    bool Restart();
    bool IsLoaded() const { return loaded_; }

    // Step by step (tests): load and exchange the tables; the entry points one at a time; forget and unload.
    bool Attach();
    API_AddonType RunCheckEnvironment();
    GSErrCode RunRegisterInterface();
    GSErrCode RunInitialize();
    GSErrCode RunFreeData();
    bool Detach();
    const API_EntryTable& EntryTable() const { return entryTable_; }
    uint64_t ContextWordGiven() const { return contextWord_; }

    // --- The user and the project.
    // Chooses item `itemIndex` of the add-on's menu `menuResID`; false when no such menu is registered or no
    // handler is installed for it.
    bool ChooseMenu(int16_t menuResID, int16_t itemIndex, GSErrCode* handlerResult = nullptr);
    bool SendProjectEvent(int32_t notifID, int32_t param, GSErrCode* handlerResult = nullptr);
    bool SendToolChange(const API_ToolBoxItem& tool, GSErrCode* handlerResult = nullptr);

    // The next calls of host function `function` fail with `error` (`key`: only calls for that menu resource
    // id; -1 any). Unknown function names are refused.
    bool FailCall(const std::string& function, int32_t key, GSErrCode error);
    void ClearFailures() { failures_.clear(); }
    static const std::vector<std::string>& FunctionNames();

    HostSettings& Settings() { return settings_; }
    HostProject& Project() { return project_; }
    const ModuleSession& Session() const { return session_; }
    const EntryResults& Results() const { return results_; }
    // The host function table as handed to the module.
    const API_HostFunctionTable& Table() const { return table_; }

    // Lines the module wrote into the report log, since the host started.
    const std::vector<std::string>& ModuleReports() const { return reports_; }
    void ClearModuleReports() { reports_.clear(); }
    // Host-side faults (resource errors, refused selector calls with bad records, unload failures ...).
    const std::vector<std::string>& Errors() const { return errors_; }
    // Unknown selectors the module asked for (logged and refused).
    const std::vector<std::string>& RefusedSelectors() const { return refusedSelectors_; }

    void Log(const std::string& line);

    // The host serving the table's calls now (one at a time).
    static StandinHost* Current();

    // Implementations of the table's entries.
    GSErrCode Environment(const API_SelectorCall* call);
    GSErrCode Interface(const API_SelectorCall* call);
    GSErrCode CommandTest(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion);
    GSResModule GetOwnResModule();
    GSErrCode KeepInMemory(bool keepIt);
    GSErrCode RegisterMenu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags);
    GSErrCode InstallMenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc);
    GSErrCode RegisterBuiltInLibrary();
    GSErrCode CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc);
    GSErrCode CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc);
    GSErrCode InstallElementObserver(API_ElementEventHandlerProc* handlerProc);
    GSErrCode CatchToolChange(API_ToolChangeHandlerProc* handlerProc);
    GSErrCode ModulDataStore(const API_ModulData* info, const char* modulName);
    GSErrCode ModulDataGet(API_ModulData* info, const char* modulName);
    GSErrCode ModulDataDelete(const char* modulName);
    GSErrCode RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                     int32_t controlFlags, const API_Guid* paletteGuid);
    GSErrCode UnregisterModelessWindow(int32_t referenceID);
    GSErrCode WriteReport(const char* text);
    GSErrCode LibPartSearch(API_LibPart* libPart);
    GSErrCode LibPartGet(API_LibPart* libPart);
    GSErrCode LibPartGetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars);
    // Library-part parameter lists: 'OPAR', 'GPAR', 'CPAR' (LibraryParams.cpp).
    GSErrCode Goodies(const API_SelectorCall* call);
    // Adds a library folder to the project ('ALIB' and the script); false with `why` when refused.
    bool AddLibraryFolder(const std::string& folder, std::string* why);

    // --- The project database (ProjectDatabase.hpp; its table entries are in ProjectFunctions.cpp).
    ProjectDatabase& Database() { return project_.database; }
    // A failure set by FailCall for `function` (and `key`, or any key) answers now; logged.
    bool InjectedFailure(const char* function, int32_t key, GSErrCode* error) { return Failing(function, key, error); }
    bool CheckSelectorRecord(const char* family, const API_SelectorCall* call, uint32_t par1Size, uint32_t par2Size) {
        return CheckRecord(family, call, par1Size, par2Size);
    }
    GSErrCode RefuseSelector(const char* family, uint32_t selector) { return Refuse(family, selector); }

    // --- The user's clicks and the element events (ProjectInput.hpp, ProjectEvents.hpp).
    InteractiveInput& Input() { return input_; }
    ElementEvents& Events() { return events_; }
    // Records a host-side fault (it fails a script run unless acknowledged).
    void ReportHostError(const std::string& text) { Error(text); }

private:
    bool Failing(const char* function, int32_t key, GSErrCode* error);
    bool CheckRecord(const char* family, const API_SelectorCall* call, uint32_t par1Size, uint32_t par2Size);
    GSErrCode Refuse(const char* family, uint32_t selector);
    void Error(const std::string& text);
    void ForgetSession();

    HostSettings settings_;
    std::ostream* logStream_;
    std::unique_ptr<ModuleLoader> loader_;
    ModuleExports exports_;
    API_EntryTable entryTable_ = {};
    API_HostFunctionTable table_ = {};
    HostProject project_;
    ModuleSession session_;
    EntryResults results_;
    bool attached_ = false;
    bool loaded_ = false;
    uint32_t loadCount_ = 0;
    uint64_t contextWord_ = 0;
    std::map<std::pair<std::string, int32_t>, GSErrCode> failures_;
    std::vector<std::string> reports_;
    std::vector<std::string> errors_;
    std::vector<std::string> refusedSelectors_;
    int32_t openParams_ = 0;  // the library part whose parameters 'OPAR' opened; 0 when none is open

    InteractiveInput input_{project_.database};
    ElementEvents events_{*this};
};

// "'APPL'" for a selector word.
std::string SelectorText(uint32_t selector);
// "0x81060001" for an error code, "0" for none.
std::string ErrorText(GSErrCode err);

// Runs one project-database entry for the host serving now: a failure set by FailCall answers first; a refusal
// is logged with the database's reason.
template <typename F>
GSErrCode ServeDatabaseCall(const char* name, F&& body) {
    StandinHost* host = StandinHost::Current();
    if (host == nullptr) return APIERR_GENERAL;
    GSErrCode err;
    if (host->InjectedFailure(name, -1, &err)) return err;
    host->Database().ClearRefusal();
    err = body(*host, host->Database());
    if (err != NoError && !host->Database().LastRefusal().empty())
        host->Log(std::string("  host: ") + name + " refused (" + ErrorText(err) +
                  "): " + host->Database().LastRefusal());
    return err;
}
