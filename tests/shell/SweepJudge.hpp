#pragma once
// The fault sweep's judge: how a run of an action with a failing host call ended, against the project before the
// action and the clean run's end. Each outcome the module may leave is one predicate here, listed with its order and
// its reason in Outcomes(); a run that meets none is a fault, and the judge says what is wrong with it.
#include "SweepDump.hpp"
#include "TestSupport.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/KindName.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include "Resources.hpp"
#include "UniString.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Sweep {

// One end of a run as the judge reads it. The project is loaded only when a predicate needs it whole (large projects
// cost their parse); its dump and the dump's hash are always at hand.
struct RunEnd {
    Signature dump;
    std::string hash;
    std::vector<std::string> alerts;  // the alerts shown, each its texts joined, in order
    // The clean run only: the GUIDs of the elements it changed, in the order it first changed each.
    std::vector<std::string> rewritten;
    std::function<ordered_json()> load;  // the project (elements carry "observed" where the module observes them)

    const ordered_json& Project() const {
        if (!project_) project_ = load ? load() : ordered_json::object();
        return *project_;
    }
    // The project's dump in `shape`, made once: several outcomes compare the same part.
    const Signature& Dumped(const DumpShape& shape) const {
        auto found = shaped_.find(&shape);
        if (found == shaped_.end()) found = shaped_.emplace(&shape, ProjectDump(Project(), shape)).first;
        return found->second;
    }
    static RunEnd Of(const ordered_json& project, std::vector<std::string> alerts = {},
                     std::vector<std::string> rewritten = {}) {
        RunEnd end;
        end.dump = ProjectDump(project);
        end.hash = DumpHash(end.dump);
        end.alerts = std::move(alerts);
        end.rewritten = std::move(rewritten);
        end.project_ = project;
        return end;
    }

private:
    mutable std::optional<ordered_json> project_;
    mutable std::map<const DumpShape*, Signature> shaped_;
};

// An entry point a run made the module's host call (a load, restart or release): its name, what it answered, and
// the host calls refused while it ran, each the function and the error the host answered.
struct EntryRun {
    std::string entry;
    int64_t answer = 0;
    std::vector<std::pair<std::string, int64_t>> refused;
};

// The clean run's project after one of its undo steps before its last: the command that step ended (counted from 1)
// and the project then, loaded only when an outcome needs it.
struct CleanStep {
    int command = 0;
    std::function<RunEnd()> load;
};

// A failing run and what it is judged against.
struct RunCase {
    const RunEnd& before;  // before the action (after the user's own edit, when the line is one the module answers)
    const RunEnd& clean;   // after the action without the failure
    const RunEnd& run;     // after the action with the failure
    std::set<std::string> cleanSteps;  // hashes of the clean run's project after each undo step before its last
    // The hash of the project where the run's first failure came: as the command it came in began, or as it was
    // then when it came between commands ("" unknown).
    std::string failedFrom = {};
    // Between commands: the same project's hash without the observed marks ("" unknown).
    std::string failedFromUnobserved = {};
    // The command of the clean run's the first failure came in, or the next one when it came between commands
    // (counted from 1; 0 unknown), and what each command of the clean run changed in the project's dump: the lines it
    // added and those it removed (a command missing: unknown).
    int failedIn = 0;
    std::map<int, std::pair<Signature, Signature>> cleanChanges = {};
    int cleanCommands = 0;
    int runCommands = 0;  // the commands the run began
    // For each of the run's alerts, where the latest failure before it came: "in <command>", "at the end" (between
    // commands, nothing changed after it), "between", "" (none).
    std::vector<std::string> alertPlaces = {};
    // For each alert of the run, whether the latest failure before it was an input the user was to give.
    std::vector<bool> alertsAfterInput = {};
    // The entry points the action ran, in order, in the run and in the clean run.
    std::vector<EntryRun> entries = {}, cleanEntries = {};
    std::vector<CleanStep> cleanStepEnds = {};
    std::string failedFunction = {};  // the host function failed in the run ("" unknown)
};

// --- what the user is told

// The module's error messages the judge looks for, as an alert shows them ("<title> | <message>"), read from the
// module's resources in English (the language the examples run in).
struct JudgeTexts {
    std::string findingData, pointError, layerRefused, observingPass, objectNotMade;
};
inline std::string ModuleText(int32_t table, int32_t entry) {
    GS::UniString text;
    if (!RSGetIndString(&text, table, entry, TestSupport::ModuleResources())) return "";
    return text.ToUtf8();
}
inline std::string ModuleErrorText(int32_t entry) { return ModuleText(ErrorTableBase + LanguageEnglish, entry); }
inline const JudgeTexts& JudgedTexts() {
    static const JudgeTexts texts = [] {
        const std::string title = ModuleErrorText(ErrorTitleEntry) + " | ";
        return JudgeTexts{title + ModuleErrorText(ErrFindingData), title + ModuleErrorText(ErrSpecifyingPoint),
                          title + ModuleErrorText(ErrLayer), title + ModuleErrorText(ErrObjectInformation),
                          title + ModuleErrorText(ErrModifying)};
    }();
    return texts;
}

// Begins the text of an alert that came while a dialog was opening, before the user could answer it: "[opening
// dialog <id>] ".
inline const std::string OpeningMark = "[opening dialog ";
// Begins the text of an alert that came while a dialog waited for the user, which then took another answer (the
// dialog stayed open after it): "[answered again, dialog <id>] ".
inline const std::string AnsweredAgainMark = "[answered again, dialog ";

// The mark an alert shown while a dialog opened or waited begins with ("" none).
inline std::string DialogMark(const std::string& alert) {
    if (alert.rfind(OpeningMark, 0) != 0 && alert.rfind(AnsweredAgainMark, 0) != 0) return "";
    const size_t end = alert.find("] ");
    return end == std::string::npos ? "" : alert.substr(0, end + 2);
}

// An alert's buttons follow its texts, " [OK, Cancel]", and its kind (the host's alert type) ends it: " {kind <n>}".
inline std::string WithoutKind(const std::string& alert) {
    const size_t at = alert.rfind(" {kind ");
    return at == std::string::npos ? alert : alert.substr(0, at);
}

// The alerts of `run` that `clean` does not show, each as often as it is missing there.
inline std::vector<std::string> NewAlerts(const std::vector<std::string>& run, const std::vector<std::string>& clean) {
    return Added(clean, run);
}

// The texts of alerts that put the blame on the user's input (the selection, a name, a drawing, a file), read from
// the module's resources in English: shown for a failed host call, each sends the user looking for a fault that is
// not theirs.
inline const std::vector<std::string>& BlamingTexts() {
    static const std::vector<std::string> texts = [] {
        const int32_t errors = ErrorTableBase + LanguageEnglish;
        const std::pair<int32_t, int32_t> entries[] = {
            {errors, ErrOutlineTooShort},
            {errors, NameUsedText},
            {ImportTableBase + LanguageEnglish, 8},  // "... a terrain and a selected polyline!"
            {errors, ErrSelectTerrain},
            {errors, ErrOneTerrainOnly},
            {errors, ErrTwoOutlines},
            {errors, ErrNoOutline},
            {errors, ErrNoFill},
            {errors, ErrMustBeClosed},
            {errors, ErrMustBeOpen},
            {errors, ErrHasCurves},
            {errors, ErrOutlineCorners},
            {errors, ErrSelectPoint},
            {errors, ErrOneElementOnly},
            {errors, ErrClickLineSegment},
            {errors, ErrClickOtherSegment},
            {errors, ErrClickSelectedFill},
            {errors, ErrClickNonAdjacentSegment},
            {errors, ErrNotItsObstacle},
            {errors, ErrNothingReadable},
            {CommonTableBase + LanguageEnglish, 30},  // "The former layer of this tool has been deleted. ..."
        };
        std::vector<std::string> out;
        for (const auto& [table, entry] : entries) {
            const std::string text = ModuleText(table, entry);
            if (!text.empty()) out.push_back(text);
        }
        return out;
    }();
    return texts;
}
inline bool BlamesInput(const std::string& alert) {
    const std::vector<std::string>& blames = BlamingTexts();
    return std::any_of(blames.begin(), blames.end(),
                       [&alert](const std::string& b) { return alert.find(b) != std::string::npos; });
}

// The marker the resources give for a text they do not have: an alert or question showing it says nothing.
inline const std::string MissingTextMarker = "_ERR_NO_";
inline bool Unworded(const std::string& alert) { return alert.find(MissingTextMarker) != std::string::npos; }

// An information alert tells of work done: shown for a failure, it tells the user that all went well.
inline bool IsInformation(const std::string& alert) { return alert.find(" {kind 1}") != std::string::npos; }

// Told: the user learns that something was not done. An alert the clean run does not show, none of the new ones
// blames the user's input for what the host refused, shows a text (or a button) the resources could not give, or
// comes as information, and no alert the clean run shows is lost.
inline bool Told(const std::vector<std::string>& run, const std::vector<std::string>& clean) {
    const std::vector<std::string> added = NewAlerts(run, clean);
    return !added.empty() && std::none_of(added.begin(), added.end(), BlamesInput) &&
        std::none_of(added.begin(), added.end(), Unworded) && std::none_of(added.begin(), added.end(), IsInformation);
}
inline bool Told(const RunCase& c) { return Told(c.run.alerts, c.clean.alerts); }

// The alerts of the run that the clean run does not show, by their place in the run's list.
inline std::vector<size_t> NewAlertIndexes(const std::vector<std::string>& run, const std::vector<std::string>& clean) {
    std::multiset<std::string> left(clean.begin(), clean.end());
    std::vector<size_t> out;
    for (size_t i = 0; i < run.size(); ++i) {
        const auto it = left.find(run[i]);
        if (it == left.end())
            out.push_back(i);
        else
            left.erase(it);
    }
    return out;
}

// The model alone: a dump without what surrounds it (window, database, undo steps, selection, attributes other than
// layers, user folder files). A told partial outcome is judged on the model; the outcomes that claim the project as
// the clean run or as before compare the whole.
inline bool IsSurrounding(const std::string& line) {
    for (const char* part : SurroundingParts())
        if (line.rfind(part, 0) == 0 && (line.size() == std::strlen(part) || line[std::strlen(part)] == ' '))
            return true;
    return false;
}
inline Signature Modelled(const Signature& dump) {
    Signature out;
    for (const std::string& line : dump)
        if (!IsSurrounding(line)) out.push_back(line);
    return out;
}

// Ended as the clean run: the project as the clean run leaves it, and every alert the clean run shows shown (one
// the run lost is a warning the user never had).
inline bool LostAlerts(const RunCase& c) { return !Added(c.run.alerts, c.clean.alerts).empty(); }
inline bool EndedAsClean(const RunCase& c) { return c.run.hash == c.clean.hash && !LostAlerts(c); }

// --- the outcomes

inline bool IsContourLines(const ordered_json& e) { return e.value("libPart", "") == "VY_CONTOURLINES"; }
inline bool IsNotContourLines(const ordered_json& e) { return !IsContourLines(e); }
const DumpShape OnlyContourLines{IsContourLines, nullptr};
const DumpShape AllButContourLines{IsNotContourLines, nullptr};

// Library-part objects without what links them to the rest: their data records and their ID flags.
inline bool IsObject(const ordered_json& e) { return e.value("type", "") == "object"; }
inline void LeaveLinksOut(ordered_json& e) {
    e.erase("userData");
    if (e.contains("parameters")) {
        ordered_json kept = ordered_json::array();
        for (const ordered_json& p : e["parameters"])
            if (p.value("name", "").rfind("ID", 0) != 0) kept.push_back(p);
        e["parameters"] = kept;
    }
}

// A project's elements (contour lines aside) as a run is compared element by element: those the project before the
// action had under their own GUIDs, the others ("made") in the order met; every GUID inside a text numbered, the
// old elements' by the project before, so that two runs that make the same elements dump the same texts.
struct KeyedProject {
    std::map<std::string, std::string> old;  // GUID -> text
    std::vector<std::string> made;           // texts, objects without their links
    Signature parts;                         // layers, stories, databases
    Signature undo;                          // the undo steps by name (kept aside)
    Signature oldLinks, madeLinks;           // solid links between old elements; those with a made end
};

inline KeyedProject Keyed(const ordered_json& project, const ordered_json& before) {
    GuidNumbers numbers;
    std::set<std::string> oldGuids;
    for (const ordered_json* p : {&before, &project}) {
        for (const ordered_json& d : p->value("databases", ordered_json::array())) numbers.Number(d.value("id", ""));
        for (const ordered_json& e : p->value("elements", ordered_json::array())) {
            numbers.Number(e.value("guid", ""));
            if (p == &before) oldGuids.insert(e.value("guid", ""));
        }
    }
    KeyedProject out;
    std::set<std::string> madeGuids;
    for (const ordered_json& e : project.value("elements", ordered_json::array())) {
        if (IsContourLines(e)) continue;
        const std::string guid = e.value("guid", "");
        if (oldGuids.count(guid) != 0) {
            out.old[guid] = numbers.Rewrite(WithoutOwnGuid(e));
            continue;
        }
        madeGuids.insert(guid);
        ordered_json rest = e;
        if (IsObject(rest)) LeaveLinksOut(rest);
        out.made.push_back(numbers.Rewrite(WithoutOwnGuid(rest)));
    }
    std::sort(out.made.begin(), out.made.end());
    for (const char* part : {"layers", "stories", "databases"})
        for (const ordered_json& x : project.value(part, ordered_json::array()))
            out.parts.push_back(part + std::string(" ") + numbers.Rewrite(x.dump()));
    Signature surroundings;
    DumpSurroundings(project, numbers, surroundings);
    // A told partial outcome is judged on the model: the undo steps are kept aside, the rest not compared.
    for (std::string& line : surroundings)
        if (line.rfind("undoSteps ", 0) == 0) out.undo.push_back(line);
    for (ordered_json x : project.value("solidLinks", ordered_json::array())) {
        x.erase("time");
        x.erase("subTime");
        const bool made = madeGuids.count(x.value("target", "")) != 0 || madeGuids.count(x.value("operator", "")) != 0;
        (made ? out.madeLinks : out.oldLinks).push_back(numbers.Rewrite(x.dump()));
    }
    for (Signature* s : {&out.parts, &out.oldLinks, &out.madeLinks}) std::sort(s->begin(), s->end());
    return out;
}

// Warned in the dialog: the user learns of the failure while the dialog is still open and goes on from there. A
// dialog that could not set up one of its items says so as it opens and works without that item; an answer the
// dialog could not take (its OK, when the tool's layer could not be read) is told and the dialog stays open for the
// next. The project as the clean run leaves it, every alert the clean run does not show shown as a dialog opened or
// before the dialog's next answer.
inline bool WarnedInDialog(const RunCase& c) {
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    return EndedAsClean(c) && Told(c) && std::all_of(added.begin(), added.end(), [](const std::string& a) {
               return a.rfind(OpeningMark, 0) == 0 || a.rfind(AnsweredAgainMark, 0) == 0;
           });
}

inline bool ContourLinesKept(const RunCase& c) {
    return c.run.Dumped(OnlyContourLines) == c.before.Dumped(OnlyContourLines);
}

// Done: the failure did not matter. The project as the clean run leaves it, and no alert the clean run does not
// show (an error shown for work that was done anyway misleads the user).
inline bool Done(const RunCase& c) { return EndedAsClean(c) && NewAlerts(c.run.alerts, c.clean.alerts).empty(); }

// Done, a failed read told: the project as the clean run leaves it, each alert of the clean run shown, and each
// new alert says that a read failed ("Error while finding data."), no more: not that the action was not done.
// The action did its work; the user learns that the host refused something on the way.
inline bool DoneAReadTold(const RunCase& c) {
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    return EndedAsClean(c) && Told(c) && std::all_of(added.begin(), added.end(), [](const std::string& a) {
               return a.rfind(JudgedTexts().findingData, 0) == 0;
           });
}

// Taken back: the project as before the action, and the user told.
inline bool TakenBack(const RunCase& c) { return c.run.dump == c.before.dump && Told(c); }

// Failed before its question: a command that asks the user on its way (the spot-height count, inside its undoable
// command) fails at a step before the question and ends with its error, as its clean run ended with the answer
// given: the project as before, as the clean run's is too; the run shows an error, and of the clean run's alerts
// only questions are missing (the failure came before them: nothing was there to ask about).
inline bool IsQuestion(const std::string& alert) { return alert.find(" {kind -2}") != std::string::npos; }
inline bool IsErrorAlert(const std::string& alert) { return alert.find(" {kind -1}") != std::string::npos; }
inline bool FailedBeforeItsQuestion(const RunCase& c) {
    if (c.run.dump != c.before.dump || c.clean.dump != c.before.dump) return false;
    const std::vector<std::string> lost = Added(c.run.alerts, c.clean.alerts);
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    return !lost.empty() && std::all_of(lost.begin(), lost.end(), IsQuestion) &&
        std::none_of(added.begin(), added.end(), BlamesInput) && std::none_of(added.begin(), added.end(), Unworded) &&
        std::any_of(c.run.alerts.begin(), c.run.alerts.end(), IsErrorAlert);
}

// Earlier steps kept: an action of several undo steps (a command and the contour lines made again after it; the
// upkeeps of an opened project) keeps, whole, the steps done before the one that failed, takes that one back, and
// says so: the project exactly as the clean run left it after one of its earlier steps, or as it stood where the
// failure came (a later step, one that had nothing to change in the clean run, was not done).
inline std::vector<std::string> UndoNames(const Signature& dump);
inline bool EarlierStepsKept(const RunCase& c) {
    if (c.run.dump == c.before.dump || c.run.hash == c.clean.hash || !Told(c)) return false;
    // The step that failed was taken back: the run keeps fewer undo steps than the clean run (an empty one left in
    // its place is no step kept).
    const std::vector<std::string> runSteps = UndoNames(c.run.dump), cleanSteps = UndoNames(c.clean.dump);
    if (!cleanSteps.empty() && runSteps.size() >= cleanSteps.size()) return false;
    const std::string model = DumpHash(Modelled(c.run.dump));  // the steps are known by their models' hashes
    return c.cleanSteps.count(model) != 0 || (!c.failedFrom.empty() && model == c.failedFrom);
}

// Contour lines as before: a new or changed terrain or earthwork stands when its terrain's contour lines cannot be
// made again; those stay exactly as they were, everything else exactly as the clean run left it, and the user is
// told.
// Contour lines the clean run made again just as they were count too: the run ends as the clean run, and what the
// user is told, that the object could not be made, is what happened to them.
inline bool ContourLinesMadeAgainAsTheyWere(const RunCase& c) {
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    return c.run.hash == c.clean.hash && !Lines(c.clean.Dumped(OnlyContourLines), "element ", true).empty() &&
        std::all_of(added.begin(), added.end(),
                    [](const std::string& a) { return a.rfind(JudgedTexts().objectNotMade, 0) == 0; });
}
inline bool ContourLinesAsBefore(const RunCase& c) {
    return (c.run.hash != c.clean.hash || ContourLinesMadeAgainAsTheyWere(c)) && Told(c) && !LostAlerts(c) &&
        ContourLinesKept(c) && c.run.Dumped(AllButContourLines) == c.clean.Dumped(AllButContourLines);
}

// Unlinked or partly linked: an earthwork whose identities, link records or links fail stays, with no rebuild after
// it, and the user is told. Only the objects the action made may differ from the clean run, and only in their data
// records, their ID flags and their solid links (a made link missing, none added); every other element exactly as
// the clean run left it under its own GUID, the terrain's contour lines as before.
inline bool Unlinked(const RunCase& c) {
    if (c.run.hash == c.clean.hash || !Told(c) || !ContourLinesKept(c)) return false;
    const KeyedProject run = Keyed(c.run.Project(), c.before.Project());
    const KeyedProject clean = Keyed(c.clean.Project(), c.before.Project());
    return !clean.made.empty() && run.old == clean.old && run.made == clean.made && run.parts == clean.parts &&
        run.oldLinks == clean.oldLinks && Includes(clean.madeLinks, run.madeLinks);
}

// Unlinked, a later step taken back: the earthwork's own command stands unlinked and says so (as Unlinked, against
// the clean run's project after that command's undo step), and every later command of the action, refused as well,
// is taken back whole and told: the run began a later command and shows a new alert after a failure in one. Nothing
// of a later step may stand, half done: the run is the earthwork's step, unlinked, and nothing else.
inline bool UnlinkedLaterStepTakenBack(const RunCase& c) {
    if (c.failedIn < 1 || c.alertPlaces.size() != c.run.alerts.size() || !Told(c)) return false;
    const std::vector<size_t> added = NewAlertIndexes(c.run.alerts, c.clean.alerts);
    const auto placedAfter = [&c](size_t i, int command) {
        const std::string& place = c.alertPlaces[i];
        return place.rfind("in ", 0) == 0 && std::stoi(place.substr(3)) > command;
    };
    for (const CleanStep& step : c.cleanStepEnds) {
        if (step.command < c.failedIn || step.command >= c.runCommands || !step.load ||
            std::none_of(added.begin(), added.end(), [&](size_t i) { return placedAfter(i, step.command); }) ||
            std::all_of(added.begin(), added.end(), [&](size_t i) { return placedAfter(i, step.command); }))
            continue;
        // The earthwork's step told on its own, each later one too; the step's end stands for the clean run's.
        RunEnd end = step.load();
        end.alerts = c.clean.alerts;
        const RunCase own{c.before, end, c.run, c.cleanSteps};
        if (Unlinked(own)) return true;
    }
    return false;
}

// Rebuild keeps: an earthwork rebuild that fails inside its command keeps, as one undo step, the objects it rewrote
// before the failure and says so. Those are the first ones of the clean run's order of rewriting, each exactly as
// the clean run left it; every other element exactly as before under its own GUID, nothing made or deleted, the
// layers, stories, databases and links as before, the terrain's contour lines as before.
inline bool RebuildKeeps(const RunCase& c) {
    if (c.run.dump == c.before.dump || c.run.hash == c.clean.hash || !Told(c) || !ContourLinesKept(c)) return false;
    const KeyedProject before = Keyed(c.before.Project(), c.before.Project());
    const KeyedProject run = Keyed(c.run.Project(), c.before.Project());
    const KeyedProject clean = Keyed(c.clean.Project(), c.before.Project());
    if (!run.made.empty() || run.parts != before.parts || run.oldLinks != before.oldLinks ||
        run.old.size() != before.old.size())
        return false;
    // The clean run's order, of the elements it left changed.
    std::vector<std::string> order;
    for (const std::string& guid : c.clean.rewritten) {
        const auto was = before.old.find(guid), now = clean.old.find(guid);
        if (was != before.old.end() && now != clean.old.end() && was->second != now->second &&
            std::find(order.begin(), order.end(), guid) == order.end())
            order.push_back(guid);
    }
    size_t kept = 0;
    while (kept < order.size() && run.old.count(order[kept]) != 0 &&
           run.old.at(order[kept]) == clean.old.at(order[kept]))
        ++kept;
    if (kept == 0 || kept == order.size()) return false;
    const std::set<std::string> rewritten(order.begin(), order.begin() + std::ptrdiff_t(kept));
    for (const auto& [guid, text] : before.old) {
        const auto now = run.old.find(guid);
        if (now == run.old.end() || (rewritten.count(guid) == 0 && now->second != text)) return false;
    }
    return true;
}

// Updated in part: an update of several objects (the data update) that could not update some of them keeps, as one
// undo step, those it updated, each exactly as the clean run left it, leaves each of the others exactly as before,
// with its solid links, and names each of those by its ID text (or kind) in an alert the clean run does not show. Nothing is
// made or deleted, everything else as the clean run left it; the terrain's contour lines as the clean run's or as
// before.
inline std::string IdTextOf(const ordered_json& project, const std::string& guid) {
    for (const ordered_json& e : project.value("elements", ordered_json::array()))
        if (e.value("guid", "") == guid) return e.value("memo", ordered_json::object()).value("infoString", "");
    return "";
}
// Whether `alert` names objects left as they were ("Left as they were: ...") with a kind's name among them, as it
// names an object without an ID text.
inline bool NamesAKind(const std::string& alert) {
    std::string lead = ModuleErrorText(NotUpdatedText);
    lead = lead.substr(0, lead.find("{1}"));
    const size_t at = alert.find(lead);
    if (lead.empty() || at == std::string::npos) return false;
    for (int32_t kind = ElemKind_Point; kind <= ElemKind_Railway; ++kind) {
        const std::string name = ModuleErrorText(KindNameTextBase + kind);
        if (!name.empty() && alert.find(name, at + lead.size()) != std::string::npos) return true;
    }
    return false;
}
inline Signature LinkLines(const ordered_json& project, const std::set<std::string>& guids, bool touching) {
    Signature out;
    for (ordered_json x : project.value("solidLinks", ordered_json::array())) {
        const bool touches = guids.count(x.value("target", "")) != 0 || guids.count(x.value("operator", "")) != 0;
        if (touches != touching) continue;
        x.erase("time");
        x.erase("subTime");
        out.push_back(x.dump());
    }
    std::sort(out.begin(), out.end());
    return out;
}
inline bool UpdatedInPart(const RunCase& c) {
    if (c.run.hash == c.clean.hash || c.run.dump == c.before.dump || !Told(c)) return false;
    const ordered_json& runProject = c.run.Project();
    const KeyedProject before = Keyed(c.before.Project(), c.before.Project());
    const KeyedProject run = Keyed(runProject, c.before.Project());
    const KeyedProject clean = Keyed(c.clean.Project(), c.before.Project());
    if (!run.made.empty() || !clean.made.empty() || run.parts != clean.parts || run.old.size() != before.old.size() ||
        clean.old.size() != before.old.size())
        return false;
    std::set<std::string> left;
    size_t updated = 0;
    for (const auto& [guid, was] : before.old) {
        const auto now = run.old.find(guid), done = clean.old.find(guid);
        if (now == run.old.end() || done == clean.old.end()) return false;
        if (now->second == done->second) {
            updated += done->second != was ? 1 : 0;
            continue;
        }
        if (now->second != was) return false;
        left.insert(guid);
    }
    if (left.empty() || updated == 0) return false;
    const std::vector<std::string> told = NewAlerts(c.run.alerts, c.clean.alerts);
    for (const std::string& guid : left) {
        // An object without an ID text goes by its kind; none goes by its raw id.
        const std::string id = IdTextOf(c.before.Project(), guid);
        const auto names = [&told](const std::string& text) {
            return std::any_of(told.begin(), told.end(),
                               [&text](const std::string& alert) { return alert.find(text) != std::string::npos; });
        };
        if (names(guid) || (id.empty() ? std::none_of(told.begin(), told.end(), NamesAKind) : !names(id))) return false;
    }
    Signature links = LinkLines(c.clean.Project(), left, false), kept = LinkLines(c.before.Project(), left, true);
    links.insert(links.end(), kept.begin(), kept.end());
    std::sort(links.begin(), links.end());
    return links == LinkLines(runProject, {}, false) &&
        (ContourLinesKept(c) || c.run.Dumped(OnlyContourLines) == c.clean.Dumped(OnlyContourLines));
}

// Asked again: a point the host could not take from the user is told ("Error specifying point.") and asked for
// again; the user's next click gives it, and the action ends as the clean run. Every new alert is that one, each
// right after a refused input.
inline bool AskedAgain(const RunCase& c) {
    if (!EndedAsClean(c) || c.alertsAfterInput.size() != c.run.alerts.size()) return false;
    const std::vector<size_t> added = NewAlertIndexes(c.run.alerts, c.clean.alerts);
    return !added.empty() && std::all_of(added.begin(), added.end(), [&](size_t i) {
        return c.run.alerts[i].rfind(JudgedTexts().pointError, 0) == 0 && c.alertsAfterInput[i];
    });
}

// Placed on a layer it could not read: a tool checks its layer before it places an object, and goes on placing
// when the check refuses the layer ("Layer settings error"). When the host would not give the layer, the user is
// told so ("Error while finding data.") and that the layer is in error, and the object is placed as the clean run
// places it: the project ends as the clean run, and every new alert is one of those two.
inline bool PlacedOnAnUnreadLayer(const RunCase& c) {
    if (!EndedAsClean(c)) return false;
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    const auto starts = [](const std::string& alert, const std::string& text) { return alert.rfind(text, 0) == 0; };
    return std::any_of(added.begin(), added.end(),
                       [&](const std::string& a) { return starts(a, JudgedTexts().findingData); }) &&
        std::all_of(added.begin(), added.end(), [&](const std::string& a) {
               return starts(a, JudgedTexts().findingData) || starts(a, JudgedTexts().layerRefused);
           });
}

// Failed where nothing was to do: the project as the clean run leaves it, and each alert the clean run does not
// show came after a failure in a step that changed nothing in the clean run (a command of the clean run's that kept
// nothing; between commands, with nothing changed after it). The step could not do its work and says so; that the
// work was nothing this time the module cannot know.
inline bool FailedWhereNothingWasToDo(const RunCase& c) {
    if (!EndedAsClean(c) || !Told(c) || c.runCommands != c.cleanCommands || c.alertPlaces.size() != c.run.alerts.size())
        return false;
    for (size_t i : NewAlertIndexes(c.run.alerts, c.clean.alerts)) {
        const std::string& place = c.alertPlaces[i];
        if (place == "at the end") continue;
        if (place.rfind("in ", 0) != 0) return false;
        const auto change = c.cleanChanges.find(std::stoi(place.substr(3)));
        if (change == c.cleanChanges.end() || !change->second.first.empty() || !change->second.second.empty())
            return false;
    }
    return true;
}

// Warned without its text: the project as the clean run leaves it and the same alerts, where an alert whose text
// the module's resources could not give says that a read failed instead ("Error while finding data.", with the
// details the clean run's gives, or what they name), and nothing more: not that the command was not done.
inline bool WarnedWithoutItsText(const RunCase& c) {
    if (c.run.hash != c.clean.hash || c.run.alerts.size() != c.clean.alerts.size() || c.run.alerts == c.clean.alerts)
        return false;
    for (size_t i = 0; i < c.run.alerts.size(); ++i) {
        // An alert in place of one whose text could not be read is an error, whatever the other's kind.
        std::string run = WithoutKind(c.run.alerts[i]);
        std::string clean = WithoutKind(c.clean.alerts[i]);
        if (run == clean) continue;
        // Shown at the same moment of a dialog's life (as it opened, while it waited) as the clean run's.
        const std::string mark = DialogMark(run);
        if (mark != DialogMark(clean)) return false;
        run.erase(0, mark.size());
        clean.erase(0, mark.size());
        if (run.rfind(JudgedTexts().findingData, 0) != 0) return false;
        // The details after the message, as the clean run's alert has them.
        const size_t title = clean.find(" | ");
        const size_t detail = title == std::string::npos ? std::string::npos : clean.find(" | ", title + 3);
        const std::string cleanDetail = detail == std::string::npos ? "" : clean.substr(detail);
        // When the small text's own words could not be read either, it shows what it names alone, as the end of
        // the clean run's.
        const std::string runDetail = run.substr(JudgedTexts().findingData.size());
        const bool namesAlone = runDetail.size() > 3 && runDetail.rfind(" | ", 0) == 0 &&
            cleanDetail.size() > runDetail.size() &&
            cleanDetail.compare(cleanDetail.size() - (runDetail.size() - 3), std::string::npos, runDetail, 3) == 0;
        if (runDetail != cleanDetail && !namesAlone) return false;
    }
    return true;
}

// Named by its kind: an object whose ID text the host would not tell is named by its kind (and its place among
// those of its kind), as one without an ID text is. The project as the clean run leaves it, the same alerts in the
// same order, and where one differs both name the objects left as they were, the run's by a kind's name, with
// everything before the names the same.
inline bool NamedByItsKind(const RunCase& c) {
    if (c.run.hash != c.clean.hash || c.run.alerts.size() != c.clean.alerts.size() || c.run.alerts == c.clean.alerts)
        return false;
    std::string lead = ModuleErrorText(NotUpdatedText);
    lead = lead.substr(0, lead.find("{1}"));
    if (lead.empty()) return false;
    for (size_t i = 0; i < c.run.alerts.size(); ++i) {
        const std::string& run = c.run.alerts[i];
        const std::string& clean = c.clean.alerts[i];
        if (run == clean) continue;
        const size_t at = run.find(lead);
        if (at == std::string::npos || clean.compare(0, at + lead.size(), run, 0, at + lead.size()) != 0 ||
            !NamesAKind(run) || run.substr(run.rfind(" {kind ")) != clean.substr(clean.rfind(" {kind ")))
            return false;
    }
    return true;
}

// Partly observed: the pass that makes the module observe the add-on's elements of an opened project could not
// look at some of them. Those are not observed and the user is told; the project is otherwise exactly as the clean
// run leaves it.
// When the pass failed to look at elements none of which were the add-on's, nothing is lost, the project ends as the
// clean run and the user is still told: then nothing but observing may have changed after the failure.
inline std::string WithoutObservedMark(std::string line) {
    static const std::string mark = ",\"observed\":true";
    const size_t at = line.rfind(mark);
    if (at != std::string::npos) line.erase(at, mark.size());
    return line;
}
inline Signature WithoutObservedMarks(const Signature& dump) {
    Signature out;
    for (const std::string& line : dump) out.push_back(WithoutObservedMark(line));
    std::sort(out.begin(), out.end());
    return out;
}
// Nor is anything lost when the opening's later upkeep observed what the pass could not (it observes every object it
// rewrites): the project ends as the clean run, and the only new alerts are the pass's own.
inline bool OnlyObservingPassTold(const RunCase& c) {
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    return !added.empty() && std::all_of(added.begin(), added.end(), [](const std::string& a) {
        return a.rfind(JudgedTexts().observingPass, 0) == 0;
    });
}
inline bool PartlyObserved(const RunCase& c) {
    if (!Told(c)) return false;
    const Signature run = WithoutObservedMarks(c.run.dump);
    if (c.run.hash == c.clean.hash && DumpHash(Modelled(run)) != c.failedFromUnobserved && !OnlyObservingPassTold(c))
        return false;
    // Observed in the run only where the clean run observes the element too.
    Signature observed;
    for (const std::string& line : c.run.dump)
        if (line != WithoutObservedMark(line)) observed.push_back(line);
    return run == WithoutObservedMarks(c.clean.dump) && Includes(c.clean.dump, observed);
}

// One input taken back: a line of several inputs, each its own command (the clicks of a point input), where the
// command of the input that failed is taken back whole and told, and the other inputs stand as the clean run made
// them: the clean run's project without what that command changed (or, when the later inputs failed too, without
// what it and every later command changed).
// A point's automatic name counts the points made before it ("Point7"): one not made leaves its number to the
// next, so the names are compared without their numbers.
inline std::string WithoutPointNumbers(std::string line) {
    static const std::string name = "\"text\":\"Point";
    for (size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
        const size_t digits = at + name.size();
        size_t end = digits;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
        if (end > digits && end < line.size() && line[end] == '"') line.replace(digits, end - digits, "#");
    }
    return line;
}
inline bool OneInputTakenBack(const RunCase& c) {
    if (c.failedIn < 1 || c.cleanCommands < 2 || c.run.hash == c.clean.hash || !Told(c)) return false;
    const auto unnumbered = [](const Signature& lines) {
        Signature out;
        for (const std::string& line : lines)
            if (!IsSurrounding(line)) out.push_back(WithoutPointNumbers(line));
        std::sort(out.begin(), out.end());
        return out;
    };
    const Signature run = unnumbered(c.run.dump);
    const Signature clean = unnumbered(c.clean.dump);
    std::multiset<std::string> project(clean.begin(), clean.end());
    for (int k = c.failedIn; k <= c.cleanCommands; ++k) {
        const auto change = c.cleanChanges.find(k);
        if (change == c.cleanChanges.end()) return false;
        for (const std::string& added : unnumbered(change->second.first)) {
            const auto it = project.find(added);
            if (it == project.end()) return false;
            project.erase(it);
        }
        for (const std::string& removed : unnumbered(change->second.second)) project.insert(removed);
        if (Signature(project.begin(), project.end()) == run) return true;
    }
    return false;
}

// One object left out: a command that places an object for each input of a line (the trees of the tree tool's
// clicks) could not make one of them; it tells the user and goes on with the next input. Every object that command
// makes in the clean run stands alone (it names no other element, so none can name it either); the run is the clean
// run without some of them, not all, and nothing else differs.
inline bool StandsAlone(const std::string& line) {
    if (line.rfind("element ", 0) != 0) return false;
    for (size_t at = line.find("\"#"); at != std::string::npos; at = line.find("\"#", at + 1))
        if (at + 2 < line.size() && std::isdigit(static_cast<unsigned char>(line[at + 2]))) return false;
    return true;
}
inline bool OneObjectLeftOut(const RunCase& c) {
    if (c.failedIn < 1 || c.run.hash == c.clean.hash || !Told(c)) return false;
    const auto change = c.cleanChanges.find(c.failedIn);
    const Signature run = Modelled(c.run.dump), clean = Modelled(c.clean.dump);
    if (change == c.cleanChanges.end() || !Added(clean, run).empty()) return false;
    const Signature made = Modelled(change->second.first);
    const Signature missing = Added(run, clean);
    return !missing.empty() && missing.size() < made.size() && Includes(made, missing) &&
        std::all_of(made.begin(), made.end(), StandsAlone);
}

// Refused at an entry point: a host call refused while the host ran one of the module's entry points (a load, a
// restart, a release). An entry point shows nothing (the host tells its user when it declines the module), so the
// entry point's answer is what tells: one whose registration was refused (its menu, its library, a handler or a
// notification, without which the module cannot serve) answers that error, the host's own, and the host ends the
// load; every other refused call there has a fallback the module lives with (the language flags unset, the suite
// taken for absent, the marker file left where it was), and the entry point answers as in the clean run. Nothing is
// shown, no alert of the clean run lost, and the project is as before the action.
inline bool IsRegistration(const std::string& function) {
    for (const char* kind : {"Register_", "Install_", "Notify_"})
        if (function.rfind(kind, 0) == 0) return true;
    return false;
}
inline bool AnsweredAsItMust(const EntryRun& e, const std::vector<EntryRun>& clean) {
    int64_t registrations = 0;
    bool registrationRefused = false;
    for (const auto& [function, error] : e.refused)
        if (IsRegistration(function)) {
            registrationRefused = true;
            registrations |= error;
        }
    if (registrationRefused) return e.answer != 0 && e.answer == registrations;
    // As the clean run's last run of the same entry point answered; FreeData, which the host runs after a refused
    // Initialize, always answers 0.
    int64_t expected = 0;
    for (const EntryRun& c : clean)
        if (c.entry == e.entry) expected = c.answer;
    return e.answer == expected;
}
inline bool RefusedAtAnEntryPoint(const RunCase& c) {
    const bool refused =
        std::any_of(c.entries.begin(), c.entries.end(), [](const EntryRun& e) { return !e.refused.empty(); });
    // The menu's texts an entry point could not read or set stay the host's own from the menu resource.
    const auto withoutMenus = [](const Signature& dump) { return Lines(dump, "menus ", false); };
    return refused && withoutMenus(c.run.dump) == withoutMenus(c.before.dump) &&
        NewAlerts(c.run.alerts, c.clean.alerts).empty() && !LostAlerts(c) &&
        std::all_of(c.entries.begin(), c.entries.end(),
                    [&c](const EntryRun& e) { return AnsweredAsItMust(e, c.cleanEntries); });
}

// Unread selection: a selected element the host cannot read counts as not selected. With every element read
// refused, the action does exactly what it does with nothing selected, and the user is told that elements could not
// be read: an alert the run with nothing selected does not show.
inline bool UnreadSelection(const RunEnd& run, const RunEnd& unselected) {
    return run.hash == unselected.hash && Told(run.alerts, unselected.alerts);
}

// --- the verdict

struct Verdict {
    std::string outcome;  // "done", "taken back", ... ; "" for a fault
    std::string fault;    // what is wrong, "" none
};

// Values a failed host read leaves behind (an unset extreme): written anywhere, they are a fault.
inline bool HoldsUnreadValue(const std::string& line) {
    return line.find("e+308") != std::string::npos || line.find("e-308") != std::string::npos;
}

inline std::string UnreadValueWritten(const Signature& before, const Signature& after) {
    for (const std::string& line : Added(before, after))
        if (HoldsUnreadValue(line)) return "a value the host never gave was written: " + line.substr(0, 300);
    return "";
}

// --- the alerts as a whole: their order, and words that fit the failure

// The clean run's alerts the run shows too come in the clean run's order (an error before the question it follows in
// the clean run tells another story).
inline bool AlertsInCleanOrder(const RunCase& c) {
    std::multiset<std::string> left(c.clean.alerts.begin(), c.clean.alerts.end());
    size_t k = 0;
    for (const std::string& a : c.run.alerts) {
        const auto it = left.find(a);
        if (it == left.end()) continue;
        left.erase(it);
        while (k < c.clean.alerts.size() && c.clean.alerts[k] != a) ++k;
        if (k == c.clean.alerts.size()) return false;
        ++k;
    }
    return true;
}
// Host functions that only read, and those that write, by name (the selector families, which do both, are neither).
inline bool ReadsOnly(const std::string& function) {
    for (const char* part : {"_Get", "_Search", "_Filter", "Selection_Get"})
        if (function.find(part) != std::string::npos) return true;
    return false;
}
inline bool Writes(const std::string& function) {
    for (const char* part : {"_Create", "_Delete", "_Change", "_Modify", "_Store", "_Save", "_Set", "_AddSection",
                             "_UpdateSection", "_Remove", "_Edit"})
        if (function.find(part) != std::string::npos) return true;
    return false;
}
// Words that do not fit the failure: a read the host refused told as a file that could not be written, a write it
// refused as a file that could not be read. "" when the words fit (or the failure is of neither kind).
inline std::string UnfittingWords(const RunCase& c) {
    const std::string title = ModuleErrorText(ErrorTitleEntry) + " | ";
    const std::string created = title + ModuleErrorText(ErrCreatingFile),
                      read = title + ModuleErrorText(ErrReadingFile);
    for (const std::string& a : NewAlerts(c.run.alerts, c.clean.alerts)) {
        const std::string words = a.substr(DialogMark(a).size());
        if (ReadsOnly(c.failedFunction) && words.rfind(created, 0) == 0)
            return "a read the host refused (" + c.failedFunction + ") is told as a file not written: " + a;
        if (Writes(c.failedFunction) && words.rfind(read, 0) == 0)
            return "a write the host refused (" + c.failedFunction + ") is told as a file not read: " + a;
    }
    return "";
}

// --- what surrounds the model, judged part by part

// The lines of one part of what surrounds the model ("files", "selection" ...), in the dump's order.
inline Signature PartLines(const Signature& dump, const std::string& part) {
    Signature out;
    for (const std::string& line : dump)
        if (line.rfind(part, 0) == 0 && (line.size() == part.size() || line[part.size()] == ' ')) out.push_back(line);
    return out;
}
inline std::vector<std::string> UndoNames(const Signature& dump) {
    const Signature line = PartLines(dump, "undoSteps");
    std::vector<std::string> out;
    if (line.empty()) return out;
    const ordered_json steps = ordered_json::parse(line.front().substr(std::strlen("undoSteps ")), nullptr, false);
    if (steps.is_array())
        for (const ordered_json& step : steps) out.push_back(step.is_string() ? step.get<std::string>() : step.dump());
    return out;
}
// The run's undo steps: those before the action, then some of the clean run's new ones, in their order and under
// their names (an action that failed keeps fewer steps, never another or a renamed one).
inline bool UndoStepsFit(const RunCase& c) {
    const std::vector<std::string> before = UndoNames(c.before.dump), clean = UndoNames(c.clean.dump),
                                   run = UndoNames(c.run.dump);
    if (run == before || run == clean) return true;
    const auto startsWithBefore = [&before](const std::vector<std::string>& steps) {
        return steps.size() >= before.size() && std::equal(before.begin(), before.end(), steps.begin());
    };
    if (!startsWithBefore(run) || !startsWithBefore(clean)) return false;
    size_t k = before.size();
    for (size_t i = before.size(); i < run.size(); ++i) {
        while (k < clean.size() && clean[k] != run[i]) ++k;
        if (k == clean.size()) return false;
        ++k;
    }
    return true;
}
// What the run's end differs in, part by part, from both the clean run's end and the project before: every part of
// what surrounds the model (window, database, story, toolbox, selection and its order, attributes, the user folder's
// files and their bytes, the tools' defaults, the module's data, open dialogs and palettes, registered windows, menu
// texts) as one or the other leaves it, and the undo steps as UndoStepsFit; `mayDiffer` names the parts an outcome
// lets differ (", "-separated). "" when nothing differs that may not.
inline std::string SurroundingsFault(const RunCase& c, const std::string& mayDiffer) {
    const auto allowed = [&mayDiffer](const std::string& part) {
        size_t at = 0;
        while ((at = mayDiffer.find(part, at)) != std::string::npos) {
            const size_t end = at + part.size();
            if ((at == 0 || mayDiffer[at - 1] == ' ') && (end == mayDiffer.size() || mayDiffer[end] == ','))
                return true;
            at = end;
        }
        return false;
    };
    // A selection the host would not read as the action began, or not set again, is told as lost (UserView): then
    // it may be neither.
    const std::string title = ModuleErrorText(ErrorTitleEntry) + " | ";
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    const bool selectionTold = (c.failedFunction == "Selection_Get" || c.failedFunction == "Element_Select" ||
                                c.failedFunction == "Element_DeselectAll") &&
        std::any_of(added.begin(), added.end(), [&title](const std::string& a) {
                                   const std::string words = a.substr(DialogMark(a).size());
                                   return words.rfind(title + ModuleErrorText(ErrSelectedElement), 0) == 0 ||
                                       words.rfind(title + ModuleErrorText(ErrFindingData), 0) == 0;
                               });
    // Menu texts the module could not set are told so.
    const bool menusTold = std::any_of(added.begin(), added.end(), [&c, &title](const std::string& a) {
        // Without its resource module the module cannot word it: a read failed, it says.
        return a.find(ModuleErrorText(MenuTextNotSetText)) != std::string::npos ||
            (c.failedFunction == "GetOwnResModule" &&
             a.substr(DialogMark(a).size()).rfind(title + ModuleErrorText(ErrFindingData), 0) == 0);
    });
    for (const char* part : SurroundingParts()) {
        if (allowed(part) || (selectionTold && std::string(part) == "selection") ||
            (menusTold && std::string(part) == "menus"))
            continue;
        if (std::string(part) == "undoSteps") {
            if (!UndoStepsFit(c))
                return "the undo steps are neither those before the action nor some of the clean run's, in order: " +
                    Describe(c.clean.dump, PartLines(c.run.dump, part));
            continue;
        }
        const Signature run = PartLines(c.run.dump, part);
        if (run == PartLines(c.clean.dump, part) || run == PartLines(c.before.dump, part)) continue;
        return std::string("its ") + part + " differ from both the clean run's and the project's before the action:" +
            Describe(PartLines(c.clean.dump, part), run) +
            "\nagainst the project before:" + Describe(PartLines(c.before.dump, part), run);
    }
    return "";
}

// Why a run that meets no outcome is wrong, in a line and the difference after it.
inline std::string WhatIsWrong(const RunCase& c) {
    const std::vector<std::string> added = NewAlerts(c.run.alerts, c.clean.alerts);
    for (const std::string& a : added)
        if (BlamesInput(a)) return "an alert blames the user's input for the failed call: " + a;
    for (const std::string& a : added)
        if (Unworded(a)) return "an alert or question shows a text the resources could not give: " + a;
    if (c.run.hash == c.clean.hash && LostAlerts(c))
        return "the action completed, yet an alert of the clean run's was not shown: " +
            Added(c.run.alerts, c.clean.alerts).front();
    if (c.run.hash == c.clean.hash)
        return "the action completed, yet an alert the clean run does not show: " + added.front();
    if (added.empty())
        return std::string(c.run.dump == c.before.dump ? "the action did not complete" : "the action is half-made") +
            " and nothing the clean run does not show was shown" +
            (c.run.alerts.empty() ? std::string() : " (shown: " + c.run.alerts.back() + ")") +
            (c.run.dump == c.before.dump
                 ? std::string()
                 : ", against the project after the clean run:" + Describe(c.clean.dump, c.run.dump));
    return "half-made, against the project before:" + Describe(c.before.dump, c.run.dump) +
        "\nagainst the project after the action without the failure:" + Describe(c.clean.dump, c.run.dump);
}

// The outcomes a run may end in, in the order they are tried: the first one a run meets names it, and a run that meets
// none is a fault. The order is written down here because two outcomes may both hold for one run:
// - First those that claim the whole project, as the clean run leaves it or as it was before, from the one that says
//   least to the user (done: nothing) to those that say more. A run they take needs no partial account.
// - Then the partial ones, each claiming more of the project than those after it: earlier steps kept (exactly an
//   earlier step of the clean run) before contour lines as before (all but the contour lines as the clean run), before
//   the earthwork outcomes (unlinked: only the made objects' links; unlinked with a later step taken back: the
//   same against the clean run's project after the earthwork's own step; rebuild keeps: a prefix of the clean run's
//   rewrites; updated in part: any part, each left object named).
// - Then the other outcomes that end as the clean run with a named alert: they never meet a run the partial ones
//   take, save contour lines made again as they were, whose account is the more exact one.
// - Then the outcomes of one input or one object of several left out.
// - Last failed before its question, the one outcome that lets an alert of the clean run go (a question the failure
//   came before): last, so that it names only runs no other outcome names.
// A run in an outcome that does not leave the project as the clean run or as before is also searched for a value a
// failed read left behind (`unreadChecked`): in the others every value is the clean run's or the project's own.
struct Outcome {
    const char* name;
    bool (*meets)(const RunCase&);  // null: judged apart (see its reason)
    bool unreadChecked;
    const char* reason;          // why a user accepts a run that ends so
    const char* mayDiffer = "";  // the parts of what surrounds the model it lets differ (SurroundingsFault)
};
inline const std::vector<Outcome>& Outcomes() {
    static const std::vector<Outcome> table = {
        {"done", Done, false, "the failure did not matter: the project as the clean run leaves it, nothing more told"},
        {"done, a failed read told", DoneAReadTold, false,
         "the work was done; the user learns that a read was refused on the way, and not that the work was not done"},
        {"taken back", TakenBack, false, "the project as before the action, and the user told"},
        {"warned in the dialog", WarnedInDialog, false,
         "the user learns of the failure while the dialog is open and goes on from there"},
        {"earlier steps kept", EarlierStepsKept, true,
         "an action of several undo steps keeps, whole, the steps done before the one that failed and says so"},
        {"contour lines as before", ContourLinesAsBefore, true,
         "a terrain or earthwork stands when its contour lines cannot be made again; those stay as they were"},
        {"unlinked", Unlinked, true,
         "an earthwork whose links failed stays unlinked, without a rebuild after it, and the user is told"},
        {"unlinked, a later step taken back", UnlinkedLaterStepTakenBack, true,
         "an earthwork whose links failed stays unlinked and says so; a later step of the action that fails too is "
         "taken back whole and told"},
        {"rebuild keeps", RebuildKeeps, true,
         "a rebuild that fails keeps, as one undo step, the objects it rewrote before the failure, and says so"},
        {"updated in part", UpdatedInPart, true,
         "an update of several objects keeps those it updated and names each one it left as it was"},
        {"named by its kind", NamedByItsKind, false,
         "an object whose ID text could not be read is named by its kind, as one without an ID text is"},
        {"warned without its text", WarnedWithoutItsText, false,
         "an alert whose text could not be read says that a read failed instead, with the same details"},
        {"failed where nothing was to do", FailedWhereNothingWasToDo, false,
         "a step that could not do its work says so; that the work was nothing this time the module cannot know"},
        {"placed on an unread layer", PlacedOnAnUnreadLayer, false,
         "a tool places its object on a layer it could not check, as it does on a layer the check refuses, and says "
         "so"},
        {"asked again", AskedAgain, false, "a point the host could not take from the user is told and asked for again"},
        {"partly observed", PartlyObserved, true,
         "an opened project's elements the module could not look at are not observed, and the user is told"},
        {"one input taken back", OneInputTakenBack, true,
         "of a line of inputs, each its own command, the one that failed is taken back whole and told"},
        {"one object left out", OneObjectLeftOut, true,
         "a command placing a standalone object per input leaves out the one it could not make and says so"},
        {"refused at an entry point", RefusedAtAnEntryPoint, false,
         "an entry point shows nothing: it answers the host's error for a refused registration (and the host ends "
         "the load), as in the clean run for a call it has a fallback for; nothing shown, the project as before",
         "menus"},
        {"failed before its question", FailedBeforeItsQuestion, false,
         "a command failing at a step before its question ends with its error, as its clean run did after the "
         "answer; the question after the failed step is not asked"},
        {"unread selection", nullptr, false,
         "a selected element the host cannot read counts as not selected: judged in the sweep against the run with "
         "nothing selected (UnreadSelection), when a run with Element_Get failing meets no outcome here"},
    };
    return table;
}

inline const Outcome& OutcomeNamed(const std::string& name) {
    for (const Outcome& o : Outcomes())
        if (name == o.name) return o;
    static const Outcome none{"", nullptr, false, ""};
    return none;
}

inline Verdict Judge(const RunCase& c) {
    Verdict v;
    const Outcome* met = nullptr;
    for (const Outcome& o : Outcomes())
        if (o.meets != nullptr && o.meets(c)) {
            met = &o;
            break;
        }
    if (met == nullptr) {
        v.fault = WhatIsWrong(c);
        return v;
    }
    v.outcome = met->name;
    if (met->unreadChecked) v.fault = UnreadValueWritten(c.before.dump, c.run.dump);
    if (v.fault.empty()) {
        const std::string around = SurroundingsFault(c, met->mayDiffer);
        if (!around.empty()) v.fault = std::string(met->name) + ", but " + around;
    }
    if (v.fault.empty() && !AlertsInCleanOrder(c))
        v.fault = std::string(met->name) + ", but the clean run's alerts come in another order";
    if (v.fault.empty()) v.fault = UnfittingWords(c);
    if (!v.fault.empty()) v.outcome.clear();
    return v;
}

}  // namespace Sweep
