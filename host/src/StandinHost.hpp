#pragma once
// The stand-in host: an in-memory project, the host function table over it, and the module's life (load,
// entry points, menu commands, notifications, release). main.cpp drives it from a script; the tests drive it
// in-process through this interface. The table's entries are served by the families of host functions
// (project/, library/, module/, ui/, view3d/, drawing/), which see the host through HostCalls.
#include "APIDefs.hpp"
#include "DGDriver.hpp"
#include "HostCalls.hpp"
#include "ModuleLoader.hpp"
#include "project/ElementEvents.hpp"
#include "assembly/HostProject.hpp"
#include "project/InteractiveInput.hpp"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

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

// One entry point the host ran: its name, what it answered, and the host calls refused on purpose while it ran.
struct EntryAnswer {
    std::string entry;
    int64_t answer = 0;
    std::vector<HostCalls::Refusal> refused;
};

class StandinHost : public HostCalls {
public:
    explicit StandinHost(const HostSettings& settings, std::ostream* logStream = nullptr);
    ~StandinHost();

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
    // The user brings a window to the front (its database becomes current); when another window came to the
    // front, a module that listens hears the project event 0x80000 (window changed). The project's refusal, or
    // NoError.
    GSErrCode UserBringsWindowToFront(const API_WindowInfo& window);
    // The host tells registered modeless window `referenceID` to close, hide, show, disable or enable itself
    // (APIPaletteMessage_...); false with `why` when it is not registered or its flags refuse the message.
    bool SendPaletteMessage(int32_t referenceID, int32_t message, std::string* why);
    // The user's queued actions for the open modeless windows, handed to them now; how many were delivered.
    int32_t DeliverModelessActions();
    // What the log adds to a dialog's line from what the dialog showed as it closed (the script layer knows
    // which item says what: a settings dialog's mode header); null: nothing.
    using DialogNote = std::string (*)(const DGDriver::LogRecord& record);
    void SetDialogNote(DialogNote note) { dialogNote_ = note; }
    // Adds a library folder to the project (as 'ALIB' does); false with `why` when refused.
    bool AddLibraryFolder(const std::string& folder, std::string* why);

    // The next calls of host function `function` fail with `error` (`key`: only calls for that menu resource
    // id or selector word; -1 any). Unknown function names are refused.
    bool FailCall(const std::string& function, int32_t key, GSErrCode error);
    // The same, once `passes` more calls of it have been served; then `answers` calls fail (-1: every one) and the
    // later ones work again.
    bool FailCallAfter(const std::string& function, int32_t key, GSErrCode error, int32_t passes, int32_t answers = -1);
    // Every host function FailCall knows, as the table's entries are named.
    static const std::vector<std::string>& FunctionNames();

    const EntryResults& Results() const { return results_; }
    // Every entry point run since the host was made, in order (Results() keeps the latest load's alone).
    const std::vector<EntryAnswer>& EntryAnswers() const { return entryAnswers_; }
    // The host function table as handed to the module.
    const API_HostFunctionTable& Table() const { return table_; }

    // A few of the table's entries, called as the module calls them (tests).
    GSErrCode CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc) {
        return table_.Notify_CatchNewElement(elemType, handlerProc);
    }
    GSErrCode InstallElementObserver(API_ElementEventHandlerProc* handlerProc) {
        return table_.Notify_InstallElementObserver(handlerProc);
    }
    GSErrCode ModulDataStore(const API_ModulData* info, const char* modulName) {
        return table_.ModulData_Store(info, modulName);
    }
    GSErrCode ModulDataGet(API_ModulData* info, const char* modulName) { return table_.ModulData_Get(info, modulName); }
    GSErrCode ModulDataDelete(const char* modulName) { return table_.ModulData_Delete(modulName); }

private:
    void ForgetSession();
    void NoteAnswer(const char* entry, int64_t answer, size_t refusalsBefore);

    std::unique_ptr<ModuleLoader> loader_;
    ModuleExports exports_;
    API_EntryTable entryTable_ = {};
    API_HostFunctionTable table_ = {};
    EntryResults results_;
    std::vector<EntryAnswer> entryAnswers_;
    bool attached_ = false;
    bool loaded_ = false;
    DialogNote dialogNote_ = nullptr;
    uint32_t loadCount_ = 0;
    uint64_t contextWord_ = 0;

    HostProject project_;
    InteractiveInput input_{project_.database};
    ElementEvents events_{*this, project_.database};
};
