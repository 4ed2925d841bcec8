#pragma once
// What every family of host functions needs of the host serving the table now: its parts (settings, project,
// what the module registered, element events, the user's clicks), the failures set by FailCall, the checks of
// selector records, and the host's log and error list; and how a family puts its entries into the table.
// StandinHost is the host and owns the parts; the families see only this face of it.
#include "APIDefs.hpp"
#include "APIHostTable.hpp"
#include "APISelectors.hpp"
#include "HostSettings.hpp"
#include "ModuleSession.hpp"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct HostProject;
struct ProjectRecords;
class LibraryStore;
class ModelStore;
class MeshVolumes;
struct View3DState;
class GivenDrawings;
class SettingsDialogAnswers;
class ProjectDatabase;
class ElementEvents;
class InteractiveInput;
class HostCalls;

// The five entries of the table that take a selector word. Each family of host functions adds the selectors it
// serves (SelectorFamilies.hpp serves the entries).
enum class SelectorFamily { Environment, Interface, Database, Automate, Goodies };
using SelectorHandler = GSErrCode (*)(HostCalls& host, const API_SelectorCall* call);

// How much the host tells: Quiet only what the user sees (alerts) and faults; Normal also each host call worth
// noting, with element events counted; Verbose every element event and every lookup as well.
enum class LogLevel { Quiet, Normal, Verbose };

class HostCalls {
public:
    HostCalls(const HostCalls&) = delete;
    HostCalls& operator=(const HostCalls&) = delete;

    // The host serving the table's calls now (one at a time); null when there is none.
    static HostCalls* Current();

    HostSettings& Settings() { return settings_; }
    HostProject& Project() { return *parts_.project; }
    // The parts of the project each family serves (the whole is assembly/HostProject, above the families).
    ProjectRecords& Records() { return *parts_.records; }
    ModelStore& Models() { return *parts_.models; }
    MeshVolumes& Volumes() { return *parts_.volumes; }
    View3DState& View3D() { return *parts_.view3D; }
    GivenDrawings& Drawings() { return *parts_.drawings; }
    SettingsDialogAnswers& SettingsDialogs() { return *parts_.settingsDialogs; }
    LibraryStore& Libraries() { return *parts_.libraries; }
    ProjectDatabase& Database() { return *parts_.database; }
    ModuleSession& Session() { return session_; }
    const ModuleSession& Session() const { return session_; }
    ElementEvents& Events() { return *parts_.events; }
    InteractiveInput& Input() { return *parts_.input; }

    // A failure set by FailCall for `function` (and `key`, or any key) answers now; logged. `selector`: the one the
    // call asked for, told to the listener (-1 none).
    bool InjectedFailure(const char* function, int32_t key, GSErrCode* error, int64_t selector = -1);
    void ClearFailures() {
        failures_.clear();
        passes_.clear();
        answers_.clear();
    }
    // Every host function served while `into` is set is counted in it by name, once per call (the fault sweep fails
    // each in turn, at each of its calls).
    void RecordCalls(std::map<std::string, int64_t>* into) { calledNames_ = into; }
    // After `calls` more host functions served, the next one runs `exceeded` first (0: no limit): a run that does
    // not end is told by its count of calls, which no machine's speed changes.
    void LimitCalls(uint64_t calls, void (*exceeded)()) {
        callsLeft_ = calls;
        callsExceeded_ = calls > 0 ? exceeded : nullptr;
    }
    // `heard` runs at every failure made on purpose, before the call answers it, with the function and the selector
    // it was asked for (-1 none) (nullptr: none): the fault sweep notes where in the action each one came.
    void HearInjectedFailures(void (*heard)(const char* function, int64_t selector)) { failureHeard_ = heard; }
    // `heard` runs at every host function served, counted, before a failure set for it is looked for (nullptr:
    // none): the fault sweep forks a failing run there instead of running the action again up to that call.
    void HearCalls(void (*heard)(const char* function)) { callHeard_ = heard; }
    // Every failure made on purpose so far, in order: the function and the error it answered.
    struct Refusal {
        std::string function;
        GSErrCode error;
    };
    const std::vector<Refusal>& Refusals() const { return refusals_; }
    // Records of the wrong sizes (or missing) are a host error; false then.
    bool CheckSelectorRecord(const char* family, const API_SelectorCall* call, uint32_t par1Size, uint32_t par2Size);
    // A selector no family serves: logged and refused.
    GSErrCode RefuseSelector(const char* family, uint32_t selector);
    SelectorHandler FindSelector(SelectorFamily family, uint32_t selector) const;

    // Records a host-side fault (it fails a script run unless acknowledged).
    void ReportHostError(const std::string& text);
    // A line of the host's own account (Normal and Verbose); a lookup or a single element event (Verbose); a line
    // the user must see at every level (alerts, faults). Texts are printed as UTF-8.
    void Log(const std::string& line);
    void LogDetail(const std::string& line);
    void LogAlways(const std::string& line);
    void SetLogLevel(LogLevel level) { logLevel_ = level; }
    LogLevel GetLogLevel() const { return logLevel_; }
    // Element events are counted rather than printed below Verbose: the counts since the last take, in the order
    // first seen ("2500 elements created").
    void CountEvent(const std::string& what);
    std::vector<std::pair<std::string, int64_t>> TakeEventCounts();
    // A line the module wrote into the report log.
    void ReceiveModuleReport(const std::string& line);
    // While an action's account is open (ActionAccount), each read of the selection that differs from the
    // earlier ones of the action is logged ("selection: 1 mesh, 2 polylines read").
    void OpenSelectionAccount();
    void NoteSelectionRead(const std::string& what);
    void CloseSelectionAccount();

    // Lines the module wrote into the report log, since the host started.
    const std::vector<std::string>& ModuleReports() const { return reports_; }
    void ClearModuleReports() { reports_.clear(); }
    // Host-side faults (resource errors, refused selector calls with bad records, unload failures ...).
    const std::vector<std::string>& Errors() const { return errors_; }
    // Unknown selectors the module asked for (logged and refused).
    const std::vector<std::string>& RefusedSelectors() const { return refusedSelectors_; }

protected:
    // The newest host serves the table.
    HostCalls(const HostSettings& settings, std::ostream* logStream);
    ~HostCalls();
    // The parts the host owns beside this face.
    struct Parts {
        HostProject* project = nullptr;
        LibraryStore* libraries = nullptr;  // of the project
        ProjectDatabase* database = nullptr;
        ElementEvents* events = nullptr;
        InteractiveInput* input = nullptr;
        // The project's parts each family serves, given apart so that the families need not know the whole.
        ProjectRecords* records = nullptr;
        ModelStore* models = nullptr;
        MeshVolumes* volumes = nullptr;
        View3DState* view3D = nullptr;
        GivenDrawings* drawings = nullptr;
        SettingsDialogAnswers* settingsDialogs = nullptr;
    };
    void AttachParts(const Parts& parts) { parts_ = parts; }
    void SetFailure(const std::string& function, int32_t key, GSErrCode error) {
        failures_[{function, key}] = error;
        passes_.erase({function, key});
        answers_.erase({function, key});
    }
    // The same once `passes` more such calls have been served; then `answers` calls fail (-1: every one) and the
    // later ones work again.
    void SetFailureAfter(const std::string& function, int32_t key, GSErrCode error, int32_t passes,
                         int32_t answers = -1) {
        failures_[{function, key}] = error;
        passes_[{function, key}] = passes;
        if (answers >= 0)
            answers_[{function, key}] = answers;
        else
            answers_.erase({function, key});
    }

private:
    friend class HostFunctionSet;

    HostSettings settings_;
    std::ostream* logStream_;
    LogLevel logLevel_ = LogLevel::Normal;
    std::vector<std::pair<std::string, int64_t>> eventCounts_;
    int32_t selectionAccounts_ = 0;            // accounts open
    std::vector<std::string> selectionReads_;  // of the outermost, each different read once
    ModuleSession session_;
    Parts parts_;
    std::map<std::pair<std::string, int32_t>, GSErrCode> failures_;
    std::map<std::pair<std::string, int32_t>, int32_t> passes_;   // calls still served before a failure answers
    std::map<std::pair<std::string, int32_t>, int32_t> answers_;  // failures still to answer; none: every call
    std::map<std::string, int64_t>* calledNames_ = nullptr;
    uint64_t callsLeft_ = 0;
    void (*callsExceeded_)() = nullptr;
    void (*failureHeard_)(const char* function, int64_t selector) = nullptr;
    void (*callHeard_)(const char* function) = nullptr;
    std::vector<Refusal> refusals_;
    std::map<std::pair<SelectorFamily, uint32_t>, SelectorHandler> selectors_;
    std::vector<std::string> reports_;
    std::vector<std::string> errors_;
    std::vector<std::string> refusedSelectors_;
};

// The table being filled: each family of host functions puts its entries under their names (the names FailCall
// takes) and adds the selectors it serves.
class HostFunctionSet {
public:
    // `host` null: only the names are collected.
    HostFunctionSet(API_HostFunctionTable* table, HostCalls* host) : table_(table), host_(host) {}

    template <typename Entry>
    void Put(const char* name, Entry API_HostFunctionTable::*entry, Entry function) {
        table_->*entry = function;
        names_.push_back(name);
    }
    void AddSelector(SelectorFamily family, uint32_t selector, SelectorHandler handler) {
        if (host_ != nullptr) host_->selectors_[{family, selector}] = handler;
    }
    const std::vector<std::string>& Names() const { return names_; }

private:
    API_HostFunctionTable* table_;
    HostCalls* host_;
    std::vector<std::string> names_;
};

// "'APPL'" for a selector word.
std::string SelectorText(uint32_t selector);
// "0x81060001" for an error code, "0" for none.
std::string ErrorText(GSErrCode err);

// Runs one entry for the host serving now: APIERR_GENERAL without one; a failure set by FailCall for `name` and
// `key` (-1: any) answers first.
template <typename F>
GSErrCode ServeCall(const char* name, int32_t key, F&& body) {
    HostCalls* host = HostCalls::Current();
    if (host == nullptr) return APIERR_GENERAL;
    GSErrCode err;
    if (host->InjectedFailure(name, key, &err)) return err;
    return body(*host);
}

// Copies records into a new handle the caller kills; APIERR_MEMFULL when memory fails.
template <typename T>
GSErrCode HandOut(const T* items, size_t count, GSHandle* out) {
    *out = BMAllocateHandle(GSSize(count * sizeof(T)), 0, 0);
    if (*out == nullptr) return APIERR_MEMFULL;
    if (count > 0) std::memcpy(**out, static_cast<const void*>(items), count * sizeof(T));
    return NoError;
}
template <typename T>
GSErrCode HandOut(const std::vector<T>& items, GSHandle* out) {
    return HandOut(items.data(), items.size(), out);
}
