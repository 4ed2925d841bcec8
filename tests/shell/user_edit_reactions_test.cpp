// The module's answer to the user's own edits, through the element events of the stand-in host and the wired
// steps: whichever host function the answer calls fails, the project ends as the edit alone left it (the answer
// taken back whole) and the user is told once, or the answer completes as without the failure.
#include "AlertLog.hpp"
#include "ProjectHost.hpp"
#include "SweepDump.hpp"

#include "elements/ModelUpdate.hpp"
#include "foundation/GuidText.hpp"
#include "settings/Settings.hpp"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace user_edit_reactions_test {

class UserEditReactionsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        ASSERT_TRUE(host->Detach());
        ASSERT_TRUE(host->Load());
        DGDriver::Reset();
        DGDriver::ClearQueueAndLog();
    }
    void TearDown() override {
        host->ClearFailures();
        PendingUpdate.Reset();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }

    // An element of the add-on, observed as the module observes its own.
    void Record(const API_Guid& g, int32_t kind, const ElemDescriptor& d = ElemDescriptor()) {
        WriteRecord(g, kind, d);
        ASSERT_EQ(ACAPI_Element_AttachObserver(g), NoError);
    }
    API_Guid Point(double x, double y) {
        const API_Guid g = PlaceTerrainPoint({x, y}, 0.0, "point" + std::to_string(++names));
        EXPECT_EQ(ACAPI_Element_AttachObserver(g), NoError);
        return g;
    }
    API_Guid Constraint(const API_Coord& a, const API_Coord& b) {
        const API_Guid g = PlaceConstraint(a, b, "constraint" + std::to_string(++names));
        EXPECT_EQ(ACAPI_Element_AttachObserver(g), NoError);
        return g;
    }
    // The whole project as the fault sweep compares it (GUIDs numbered in the order they are met).
    Sweep::Signature Model() const { return Sweep::ProjectDump(host->Database().ToJson()); }
    void Undo(int steps) {
        for (int i = 0; i < steps; ++i) ASSERT_TRUE(Db().Undo());
    }

    // The edit once without the module's answer, once with it, then once per host function the answer calls,
    // that function failing: each run ends as the edit alone left it with one alert, or as the clean run.
    void ExpectEveryFailureEndsTakenBackOrDone(const std::function<GSErrCode()>& edit) {
        ElementWritten = 1;  // what the test placed counts as the add-on's own, no copies of the user's
        host->Events().Deliver();
        const Sweep::Signature start = Model();
        host->Events().Mute(true);
        ASSERT_EQ(edit(), NoError);
        host->Events().Mute(false);
        const Sweep::Signature edited = Model();
        Undo(1);
        ASSERT_EQ(Model(), start);

        std::map<std::string, int64_t> called;
        host->RecordCalls(&called);
        ASSERT_EQ(edit(), NoError);
        host->RecordCalls(nullptr);
        const Sweep::Signature clean = Model();
        ASSERT_NE(clean, edited) << "the answer changes nothing";
        ASSERT_EQ(AlertsSince(), 0u);
        Undo(2);
        ASSERT_EQ(Model(), start);

        int takenBack = 0;
        for (const auto& [function, calls] : called) {
            SCOPED_TRACE(function + " failing");
            ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
            const size_t alerts = AlertsSince();
            ASSERT_EQ(edit(), NoError);
            host->ClearFailures();
            const Sweep::Signature after = Model();
            if (after == clean) {
                Undo(2);
            } else {
                EXPECT_TRUE(after == edited) << "half-made:" << Sweep::Describe(edited, after)
                                             << "\nagainst clean:" << Sweep::Describe(clean, after);
                EXPECT_EQ(AlertsSince(), alerts + 1);
                ++takenBack;
                Undo(1);
            }
            ASSERT_EQ(Model(), start);
        }
        EXPECT_GT(takenBack, 0) << "no failure reached the answer";
    }
    // The user drags `g` by `by`, as an edit the host reports.
    std::function<GSErrCode()> Drag(const API_Guid& g, const API_Coord& by) {
        return [this, g, by] {
            API_ActTranPars t = {};
            t.typeID = APIEdit_Drag;
            t.disp = by;
            return host->Events().UserEdit(g, t);
        };
    }
    int names = 0;
};

// A dragged terrain point takes the end of its constraint along.
TEST_F(UserEditReactionsTest, ADraggedPointsConstraintFollowsOrTheAnswerIsTakenBack) {
    const API_Guid moved = Point(0, 0);
    Point(10, 0);
    Point(10, 10);
    const API_Guid line = Constraint({0, 0}, {10, 0});
    const auto drag = Drag(moved, {0, 5});
    ExpectEveryFailureEndsTakenBackOrDone(drag);
    ASSERT_EQ(drag(), NoError);
    EXPECT_EQ(Db().Find(line)->record.Get().line.begC.y, 5.0);
}

// A dragged terrain takes its linked objects along and gives them its skirt.
TEST_F(UserEditReactionsTest, ADraggedTerrainsObjectsFollowOrTheAnswerIsTakenBack) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    const int32_t libRoad = host->Project().libraries.FindByName("VY_ROAD", 0);
    ASSERT_GT(libRoad, 0);
    const API_Guid terrain = PlaceMesh("terrain");
    Record(terrain, ElemKind_Terrain);
    const API_Guid road = PlaceObject(API_ObjectID, libRoad, "road");
    for (StoredParam& p : *Db().FindMutable(road)->memo.Mutable().params)
        if (std::string(p.record.name) == "operatore") {
            const std::u16string cut = u"cut";
            std::memset(p.record.value.uStr, 0, sizeof p.record.value.uStr);
            std::copy(cut.begin(), cut.end(), p.record.value.uStr);
        }
    ElemDescriptor linked;
    GuidToText(linked.TerrainGuid, terrain);
    Record(road, ElemKind_Road, linked);
    const double x = Db().Find(road)->record.Get().object.pos.x;
    const auto drag = Drag(terrain, {3, 4});
    ExpectEveryFailureEndsTakenBackOrDone(drag);
    ASSERT_EQ(drag(), NoError);
    EXPECT_EQ(Db().Find(road)->record.Get().object.pos.x, x + 3.0);
}

// A copied terrain point gets the next code; one copied onto another point goes again.
TEST_F(UserEditReactionsTest, ACopiedPointIsAdoptedOrTheAnswerIsTakenBack) {
    const API_Guid original = Point(0, 0);
    ExpectEveryFailureEndsTakenBackOrDone([&] {
        // The code the copy gets comes from the tool's defaults, which an undo does not take back.
        GlobalSettings.points.codeNumber = 7;
        return host->Events().UserCopy(original, {5, 5, 0}, "copy", nullptr);
    });
}

}  // namespace user_edit_reactions_test
