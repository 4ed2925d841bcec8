#pragma once
// The end states of a failed host call that are neither the project as before the action nor as after a clean run,
// each what the module is asked to leave behind: named, so that the sweep's table says which one a run met.
#include "APIDefs.hpp"
#include "SweepDump.hpp"

#include <set>
#include <string>

namespace Sweep {

inline bool IsContourLines(const ordered_json& e) { return e.value("libPart", "") == "VY_CONTOURLINES"; }
inline bool IsNotContourLines(const ordered_json& e) { return !IsContourLines(e); }

inline bool IsObject(const ordered_json& e) { return e.value("typeID", 0) == API_ObjectID; }

// Library-part objects without what links them: their data records and their ID flags.
inline void LeaveLinksOut(ordered_json& e) {
    e.erase("userData");
    if (e.contains("parameters")) {
        ordered_json kept = ordered_json::array();
        for (const ordered_json& p : e["parameters"])
            if (p["name"].get<std::string>().rfind("ID", 0) != 0) kept.push_back(p);
        e["parameters"] = kept;
    }
}

const DumpShape OnlyContourLines{IsContourLines, nullptr};
const DumpShape AllButContourLines{IsNotContourLines, nullptr};
const DumpShape UnlinkedAndNoContourLines{IsNotContourLines, LeaveLinksOut, IsObject};

// The three projects a run is judged by.
struct RunProjects {
    const ordered_json& before;      // before the action
    const ordered_json& after;       // after the action with the failure
    const ordered_json& cleanAfter;  // after the action without it
};

// What stays when a later step of an action fails, the action's earlier steps being complete, and which outcome it
// is; "" when the run matches none. Only runs that told the user are asked.
inline std::string KeptOutcome(const RunProjects& p) {
    // No rebuild follows a failed step: the terrain's contour lines are as they were.
    if (ProjectDump(p.after, OnlyContourLines) != ProjectDump(p.before, OnlyContourLines)) return "";
    const Signature unlinked = ProjectDump(p.after, UnlinkedAndNoContourLines);
    const Signature cleanUnlinked = ProjectDump(p.cleanAfter, UnlinkedAndNoContourLines);
    if (Lines(unlinked, "solidLinks ", false) == Lines(cleanUnlinked, "solidLinks ", false) &&
        Includes(Lines(cleanUnlinked, "solidLinks ", true), Lines(unlinked, "solidLinks ", true)) &&
        Lines(cleanUnlinked, "solidLinks ", true) != Lines(unlinked, "solidLinks ", true))
        return "an earthwork whose identities, link records or links fail stays, unlinked or partly linked, with no "
               "rebuild after it, and says so";
    // A rebuild changes the earthwork's objects in place, in one command: those it changed before the failed step
    // stay changed, the others as they were.
    const Signature before = ProjectDump(p.before, AllButContourLines);
    const Signature rebuilt = ProjectDump(p.cleanAfter, AllButContourLines);
    const Signature after = ProjectDump(p.after, AllButContourLines);
    Signature either = before;
    either.insert(either.end(), rebuilt.begin(), rebuilt.end());
    const std::set<std::string> kept(before.begin(), before.end());
    bool onlyObjects = true;
    for (const std::string& line : after)
        onlyObjects = onlyObjects && (kept.count(line) != 0 || line.rfind("element {\"type\":\"object\"", 0) == 0);
    if (before.size() == rebuilt.size() && after.size() == rebuilt.size() && Includes(either, after) && onlyObjects &&
        Lines(after, "element ", false) == Lines(before, "element ", false) && after != rebuilt)
        return "an earthwork rebuild that fails inside its command keeps, as one undo step, the objects it rewrote "
               "before the failure (the set can be out of step: some objects new, the others as they were), its "
               "terrain's contour-line objects as before, and says so";
    if (after == rebuilt)
        return "a new or changed terrain or earthwork stands with its terrain's contour lines as before when they "
               "cannot be made again, and says so";
    return "";
}

// An action the module makes of several undo steps (a command and the contour lines made again after it; the
// upkeeps of an opened project): the project as the clean run left it after one of its earlier steps.
inline const char* EarlierStepsOutcome() {
    return "an action of several undo steps keeps, whole, the steps done before the one that failed, takes that one "
           "back, and says so";
}

// A selected element the host cannot read is left out of the selection without a word: with every element read
// refused, the action does what it does with nothing selected.
inline const char* UnreadSelectionOutcome() {
    return "selected elements the host cannot read count as not selected: the action does what it does with "
           "nothing selected, saying nothing";
}

}  // namespace Sweep
