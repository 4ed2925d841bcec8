// The fault sweep's judge against projects made for each of its outcomes: each predicate takes the state it stands
// for and refuses the broken ones next to it.
#include "SweepJudge.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace sweep_judge_test {

using namespace Sweep;

std::string G(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-0000-0000-%012d", n);
    return text;
}

// A library-part object with a data record and an ID flag; `link` the GUID its record names ("" none).
ordered_json Object(int guid, const std::string& part, double size, const std::string& record = "",
                    const std::string& link = "") {
    ordered_json e = {{"guid", G(guid)}, {"type", "object"}, {"libPart", part}};
    e["parameters"] = ordered_json::array({{{"name", "A"}, {"value", size}}, {{"name", "ID_LINK"}, {"value", link}}});
    if (!record.empty()) e["userData"] = record;
    return e;
}
ordered_json Wall(int guid) { return {{"guid", G(guid)}, {"type", "wall"}, {"height", 3.0}}; }

ordered_json Project(std::vector<ordered_json> elements, std::vector<ordered_json> links = {}) {
    ordered_json p = {{"elements", elements}, {"layers", ordered_json::array({{{"index", 1}}})}};
    p["solidLinks"] = links;
    return p;
}
ordered_json Link(int target, int op) { return {{"target", G(target)}, {"operator", G(op)}, {"time", 7}}; }

const std::string Failed = "Terrain | The road could not be linked to the terrain.";
const std::string Skirt = "Terrain | To correctly manage the skirt of the terrain it must be visible.";

struct Judged {
    RunEnd before, clean, run;
    RunCase Case() const { return {before, clean, run, {}}; }
};

Judged Runs(const ordered_json& before, const ordered_json& clean, const ordered_json& run,
            std::vector<std::string> cleanAlerts, std::vector<std::string> runAlerts,
            std::vector<std::string> rewritten = {}) {
    return {RunEnd::Of(before), RunEnd::Of(clean, cleanAlerts, rewritten), RunEnd::Of(run, runAlerts)};
}

TEST(SweepJudge, TheJudgedTextsAreTheModulesOwn) {
    EXPECT_EQ(JudgedTexts().findingData, "Error | Error while finding data.");
    EXPECT_EQ(JudgedTexts().pointError, "Error | Error specifying point.");
}

// A run that ends as the clean run is done only with every alert of the clean run's shown and nothing added; with a
// failed read told it is its own outcome, and any other new alert (one that says the action failed) is a fault,
// never "earlier steps kept".
TEST(SweepJudge, EndingAsTheCleanRunAfterAnAlertSaysNoMoreThanHappened) {
    const ordered_json before = Project({Wall(1)});
    const ordered_json made = Project({Wall(1), Wall(2)});
    const ordered_json after = Project({Wall(1), Wall(2), Wall(3)});
    const std::string read = JudgedTexts().findingData;
    const std::string notDone = "Error | Error while modifying database.";
    for (const auto& [cleanAlerts, runAlerts, outcome] :
         std::vector<std::tuple<std::vector<std::string>, std::vector<std::string>, std::string>>{
             {{Skirt}, {Skirt}, "done"},
             {{Skirt}, {}, ""},  // the clean run's warning lost
             {{Skirt}, {Skirt, read}, "done, a failed read told"},
             {{Skirt}, {read}, "warned without its text"},
             {{}, {read, read}, "done, a failed read told"},
             {{}, {notDone}, ""},
             {{}, {read, notDone}, ""},
             {{}, {"Terrain | _ERR_NO_"}, ""},  // a question without its words tells nothing
         }) {
        Judged j = Runs(before, after, after, cleanAlerts, runAlerts);
        RunCase c = j.Case();
        c.cleanSteps = {DumpHash(ProjectDump(made)), DumpHash(ProjectDump(after))};
        EXPECT_EQ(Judge(c).outcome, outcome) << ::testing::PrintToString(runAlerts);
    }
    // Ending after an earlier step of the clean run, told, is earlier steps kept; an alert without its words is not
    // telling.
    Judged j = Runs(before, after, made, {}, {notDone});
    RunCase c = j.Case();
    c.cleanSteps = {DumpHash(ProjectDump(made))};
    EXPECT_EQ(Judge(c).outcome, "earlier steps kept");
    Judged unworded = Runs(before, after, before, {}, {"Error | _ERR_NO_"});
    EXPECT_EQ(Judge(unworded.Case()).outcome, "");

    // Contour lines that could not be made again, which the clean run made again just as they were: told that the
    // object could not be made, and nothing else.
    const ordered_json lines = Object(9, "VY_CONTOURLINES", 1);
    const ordered_json withLines = Project({Wall(1), lines}), updated = Project({Wall(1), Wall(2), lines});
    const std::string notMade = JudgedTexts().objectNotMade + " | ";
    EXPECT_EQ(Judge(Runs(withLines, updated, updated, {}, {notMade}).Case()).outcome, "contour lines as before");
    EXPECT_EQ(Judge(Runs(withLines, updated, updated, {}, {notDone}).Case()).outcome, "");
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {notMade}).Case()).outcome, "") << "no contour lines";
}

TEST(SweepJudge, ToldNeedsANewAlertThatDoesNotBlameTheInput) {
    EXPECT_TRUE(Told({Skirt, Failed}, {Skirt}));
    EXPECT_FALSE(Told({Skirt}, {Skirt})) << "the clean run's own alert tells nothing";
    EXPECT_FALSE(Told({}, {}));
    EXPECT_FALSE(Told({"Terrain | The resulting outline has less than three nodes"}, {}));
    EXPECT_FALSE(Told({Failed, "Name | Name already used or empty!"}, {}));
    EXPECT_TRUE(Told({Skirt, Skirt}, {Skirt})) << "shown twice where the clean run shows it once";
}

TEST(SweepJudge, DoneIsTheCleanEndWithoutNewAlerts) {
    const ordered_json before = Project({Wall(1)}), after = Project({Wall(1), Object(2, "ROAD", 1, "r")});
    EXPECT_TRUE(Done(Runs(before, after, after, {Skirt}, {Skirt}).Case()));
    EXPECT_FALSE(Done(Runs(before, after, after, {Skirt}, {Skirt, Failed}).Case()));
    const Verdict v = Judge(Runs(before, after, after, {}, {Failed}).Case());
    EXPECT_EQ(v.outcome, "");
    EXPECT_NE(v.fault.find("completed"), std::string::npos) << v.fault;
}

TEST(SweepJudge, TakenBackIsTheProjectBeforeWithTheUserTold) {
    const ordered_json before = Project({Wall(1)}), after = Project({Wall(1), Object(2, "ROAD", 1, "r")});
    EXPECT_EQ(Judge(Runs(before, after, before, {}, {Failed}).Case()).outcome, "taken back");
    EXPECT_NE(Judge(Runs(before, after, before, {Skirt}, {Skirt}).Case()).fault, "");
    const Verdict blamed = Judge(
        Runs(before, after, before, {}, {"Error | Command is applied when you have a terrain and a selected polyline!"})
            .Case());
    EXPECT_NE(blamed.fault.find("blames"), std::string::npos) << blamed.fault;
}

TEST(SweepJudge, UnlinkedLetsOnlyTheMadeObjectsLoseLinks) {
    const ordered_json before = Project({Object(1, "PLATEAU", 2, "plateau record", G(1))});
    const ordered_json clean = Project(
        {Object(1, "PLATEAU", 2, "plateau record", G(1)), Object(5, "ROAD", 1, "road record", G(1))}, {Link(1, 5)});
    // The new road made, without its record, ID flag and link: partly linked.
    const ordered_json partly = Project({Object(1, "PLATEAU", 2, "plateau record", G(1)), Object(9, "ROAD", 1)});
    EXPECT_TRUE(Unlinked(Runs(before, clean, partly, {}, {Failed}).Case()));
    EXPECT_FALSE(Unlinked(Runs(before, clean, partly, {}, {}).Case())) << "not told";
    // Beside it the plateau's records wiped.
    const ordered_json wiped = Project({Object(1, "PLATEAU", 2), Object(9, "ROAD", 1)});
    EXPECT_FALSE(Unlinked(Runs(before, clean, wiped, {}, {Failed}).Case()));
    // The plateau made again under another GUID.
    const ordered_json renewed = Project({Object(3, "PLATEAU", 2, "plateau record", G(3)), Object(9, "ROAD", 1)});
    EXPECT_FALSE(Unlinked(Runs(before, clean, renewed, {}, {Failed}).Case()));
    // The road made otherwise than the clean run made it.
    const ordered_json other = Project({Object(1, "PLATEAU", 2, "plateau record", G(1)), Object(9, "ROAD", 4)});
    EXPECT_FALSE(Unlinked(Runs(before, clean, other, {}, {Failed}).Case()));
    // A link the clean run does not make.
    const ordered_json linked =
        Project({Object(1, "PLATEAU", 2, "plateau record", G(1)), Object(9, "ROAD", 1)}, {Link(9, 1)});
    EXPECT_FALSE(Unlinked(Runs(before, clean, linked, {}, {Failed}).Case()));
}

// An earthwork placed unlinked in its own command, the action's later command (the model update) refused and taken
// back whole: judged against the clean run's project after the earthwork's step, each step told on its own.
TEST(SweepJudge, UnlinkedWithALaterStepTakenBackIsTheEarthworksStepUnlinkedAndEachStepTold) {
    const auto raised = [](int guid) { return ordered_json{{"guid", G(guid)}, {"type", "wall"}, {"height", 4.0}}; };
    const ordered_json before = Project({Wall(1), Wall(2)});
    const ordered_json placed =
        Project({Wall(1), Wall(2), Object(5, "PLATEAU", 2, "plateau record", G(5))}, {Link(1, 5)});
    const ordered_json updated =
        Project({raised(1), raised(2), Object(5, "PLATEAU", 2, "plateau record", G(5))}, {Link(1, 5)});
    const std::string notDone = "Error | Error while modifying database.";
    const auto judged = [&](const ordered_json& run, std::vector<std::string> alerts, std::vector<std::string> places,
                            int runCommands = 2) {
        Judged j = Runs(before, updated, run, {}, std::move(alerts));
        RunCase c = j.Case();
        c.failedIn = 1;
        c.cleanCommands = 2;
        c.runCommands = runCommands;
        c.alertPlaces = std::move(places);
        c.cleanStepEnds = {{1, [&placed] { return RunEnd::Of(placed); }}};
        return Judge(c).outcome;
    };
    const ordered_json unlinked = Project({Wall(1), Wall(2), Object(9, "PLATEAU", 2)});
    const std::string outcome = "unlinked, a later step taken back";
    EXPECT_EQ(judged(unlinked, {Failed, notDone}, {"in 1", "in 2"}), outcome);
    EXPECT_EQ(judged(unlinked, {Failed, notDone}, {"in 1", "in 1"}), "") << "the later step untold";
    EXPECT_EQ(judged(unlinked, {Failed}, {"in 1"}), "") << "the later step untold";
    EXPECT_EQ(judged(unlinked, {notDone}, {"in 2"}), "") << "the earthwork's step untold";
    EXPECT_EQ(judged(unlinked, {Failed, notDone}, {"in 1", "in 2"}, 1), "") << "no later step began";
    EXPECT_EQ(judged(Project({raised(1), Wall(2), Object(9, "PLATEAU", 2)}), {Failed, notDone}, {"in 1", "in 2"}), "")
        << "the later step half done";
    EXPECT_EQ(judged(Project({Wall(1), raised(2), Object(9, "PLATEAU", 2)}), {Failed, notDone}, {"in 1", "in 2"}), "")
        << "the later step half done";
    EXPECT_EQ(judged(Project({Wall(1), Object(9, "PLATEAU", 2)}), {Failed, notDone}, {"in 1", "in 2"}), "")
        << "another element lost";
    EXPECT_EQ(judged(Project({Wall(1), Wall(2), Object(9, "PLATEAU", 3)}), {Failed, notDone}, {"in 1", "in 2"}), "")
        << "the earthwork made otherwise";
    EXPECT_EQ(
        judged(Project({Wall(1), Wall(2), Object(9, "PLATEAU", 2)}, {Link(1, 2)}), {Failed, notDone}, {"in 1", "in 2"}),
        "")
        << "a link the clean run does not make";
    // Both steps done, the earthwork unlinked: the plain outcome, against the clean run's end.
    EXPECT_EQ(judged(Project({raised(1), raised(2), Object(9, "PLATEAU", 2)}), {Failed}, {"in 1"}), "unlinked");
}

TEST(SweepJudge, RebuildKeepsAPrefixOfItsOrder) {
    const ordered_json before = Project({Object(1, "CUT", 1), Object(2, "CUT", 1), Object(3, "CUT", 1), Wall(4)});
    const ordered_json clean = Project({Object(1, "CUT", 2), Object(2, "CUT", 2), Object(3, "CUT", 2), Wall(4)});
    const std::vector<std::string> order = {G(2), G(1), G(3)};
    const auto keeps = [&](const ordered_json& run) {
        return RebuildKeeps(Runs(before, clean, run, {}, {Failed}, order).Case());
    };
    EXPECT_TRUE(keeps(Project({Object(1, "CUT", 1), Object(2, "CUT", 2), Object(3, "CUT", 1), Wall(4)})));
    EXPECT_TRUE(keeps(Project({Object(1, "CUT", 2), Object(2, "CUT", 2), Object(3, "CUT", 1), Wall(4)})));
    EXPECT_FALSE(keeps(Project({Object(1, "CUT", 2), Object(2, "CUT", 1), Object(3, "CUT", 1), Wall(4)})))
        << "not the first of the order";
    EXPECT_FALSE(keeps(Project({Object(1, "CUT", 1), Object(2, "CUT", 2), Object(3, "CUT", 1)})))
        << "an unrelated element deleted";
    EXPECT_FALSE(keeps(Project({Object(1, "CUT", 1), Object(2, "CUT", 2), Object(3, "CUT", 1), Wall(4), Wall(5)})))
        << "an element made";
    EXPECT_FALSE(keeps(Project({Object(1, "CUT", 1), Object(2, "CUT", 3), Object(3, "CUT", 1), Wall(4)})))
        << "rewritten otherwise than the clean run";
    EXPECT_FALSE(keeps(Project({Object(1, "CUT", 1), Object(7, "CUT", 2), Object(3, "CUT", 1), Wall(4)})))
        << "a GUID lost";
}

TEST(SweepJudge, UpdatedInPartKeepsTheUpdatedObjectsAndNamesEachOfTheOthers) {
    const auto named = [](int guid, const std::string& id, double size) {
        ordered_json e = Object(guid, "BRIDGE", size, "bridge record");
        e["memo"] = {{"infoString", id}};
        return e;
    };
    const std::vector<ordered_json> links = {Link(1, 3), Link(2, 3)};
    const ordered_json before = Project({named(1, "North", 1), named(2, "East", 1), Wall(3)}, links);
    const ordered_json clean = Project({named(1, "North", 2), named(2, "East", 2), Wall(3)}, links);
    const ordered_json run = Project({named(1, "North", 2), named(2, "East", 1), Wall(3)}, links);
    const std::string east = "Error | Error while modifying one or more objects. | East";
    EXPECT_EQ(Judge(Runs(before, clean, run, {}, {east}).Case()).outcome, "updated in part");

    const std::string north = "Error | Error while modifying one or more objects. | North";
    EXPECT_EQ(Judge(Runs(before, clean, run, {}, {north}).Case()).outcome, "") << "the object left is not named";
    const ordered_json half = Project({named(1, "North", 2), named(2, "East", 3), Wall(3)}, links);
    EXPECT_EQ(Judge(Runs(before, clean, half, {}, {east}).Case()).outcome, "") << "neither updated nor as before";
    ordered_json wallToo = run;
    wallToo["elements"][2]["height"] = 4.0;
    EXPECT_EQ(Judge(Runs(before, clean, wallToo, {}, {east}).Case()).outcome, "") << "an element not updated changed";
    const ordered_json unlinked = Project({named(1, "North", 2), named(2, "East", 1), Wall(3)}, {Link(1, 3)});
    EXPECT_EQ(Judge(Runs(before, clean, unlinked, {}, {east}).Case()).outcome, "") << "the one left lost its link";

    // Without an ID text the one left goes by its kind, never by its raw id.
    const ordered_json unnamedBefore = Project({named(1, "North", 1), named(2, "", 1), Wall(3)}, links);
    const ordered_json unnamedClean = Project({named(1, "North", 2), named(2, "", 2), Wall(3)}, links);
    const ordered_json unnamedRun = Project({named(1, "North", 2), named(2, "", 1), Wall(3)}, links);
    const auto judged = [&](const std::string& alert) {
        return Judge(Runs(unnamedBefore, unnamedClean, unnamedRun, {}, {alert}).Case()).outcome;
    };
    const std::string update = "Error | Error while modifying one or more objects. | Left as they were: ";
    EXPECT_EQ(judged(update + "Bridge"), "updated in part");
    EXPECT_EQ(judged(update + G(2)), "") << "named by its raw id";
    EXPECT_EQ(judged(update + "Bridge (" + G(2) + ")"), "") << "its raw id beside its kind";
    EXPECT_EQ(judged("Error | Error while modifying one or more objects."), "") << "not named at all";

    // The clean run's alert names an object by its ID text; one the host would not tell it names by its kind.
    const ordered_json start = Project({Wall(1)}), after = Project({Wall(1), Wall(2)});
    const auto byKind = [&](const std::string& clean, const std::string& run, const ordered_json& end) {
        return Judge(Runs(start, after, end, {clean + " {kind -1}"}, {run + " {kind -1}"}).Case()).outcome;
    };
    EXPECT_EQ(byKind(update + "East bridge", update + "Bridge (1 of 2)", after), "named by its kind");
    EXPECT_EQ(byKind(update + "East bridge", update + "West bridge", after), "") << "another object named";
    EXPECT_EQ(
        byKind(update + "East bridge", "Error | Error while modifying the object. | Left as they were: Bridge", after),
        "")
        << "another message";
    EXPECT_FALSE(NamedByItsKind(Runs(start, after, start, {update + "East bridge"}, {update + "Bridge"}).Case()))
        << "not the clean run's project";
}

TEST(SweepJudge, AnErrorForWorkDoneIsAFaultUnlessItsStepHadNothingToDoOrItOnlyLostItsText) {
    const ordered_json before = Project({Wall(1)}), after = Project({Wall(1), Object(2, "ROAD", 1, "r")});
    const std::string update = "Error | Error while modifying one or more objects.";
    Judged j = Runs(before, after, after, {}, {update});
    RunCase c = j.Case();
    c.cleanCommands = c.runCommands = 2;
    c.cleanChanges = {{1, {{"element made"}, {}}}, {2, {}}};
    for (const auto& [place, outcome] : std::vector<std::pair<std::string, std::string>>{
             {"in 2", "failed where nothing was to do"},
             {"at the end", "failed where nothing was to do"},
             {"in 1", ""},  // the road was made, yet the user reads that it failed
             {"between", ""},
             {"", ""}}) {
        c.alertPlaces = {place};
        EXPECT_EQ(Judge(c).outcome, outcome) << place;
    }
    c.alertPlaces = {"in 2"};
    c.runCommands = 3;
    EXPECT_EQ(Judge(c).outcome, "") << "the run went another way than the clean run";

    const std::string edit = "Error | Editing of the retaining walls does not give the required result!";
    const std::string unread = JudgedTexts().findingData;
    EXPECT_EQ(Judge(Runs(before, after, after, {edit}, {unread}).Case()).outcome, "warned without its text");
    EXPECT_EQ(
        Judge(Runs(before, after, after, {update + " | East bridge"}, {unread + " | East bridge"}).Case()).outcome,
        "warned without its text");
    EXPECT_EQ(Judge(Runs(before, after, after, {update + " | East bridge"}, {unread}).Case()).outcome, "")
        << "the object the clean run names is not named";
    const std::string left = update + " | Left as they were: East bridge";
    EXPECT_EQ(Judge(Runs(before, after, after, {left}, {unread + " | East bridge"}).Case()).outcome,
              "warned without its text")
        << "the small text's own words unread too: what it names, alone";
    EXPECT_EQ(Judge(Runs(before, after, after, {left}, {unread + " | West bridge"}).Case()).outcome, "")
        << "another object named";
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {unread}).Case()).outcome, "done, a failed read told")
        << "an alert the clean run lacks, saying only that a read failed";
    EXPECT_FALSE(WarnedWithoutItsText(Runs(before, after, before, {edit}, {unread}).Case())) << "the work not done";
    // Shown while a dialog waited, as the clean run's: the same mark on both; another mark is another moment.
    const std::string waited = AnsweredAgainMark + "32730] ";
    EXPECT_EQ(
        Judge(Runs(before, after, after, {waited + " | Error: unknown document! | "}, {waited + unread + " | "}).Case())
            .outcome,
        "warned without its text");
    EXPECT_EQ(
        Judge(Runs(before, after, after, {waited + " | Error: unknown document! | "}, {unread + " | "}).Case()).outcome,
        "");

    // A tool's layer the host would not give: told, and placed as the clean run places it.
    const std::string layerUnread = JudgedTexts().findingData + " | ";
    const std::string layerRefused = JudgedTexts().layerRefused + " | ";
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {layerUnread, layerRefused}).Case()).outcome,
              "placed on an unread layer");
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {layerRefused}).Case()).outcome, "")
        << "the layer refused with no read failed";
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {layerUnread, update}).Case()).outcome, "")
        << "another error for work done";
    EXPECT_FALSE(PlacedOnAnUnreadLayer(Runs(before, after, before, {}, {layerUnread, layerRefused}).Case()))
        << "nothing placed";

    // A point the host could not take: told, asked again, and the next click gives it.
    const std::string point = JudgedTexts().pointError + " | ";
    const auto asked = [&](const ordered_json& run, std::vector<std::string> alerts, std::vector<bool> afterInput) {
        Judged j = Runs(before, after, run, {Skirt}, alerts);
        RunCase c = j.Case();
        c.alertsAfterInput = afterInput;
        return Judge(c).outcome;
    };
    EXPECT_EQ(asked(after, {point, Skirt}, {true, true}), "asked again");
    EXPECT_EQ(asked(after, {point, Skirt}, {false, false}), "") << "no input was refused: the error misleads";
    EXPECT_EQ(asked(after, {point, update, Skirt}, {true, true, true}), "") << "another error for work done";
    EXPECT_NE(asked(before, {point, Skirt}, {true, true}), "asked again") << "the point was not given";
}

TEST(SweepJudge, ContourLinesAsBeforeAndEarlierStepsAreExact) {
    const ordered_json lines1 = Object(8, "VY_CONTOURLINES", 1), lines2 = Object(9, "VY_CONTOURLINES", 2);
    const ordered_json before = Project({Wall(1), lines1});
    const ordered_json clean = Project({Wall(1), Object(2, "ROAD", 1), lines2});
    EXPECT_TRUE(ContourLinesAsBefore(
        Runs(before, clean, Project({Wall(1), Object(2, "ROAD", 1), lines1}), {}, {Failed}).Case()));
    EXPECT_FALSE(
        ContourLinesAsBefore(Runs(before, clean, Project({Wall(1), Object(2, "ROAD", 1)}), {}, {Failed}).Case()))
        << "the contour lines gone";
    EXPECT_FALSE(ContourLinesAsBefore(
        Runs(before, clean, Project({Wall(1), Object(2, "ROAD", 3), lines1}), {}, {Failed}).Case()));

    const ordered_json step = Project({Wall(1), Object(2, "ROAD", 1), lines1});
    Judged j = Runs(before, clean, step, {}, {Failed});
    RunCase c = j.Case();
    c.cleanSteps = {RunEnd::Of(step).hash};
    EXPECT_TRUE(EarlierStepsKept(c));
    c.cleanSteps = {};
    EXPECT_FALSE(EarlierStepsKept(c));

    // A later step that had nothing to change in the clean run: the run ends as the clean run, which is no step
    // kept but the whole action done, and an alert that says it failed says more than happened.
    const Judged same = Runs(before, clean, clean, {}, {Failed});
    RunCase later = same.Case();
    later.failedFrom = RunEnd::Of(clean).hash;
    EXPECT_FALSE(EarlierStepsKept(later));
    EXPECT_EQ(Judge(later).outcome, "");
    later.failedFrom = RunEnd::Of(before).hash;
    EXPECT_FALSE(EarlierStepsKept(later)) << "the failure came before the work, which went on";
    later.failedFrom = "";
    EXPECT_FALSE(EarlierStepsKept(later));
}

TEST(SweepJudge, WarnedInTheDialogIsTheCleanEndWithEveryNewAlertBeforeTheDialogsNextAnswer) {
    const ordered_json before = Project({Wall(1)}), after = Project({Wall(1), Object(2, "ROAD", 1, "r")});
    const std::string opening = OpeningMark + "32566] Error | Error while managing the dialog";
    const std::string refused = AnsweredAgainMark + "32566] Error | Error while finding data.";
    EXPECT_EQ(Judge(Runs(before, after, after, {}, {opening}).Case()).outcome, "warned in the dialog");
    EXPECT_TRUE(WarnedInDialog(Runs(before, after, after, {}, {refused, opening}).Case()));
    EXPECT_FALSE(WarnedInDialog(Runs(before, after, after, {}, {opening, Failed}).Case()))
        << "an alert with the dialog's last answer";
    EXPECT_FALSE(WarnedInDialog(Runs(before, after, before, {}, {opening}).Case())) << "the work not done";
}

TEST(SweepJudge, PartlyObservedLosesOnlyObservedMarks) {
    ordered_json terrain = Object(1, "TERRAIN", 1, "t"), road = Object(2, "ROAD", 1, "r");
    const ordered_json before = Project({terrain, road});
    terrain["observed"] = true;
    road["observed"] = true;
    const ordered_json clean = Project({terrain, road});
    ordered_json unobserved = road;
    unobserved.erase("observed");
    EXPECT_EQ(Judge(Runs(before, clean, Project({terrain, unobserved}), {}, {Failed}).Case()).outcome,
              "partly observed");
    EXPECT_FALSE(PartlyObserved(Runs(before, clean, Project({terrain, unobserved}), {}, {}).Case())) << "untold";
    ordered_json changed = unobserved;
    changed["parameters"][0]["value"] = 5;
    EXPECT_FALSE(PartlyObserved(Runs(before, clean, Project({terrain, changed}), {}, {Failed}).Case()));
    const ordered_json lessObserved = Project({Object(1, "TERRAIN", 1, "t"), road});
    EXPECT_FALSE(PartlyObserved(Runs(before, lessObserved, Project({terrain, road}), {}, {Failed}).Case()))
        << "observed where the clean run does not observe";
    // Nothing of the add-on's was missed: the clean end, told, and only observing done after the failure.
    Judged nothingMissed = Runs(before, clean, clean, {}, {Failed});
    RunCase c = nothingMissed.Case();
    EXPECT_FALSE(PartlyObserved(c)) << "where the failure came unknown";
    c.failedFromUnobserved = DumpHash(WithoutObservedMarks(RunEnd::Of(before).dump));
    EXPECT_TRUE(PartlyObserved(c));
    c.failedFromUnobserved = DumpHash(WithoutObservedMarks(RunEnd::Of(Project({Wall(1)})).dump));
    EXPECT_FALSE(PartlyObserved(c)) << "the project changed after the failure";
    // ... unless the only new alert is the observing pass's own: the upkeep after it observed what it rewrote.
    const std::string pass = "Error | Error while finding information on the objects. | ";
    const auto madeUp = [&](std::vector<std::string> alerts) {
        Judged j = Runs(before, clean, clean, {}, alerts);
        RunCase k = j.Case();
        k.failedFromUnobserved = DumpHash(WithoutObservedMarks(RunEnd::Of(Project({Wall(1)})).dump));
        return PartlyObserved(k);
    };
    EXPECT_TRUE(madeUp({pass}));
    EXPECT_FALSE(madeUp({pass, Failed})) << "another error for work done";
}

TEST(SweepJudge, OneInputTakenBackIsTheCleanEndWithoutWhatThatInputsCommandChanged) {
    // Three clicks, each its own command placing one point.
    const auto point = [](int guid, double x) {
        return ordered_json{{"guid", G(guid)}, {"type", "hotspot"}, {"pos", x}};
    };
    const ordered_json before = Project({Wall(1)});
    const ordered_json clean = Project({Wall(1), point(2, 0), point(3, 10), point(4, 20)});
    const auto line = [&](const ordered_json& e) { return RunEnd::Of(Project({e})).dump[0]; };
    const auto check = [&](const ordered_json& run, int failedIn) {
        Judged j = Runs(before, clean, run, {}, {Failed});
        RunCase c = j.Case();
        c.failedIn = failedIn;
        c.cleanCommands = 3;
        for (int k = 1; k <= 3; ++k) c.cleanChanges[k] = {{line(point(k + 1, 10.0 * (k - 1)))}, {}};
        return OneInputTakenBack(c);
    };
    EXPECT_TRUE(check(Project({Wall(1), point(2, 0), point(4, 20)}), 2));
    EXPECT_TRUE(check(Project({Wall(1), point(2, 0)}), 2)) << "the later clicks failed too";
    EXPECT_FALSE(check(Project({Wall(1), point(2, 0), point(4, 20)}), 1)) << "not the input that failed";
    EXPECT_FALSE(check(Project({Wall(1), point(2, 0), point(4, 25)}), 2)) << "another input made otherwise";
    EXPECT_FALSE(check(Project({point(2, 0), point(4, 20)}), 2)) << "an element of the user's lost";
}

TEST(SweepJudge, OneObjectLeftOutKeepsTheOtherStandaloneObjectsOfItsCommand) {
    const ordered_json before = Project({Wall(1)});
    // `made` placed in one command; the run ends with `run`.
    const auto check = [&](const std::vector<ordered_json>& made, const std::vector<ordered_json>& run,
                           std::vector<std::string> alerts = {Failed}) {
        std::vector<ordered_json> clean = {Wall(1)}, ended = {Wall(1)};
        clean.insert(clean.end(), made.begin(), made.end());
        ended.insert(ended.end(), run.begin(), run.end());
        Judged j = Runs(before, Project(clean), Project(ended), {}, alerts);
        RunCase c = j.Case();
        c.failedIn = 1;
        c.cleanCommands = 1;
        c.cleanChanges[1] = {Lines(RunEnd::Of(Project(made)).dump, "element ", true), {}};
        return OneObjectLeftOut(c);
    };
    const std::vector<ordered_json> trees = {Object(2, "TREE", 1), Object(3, "TREE", 2), Object(4, "TREE", 3)};
    EXPECT_TRUE(check(trees, {trees[0], trees[2]}));
    EXPECT_TRUE(check(trees, {trees[0]})) << "two of three left out";
    EXPECT_FALSE(check(trees, {trees[0], trees[2]}, {})) << "not told";
    EXPECT_FALSE(check(trees, {})) << "none made: taken back, not this";
    EXPECT_FALSE(check(trees, {trees[0], trees[2], Wall(7)})) << "an element the clean run does not make";
    EXPECT_FALSE(check(trees, {trees[0], Object(4, "TREE", 4)})) << "another tree made otherwise";
    // A road's two objects, one naming the other: neither stands alone.
    const std::vector<ordered_json> road = {Object(5, "ROAD", 1, "", G(6)), Object(6, "ROAD", 2)};
    EXPECT_FALSE(check(road, {road[0]})) << "the road half-made";
    EXPECT_FALSE(check(road, {road[1]}));
}

TEST(SweepJudge, UnreadSelectionIsTheUnselectedRunTold) {
    const RunEnd unselected = RunEnd::Of(Project({Wall(1)}), {Skirt});
    EXPECT_TRUE(UnreadSelection(RunEnd::Of(Project({Wall(1)}), {Skirt, Failed}), unselected));
    EXPECT_FALSE(UnreadSelection(RunEnd::Of(Project({Wall(1)}), {Skirt}), unselected)) << "dropped silently";
    EXPECT_FALSE(UnreadSelection(RunEnd::Of(Project({Wall(2), Wall(1)}), {Skirt, Failed}), unselected));
}

// The outcomes are one table: each named once, with its reason; a value a failed read left behind is a fault in an
// outcome that keeps part of the run's own project, never in one that ends as the clean run (the value is its own).
TEST(SweepJudge, TheOutcomesAreOneTableAndOnlyPartialOnesAreSearchedForUnreadValues) {
    std::set<std::string> names;
    for (const Outcome& o : Outcomes()) {
        EXPECT_TRUE(names.insert(o.name).second) << o.name;
        EXPECT_GT(std::string(o.reason).size(), 20u) << o.name;
    }
    EXPECT_EQ(std::string(OutcomeNamed("unread selection").name), "unread selection");
    const ordered_json before = Project({Wall(1)});
    const ordered_json unread = Project({Wall(1), Object(2, "ROAD", 1e308, "r")});
    const ordered_json after = Project({Wall(1), Object(2, "ROAD", 1e308, "r"), Wall(3)});
    EXPECT_EQ(Judge(Runs(before, unread, unread, {}, {}).Case()).outcome, "done");
    Judged j = Runs(before, after, unread, {}, {Failed});
    RunCase c = j.Case();
    c.cleanSteps = {DumpHash(Modelled(ProjectDump(unread)))};
    ASSERT_TRUE(OutcomeNamed("earlier steps kept").meets(c));
    const Verdict v = Judge(c);
    EXPECT_EQ(v.outcome, "");
    EXPECT_NE(v.fault.find("never gave"), std::string::npos) << v.fault;
}

// A command that fails before its question ends as its clean run did after the answer, with its error: only the
// question is missing. Any other lost alert, a changed project or no error is a fault.
TEST(SweepJudge, FailedBeforeItsQuestionLosesOnlyTheQuestion) {
    const ordered_json before = Project({Wall(1)});
    const std::string question = "The number of spot heights to be calculated amount to 49. Do you want to continue? "
                                 "|  |  {kind -2}";
    const std::string error = "Error | Error while modifying/creating the object. |  {kind -1}";
    EXPECT_EQ(Judge(Runs(before, before, before, {question, error}, {error}).Case()).outcome,
              "failed before its question");
    EXPECT_EQ(Judge(Runs(before, before, before, {question, error}, {}).Case()).outcome, "") << "nothing told";
    EXPECT_EQ(Judge(Runs(before, before, before, {Skirt, error}, {error}).Case()).outcome, "") << "a warning lost";
    const ordered_json made = Project({Wall(1), Wall(2)});
    EXPECT_EQ(Judge(Runs(before, made, before, {question}, {error}).Case()).outcome, "taken back");
    EXPECT_EQ(Judge(Runs(before, made, made, {question}, {error}).Case()).outcome, "") << "done without asking";
}

// A host call refused while an entry point ran: the entry point answers the host's error when a registration was
// refused (as the clean run otherwise), shows nothing and leaves the project as before. An entry point answering
// success after a refused registration, an error of its own, an alert, or a changed project is not accepted.
TEST(SweepJudge, RefusedAtAnEntryPointAnswersTheHostsErrorAndShowsNothing) {
    const ordered_json before = Project({Wall(1)});
    const ordered_json loaded = Project({Wall(1), Wall(2)});  // the clean start-up wrote something of its own
    const int64_t hostError = -1, ownError = 0x8106000A;
    const std::vector<EntryRun> clean = {
        {"CheckEnvironment", 2, {}}, {"RegisterInterface", 0, {}}, {"Initialize", 0, {}}};
    // The verdict, or, for `alone`, whether this outcome alone accepts the run.
    const auto judged = [&](const ordered_json& run, std::vector<std::string> alerts, std::vector<EntryRun> entries,
                            bool alone = false) {
        Judged j = Runs(before, loaded, run, {}, std::move(alerts));
        RunCase c = j.Case();
        c.entries = std::move(entries);
        c.cleanEntries = clean;
        return alone ? std::string(RefusedAtAnEntryPoint(c) ? "refused at an entry point" : "") : Judge(c).outcome;
    };
    const EntryRun check{"CheckEnvironment", 2, {}}, registered{"RegisterInterface", 0, {}};
    const EntryRun handlerRefused{"Initialize", hostError, {{"Install_MenuHandler", hostError}}};
    const EntryRun freed{"FreeData", 0, {}};
    const std::string refused = "refused at an entry point";
    EXPECT_EQ(judged(before, {}, {check, registered, handlerRefused, freed}), refused);
    // A call the module has a fallback for: the entry point answers as in the clean run.
    EXPECT_EQ(judged(before, {}, {check, registered, {"Initialize", 0, {{"Command_Test", hostError}}}}), refused);
    EXPECT_EQ(judged(before, {}, {{"CheckEnvironment", 2, {{"Environment", hostError}}}, registered}), refused);
    // Broken: success after a refused registration, an error of its own, a fallback call turned into an error, an
    // add-on type changed by a refused call, an alert, a project not as before, no refusal at an entry point.
    EXPECT_EQ(judged(before, {}, {check, registered, {"Initialize", 0, {{"Notify_CatchProjectEvent", hostError}}}}),
              "");
    EXPECT_EQ(judged(before, {}, {check, {"RegisterInterface", ownError, {{"Register_Menu", hostError}}}}), "");
    EXPECT_EQ(judged(before, {}, {check, registered, {"Initialize", hostError, {{"Command_Test", hostError}}}}), "");
    EXPECT_EQ(judged(before, {}, {{"CheckEnvironment", 0, {{"Environment", hostError}}}}), "");
    EXPECT_EQ(judged(before, {Failed}, {check, registered, handlerRefused, freed}, true), "");
    const ordered_json changed = Project({Wall(1), Object(3, "ROAD", 1, "r")});
    EXPECT_EQ(judged(changed, {}, {check, registered, handlerRefused, freed}), "");
    EXPECT_EQ(judged(before, {}, {check, registered, {"Initialize", 0, {}}}), "");
    EXPECT_EQ(judged(before, {}, {}), "");
}

// --- planted faults: end states a module with a fault acting only when a host call fails would leave, each fed to
// the judge beside the run it spoils; every one must be a fault, and the unspoilt run an outcome.

// A project with everything the user meets around its elements.
ordered_json Surrounded(std::vector<ordered_json> elements, std::vector<std::string> undo,
                        std::vector<std::string> selection = {G(1)}) {
    ordered_json p = Project(std::move(elements));
    p["window"] = {{"kind", "plan"}, {"typeID", 1}};
    p["database"] = {{"kind", "plan"}, {"typeID", 1}, {"title", ""}};
    p["currentStory"] = 0;
    p["toolbox"] = {{"typeID", 0}, {"variationID", 0}};
    p["undoSteps"] = undo;
    p["selection"] = selection;
    p["attributes"] = ordered_json::array({{2, 1, "Pen 1", "11"}});
    p["files"] = ordered_json::array({{"site.txt", "100"}, {"library/VY_TREE.gsm", "7"}});
    p["defaults"] = ordered_json::array({{20, 0, "5"}});
    p["moduleData"] = ordered_json::array({{"", 1, 22359, 66, "77"}});
    p["dialogs"] = ordered_json::array({{32400, "shown"}});
    p["windows"] = ordered_json::array({{32400, 3}});
    p["menus"] = ordered_json::array({{32501, 1, "Hide Lodravix Palette"}});
    return p;
}

struct Planted {
    const char* fault;
    std::function<void(ordered_json& run)> spoil;
};

const std::vector<Planted>& PlantedInTheProject() {
    static const std::vector<Planted> faults = {
        {"a wrong file written", [](ordered_json& p) { p["files"][0][1] = "101"; }},
        {"changed file bytes in the library", [](ordered_json& p) { p["files"][1][1] = "8"; }},
        {"a stray file",
         [](ordered_json& p) {
             p["files"].push_back({"site.txt.tmp", "3"});
         }},
        {"a half-written library part",
         [](ordered_json& p) {
             p["files"].push_back({"library/VY_NEW.gsm", "4"});
         }},
        {"a file lost", [](ordered_json& p) { p["files"].erase(0); }},
        {"an extra undo step", [](ordered_json& p) { p["undoSteps"].push_back("External command"); }},
        {"a renamed step", [](ordered_json& p) { p["undoSteps"].back() = "Another command"; }},
        {"a dropped selection", [](ordered_json& p) { p["selection"] = ordered_json::array(); }},
        {"the selection not given back",
         [](ordered_json& p) {
             p["selection"] = ordered_json::array({G(1), G(2)});
         }},
        {"another window in front",
         [](ordered_json& p) {
             p["window"] = {{"kind", "3D"}, {"typeID", 6}};
         }},
        {"another database current", [](ordered_json& p) { p["database"]["typeID"] = 6; }},
        {"another story current", [](ordered_json& p) { p["currentStory"] = 1; }},
        {"another tool picked", [](ordered_json& p) { p["toolbox"]["typeID"] = 20; }},
        {"an added pen",
         [](ordered_json& p) {
             p["attributes"].push_back({2, 2, "Pen 2", "12"});
         }},
        {"a lost tool default", [](ordered_json& p) { p["defaults"] = ordered_json::array(); }},
        {"a changed tool default", [](ordered_json& p) { p["defaults"][0][2] = "6"; }},
        {"a cleared module flag", [](ordered_json& p) { p["moduleData"][0][4] = "78"; }},
        {"module data lost", [](ordered_json& p) { p["moduleData"] = ordered_json::array(); }},
        {"a palette closed", [](ordered_json& p) { p["dialogs"] = ordered_json::array(); }},
        {"a palette hidden", [](ordered_json& p) { p["dialogs"][0][1] = "hidden"; }},
        {"a dialog left open",
         [](ordered_json& p) {
             p["dialogs"].push_back({32547, "modal"});
         }},
        {"a window unregistered", [](ordered_json& p) { p["windows"] = ordered_json::array(); }},
        {"a menu text wrong", [](ordered_json& p) { p["menus"][0][2] = "Show Lodravix Palette"; }},
    };
    return faults;
}

// The action kept its first command and failed in its second, told: earlier steps kept, and nothing around the
// model may differ from both the clean run's end and the project before.
TEST(SweepJudgePlantedFaults, EveryFaultAroundAPartialOutcomeIsCaught) {
    const std::string notDone = "Error | Error while modifying database. [OK] {kind -1}";
    const ordered_json before = Surrounded({Wall(1)}, {"Place"});
    const ordered_json clean =
        Surrounded({Wall(1), Wall(2), Wall(3)}, {"Place", "External command", "External command"});
    const ordered_json step = Surrounded({Wall(1), Wall(2)}, {"Place", "External command"});
    const auto judged = [&](const ordered_json& run) {
        Judged j = Runs(before, clean, run, {}, {notDone});
        RunCase c = j.Case();
        c.cleanSteps = {DumpHash(Modelled(ProjectDump(step)))};
        return Judge(c);
    };
    ASSERT_EQ(judged(step).outcome, "earlier steps kept") << judged(step).fault;
    for (const Planted& planted : PlantedInTheProject()) {
        ordered_json run = step;
        planted.spoil(run);
        const Verdict v = judged(run);
        EXPECT_EQ(v.outcome, "") << planted.fault;
        EXPECT_NE(v.fault, "") << planted.fault;
    }
}

// The same faults beside a run taken back, and beside one that ended as the clean run.
TEST(SweepJudgePlantedFaults, EveryFaultAroundAWholeOutcomeIsCaught) {
    const std::string notDone = "Error | Error while modifying database. [OK] {kind -1}";
    const ordered_json before = Surrounded({Wall(1)}, {"Place"});
    const ordered_json clean = Surrounded({Wall(1), Wall(2)}, {"Place", "External command"}, {G(2)});
    ASSERT_EQ(Judge(Runs(before, clean, before, {}, {notDone}).Case()).outcome, "taken back");
    ASSERT_EQ(Judge(Runs(before, clean, clean, {}, {}).Case()).outcome, "done");
    for (const Planted& planted : PlantedInTheProject()) {
        ordered_json back = before, done = clean;
        planted.spoil(back);
        planted.spoil(done);
        EXPECT_NE(Judge(Runs(before, clean, back, {}, {notDone}).Case()).fault, "") << planted.fault;
        EXPECT_NE(Judge(Runs(before, clean, done, {}, {}).Case()).fault, "") << planted.fault;
    }
}

// Alerts judged whole: their kind, their buttons, their order, and words that fit the failure.
TEST(SweepJudgePlantedFaults, EveryFaultInWhatTheUserIsToldIsCaught) {
    const ordered_json before = Surrounded({Wall(1)}, {"Place"});
    const ordered_json clean = Surrounded({Wall(1), Wall(2)}, {"Place", "External command"}, {G(2)});
    const std::string notDone = "Error | Error while modifying database. [OK] {kind -1}";
    const std::string asked = "Terrain | Go on? [Yes, No] {kind -2}";
    const std::string done = "Terrain | Terrain has been created! [OK] {kind 1}";
    const auto judged = [&](std::vector<std::string> cleanAlerts, std::vector<std::string> runAlerts,
                            const std::string& function = "") {
        Judged j = Runs(before, clean, before, std::move(cleanAlerts), std::move(runAlerts));
        RunCase c = j.Case();
        c.failedFunction = function;
        return Judge(c);
    };
    ASSERT_EQ(judged({asked, done}, {asked, notDone}).outcome, "taken back");
    ASSERT_EQ(judged({}, {"Error | Error while creating the file. [OK] {kind -1}"}, "ModulData_Store").outcome,
              "taken back");
    const struct {
        const char* fault;
        std::vector<std::string> clean, run;
        std::string function;
    } told[] = {
        {"an error shown as information", {}, {"Error | Error while modifying database. [OK] {kind 1}"}, ""},
        {"an alert of the wrong kind beside a question",
         {asked},
         {asked, "Error | Error while modifying database. [OK] {kind 1}"},
         ""},
        {"a _ERR_NO_ button", {}, {"Error | Error while modifying database. [_ERR_NO_] {kind -1}"}, ""},
        {"a _ERR_NO_ text", {}, {"Error | _ERR_NO_ [OK] {kind -1}"}, ""},
        {"alerts out of their order", {asked, done}, {done, asked, notDone}, ""},
        {"a read failure worded as a create failure",
         {},
         {"Error | Error while creating the file. [OK] {kind -1}"},
         "Element_Get"},
        {"a write failure worded as a read failure",
         {},
         {"Error | Error while reading the file. [OK] {kind -1}"},
         "Element_Create"},
        {"nothing told", {}, {}, ""},
        {"the input blamed", {}, {"Error | " + ModuleErrorText(ErrSelectTerrain) + " [OK] {kind -1}"}, ""},
    };
    for (const auto& t : told) {
        const Verdict v = judged(t.clean, t.run, t.function);
        EXPECT_EQ(v.outcome, "") << t.fault;
        EXPECT_NE(v.fault, "") << t.fault;
    }
}

}  // namespace sweep_judge_test
