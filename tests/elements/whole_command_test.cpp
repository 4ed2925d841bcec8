// The add-on's one command wrapper: nesting known from the depth of running commands (the host never asked for a
// second command), a failed work leaving no undo step, no element and no other window, a work that keeps what it
// made so far, and the leftovers a step could not delete: a leftover fails the command that stranded it, and a step
// run inside the caller's command never hides what the caller had stranded before it.
#include "ProjectHost.hpp"

#include "elements/LeftoverElements.hpp"
#include "elements/WholeCommand.hpp"

namespace whole_command_test {

class WholeCommandTest : public ProjectHostTest {
protected:
    // A hotspot the module makes (inside a command).
    API_Guid Make() {
        API_Element e = {};
        e.header.typeID = API_HotspotID;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
        EXPECT_EQ(ACAPI_Element_Create(&e, nullptr), NoError);
        made.push_back(e.header.guid);
        return e.header.guid;
    }
    // One the host then refuses to delete: the leftover is stranded.
    bool StrandOne() {
        const API_Guid g = Make();
        EXPECT_TRUE(host->FailCall("Element_Delete", -1, APIERR_GENERAL));
        const bool deleted = DeleteLeftoverElement(g);
        host->ClearFailures();
        return deleted;
    }
    size_t Alive() {
        size_t n = 0;
        for (const API_Guid& g : made) n += Db().Find(g) != nullptr ? 1 : 0;
        made.clear();
        return n;
    }
    std::vector<API_Guid> made;
    size_t Steps() { return Db().UndoTexts().size(); }
    void ShowWindow(int32_t type) {
        API_WindowInfo w = {};
        w.typeID = type;
        EXPECT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
    }
};

TEST_F(WholeCommandTest, ANestedCommandRunsInsideItsCallersByDepthWithoutAskingTheHost) {
    const size_t steps = Steps();
    int inner = -1;
    EXPECT_TRUE(RunWholeCommand([&] {
        EXPECT_EQ(CommandDepth(), 1);
        return Make() != APINULLGuid && RunWholeCommand([&] {
                   inner = CommandDepth();
                   return Make() != APINULLGuid;
               });
    }));
    EXPECT_EQ(inner, 2);
    EXPECT_EQ(CommandDepth(), 0);
    EXPECT_EQ(Alive(), 2u);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(log.str().find("CallUndoableCommand refused"), std::string::npos) << log.str();

    // A nested failure fails the nested call, and the caller that answers it takes the whole command back.
    bool nested = true;
    EXPECT_FALSE(RunWholeCommand([&] {
        Make();
        nested = RunWholeCommand([&] { return Make() == APINULLGuid; });
        return nested;
    }));
    EXPECT_FALSE(nested);
    EXPECT_EQ(Alive(), 0u);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(CommandDepth(), 0);
}

TEST_F(WholeCommandTest, AFailedWorkLeavesNoStepNoElementAndTheWindowItFound) {
    ShowWindow(APIWind_FloorPlanID);
    const size_t steps = Steps();
    for (const CommandEnd end : {CommandEnd::Failed, CommandEnd::KeepSoFar, CommandEnd::Done}) {
        const bool ok = RunCommand(ExternalCommandUndoText(), [&] {
            Make();
            ShowWindow(APIWind_3DModelID);
            return end;
        });
        EXPECT_EQ(ok, end == CommandEnd::Done);
        // Only a failure gives the window back; what stays is the work's answer.
        EXPECT_EQ(Db().FrontWindowType(), end == CommandEnd::Done ? APIWind_3DModelID : APIWind_FloorPlanID);
        EXPECT_EQ(Alive(), end == CommandEnd::Failed ? 0u : 1u);
        EXPECT_EQ(Steps(), steps + (end == CommandEnd::Failed ? 0 : end == CommandEnd::KeepSoFar ? 1 : 2));
        ShowWindow(APIWind_FloorPlanID);
    }
    // Kept so far, yet a stranded leftover takes it all back.
    EXPECT_FALSE(RunCommand(ExternalCommandUndoText(), [&] {
        Make();
        StrandOne();
        return CommandEnd::KeepSoFar;
    }));
    EXPECT_EQ(Alive(), 0u);
    EXPECT_EQ(Steps(), steps + 2);

    // The user's selection comes back after a failure, the element the work selected taken back with it.
    API_Guid chosen = APINULLGuid;
    ASSERT_TRUE(RunWholeCommand([&] { return (chosen = Make()) != APINULLGuid; }));
    made.clear();
    Select({chosen});
    EXPECT_FALSE(RunWholeCommand([&] {
        ACAPI_Element_DeselectAll();
        Select({Make()});
        return false;
    }));
    ASSERT_EQ(Db().Selection().size(), 1u);
    EXPECT_TRUE(Db().Selection()[0] == chosen);
    EXPECT_EQ(Alive(), 0u);
}

// The host takes back a command's elements, not the observers it attached: the wrapper detaches those the add-on
// did not observe before, on elements that stay, and keeps every observer when the command stands.
TEST_F(WholeCommandTest, ATakenBackCommandLeavesObservedOnlyWhatWasObservedBefore) {
    API_Guid watched = APINULLGuid, placed = APINULLGuid;
    ASSERT_TRUE(RunWholeCommand([&] {
        watched = Make();
        placed = Make();
        return ACAPI_Element_AttachObserver(watched) == NoError;
    }));
    made.clear();
    ASSERT_TRUE(host->Events().IsObserved(watched));
    ASSERT_FALSE(host->Events().IsObserved(placed));
    for (const bool nested : {false, true}) {
        API_Guid inner = APINULLGuid;
        const auto work = [&] {
            inner = Make();
            return ACAPI_Element_AttachObserver(watched) == NoError &&
                ACAPI_Element_AttachObserver(placed) == NoError && ACAPI_Element_AttachObserver(inner) == NoError;
        };
        EXPECT_FALSE(RunWholeCommand([&] { return nested ? RunWholeCommand(work) && false : work() && false; }));
        EXPECT_TRUE(host->Events().IsObserved(watched)) << "observed before the command";
        EXPECT_FALSE(host->Events().IsObserved(placed)) << "attached by the command taken back";
        EXPECT_EQ(Alive(), 0u);
    }
    ASSERT_TRUE(RunWholeCommand([&] { return ACAPI_Element_AttachObserver(placed) == NoError; }));
    EXPECT_TRUE(host->Events().IsObserved(placed));
    // Attached again later and taken back: it was observed before, so it stays.
    EXPECT_FALSE(RunWholeCommand([&] { return ACAPI_Element_AttachObserver(placed) == NoError && false; }));
    EXPECT_TRUE(host->Events().IsObserved(placed));
}

TEST_F(WholeCommandTest, AStrandedLeftoverTakesItsWholeCommandBackAloneOrInsideTheCallers) {
    // Alone: the body answers an error and everything the command made is gone.
    const size_t steps = Db().UndoTexts().size();
    EXPECT_FALSE(RunWholeCommand([&] { return !StrandOne(); }));
    EXPECT_EQ(Alive(), 0u);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
    EXPECT_TRUE(RunWholeCommand([&] { return Make() != APINULLGuid; }));
    EXPECT_EQ(Alive(), 1u);

    // Inside a caller's command, in both orders: a nested step that strands one fails, one that does not succeeds,
    // and the caller's watch sees every leftover of its command either way.
    for (bool callerFirst : {true, false}) {
        bool nested = true, outer = false;
        const GSErrCode err = Command([&] {
            const LeftoverWatch watch;
            if (callerFirst) {
                EXPECT_FALSE(StrandOne());
            }
            nested = RunWholeCommand([&] { return callerFirst || !StrandOne(); });
            outer = watch.Stranded();
            return watch.CommandBodyResult();
        });
        EXPECT_EQ(nested, callerFirst) << callerFirst;
        EXPECT_TRUE(outer) << callerFirst;
        EXPECT_NE(err, NoError) << callerFirst;
        EXPECT_EQ(Alive(), 0u) << callerFirst;
    }
}

}  // namespace whole_command_test
