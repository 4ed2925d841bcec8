// The add-on's whole command and the leftovers a step could not delete, alone and inside a caller's command:
// a leftover fails the command that stranded it, and a step run inside the caller's command never hides what the
// caller had stranded before it.
#include "ProjectHost.hpp"

#include "elements/LeftoverElements.hpp"
#include "elements/WholeCommand.hpp"

namespace {

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
};

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

}  // namespace
