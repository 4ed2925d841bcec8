// The sidewalk tool on the in-process stand-in host over the add-on's library: a sidewalk between two picked sides
// of a hatch over a terrain on the plane z = 100 + 0.1x + 0.05y, its level cross-section, a data update that keeps
// that profile (also on a moved, turned and mirrored object), failures that leave nothing, and edits together.
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "GridTerrain.hpp"
#include "LibraryHost.hpp"

#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/Sidewalk.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OutlinePrims.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/LibPart.hpp"
#include "settings/Settings.hpp"

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

namespace sidewalk_test {

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

bool DialogConfirms = true;
std::vector<int16_t> DialogChanges;

DialogAnswer FakeSidewalkDialog(SidewalkDialogState& state, int32_t) {
    if (!DialogConfirms) return DialogAnswer::Cancelled;
    for (int16_t id : DialogChanges) state.changed[id] = 1;
    if (!DialogChanges.empty()) {
        state.record.thickness = 0.3;
        state.record.layer = 7;
        state.record.pen = 9;
        state.record.name = QV_String("OTHER");
    }
    return DialogAnswer::Confirmed;
}

struct Sidewalk {
    API_Element element;
    std::string role;
    QV_List<QV_Coord3DLong> left, right;
    double thickness = 0.0, leftSide = 0.0;
};

class SidewalkToolTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        DialogConfirms = true;
        DialogChanges.clear();
        dialogs.sidewalk = FakeSidewalkDialog;
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, {{40, 30, 0}, {160, 30, 0}, {160, 60, 0}, {40, 60, 0}}, true, 1,
                                           "strip", &g),
                  NoError);
        fill = Get(g);
    }
    int32_t Build() {
        host->Input().QueuePoint(100, 30);
        host->Input().QueuePoint(100, 60);
        SideWalkCls cls;
        return cls.Create(GlobalSettings, dialogs, contours, fill, terrain);
    }
    std::vector<Sidewalk> Sidewalks() {
        std::vector<Sidewalk> out;
        for (const API_Element& e : Objects(ElemKind_Sidewalk)) {
            Sidewalk s;
            s.element = e;
            API_ElementMemo memo = {};
            EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
            SideWalkLP view(ElemKind_Sidewalk);
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            QV_String role;
            EXPECT_TRUE(view.GetSetString(BaseIDParam::Operatore, role, LPMode_Get));
            s.role = role.ToStdString();
            EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, s.left, LPMode_Get));
            EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseDX(view, s.right, LPMode_Get));
            s.thickness = view.GetParamDouble(QV_String("thck"));
            s.leftSide = view.GetParamDouble(QV_String("latosinistro"));
            view.Detach();
            ACAPI_DisposeElemMemoHdls(&memo);
            out.push_back(s);
        }
        return out;
    }
    API_Element Result() {
        for (const Sidewalk& s : Sidewalks())
            if (s.role == "result") return s.element;
        ADD_FAILURE() << "no result object";
        return {};
    }
    API_Element terrain = {}, fill = {};
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
};

TEST_F(SidewalkToolTest, TheFirstEdgeLiesOnTheTerrainAndTheSecondTakesItsHeights) {
    ASSERT_EQ(Build(), 0);
    const std::vector<Sidewalk> made = Sidewalks();
    ASSERT_EQ(made.size(), 3u);
    std::set<std::string> roles;
    for (const Sidewalk& s : made) {
        roles.insert(s.role);
        EXPECT_EQ(s.leftSide, 1.0);
        EXPECT_NEAR(s.thickness, 0.15, 1e-12);
        ASSERT_EQ(s.left.GetCount(), 2);
        ASSERT_EQ(s.right.GetCount(), 2);
        const API_Coord pos = s.element.object.pos;
        EXPECT_NEAR(s.left[0].x, 0.0, 1e-9);
        // The sides between the picked ones, x = 160 and x = 40, both running the same way.
        EXPECT_NEAR(std::fabs(s.left[0].x - s.right[0].x), 120.0, 1e-9);
        for (int32_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(s.left[k].y, s.right[k].y, 1e-9);
            EXPECT_NEAR(s.left[k].z, Plane(s.left[k].x + pos.x, s.left[k].y + pos.y), 1e-6);
            EXPECT_EQ(s.right[k].z, s.left[k].z);
        }
    }
    EXPECT_EQ(roles, (std::set<std::string>{"cut", "fill", "result"}));
}

TEST_F(SidewalkToolTest, ADataUpdateKeepsTheProfileAlsoOnAMovedTurnedMirroredObject) {
    ASSERT_EQ(Build(), 0);
    const std::vector<Sidewalk> before = Sidewalks();
    {
        SideWalkCls cls;
        ASSERT_EQ(cls.Update(contours, Result()), 0);
    }
    for (const Sidewalk& s : Sidewalks())
        for (int32_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(s.left[k].z, before[0].left[k].z, 1e-6) << s.role;
            EXPECT_NEAR(s.right[k].z, before[0].left[k].z, 1e-6) << s.role;
        }
    // The object mirrored, turned a quarter and moved: the edges keep their own coordinates and take the heights
    // of where they now lie.
    API_Element result = Result();
    API_Element mask = {};
    std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
    std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
    std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
    result.object.angle = M_PI / 6.0;
    result.object.reflected = 1;
    result.object.pos = {150.0, 70.0};
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&result, &mask, nullptr, 0); }), NoError);
    result = Get(result.header.guid);
    {
        SideWalkCls cls;
        ASSERT_EQ(cls.Update(contours, result), 0);
    }
    for (const Sidewalk& s : Sidewalks()) {
        if (s.role != "result") continue;
        QV_List<API_Coord3D> world;
        for (int32_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(s.left[k].x, before[0].left[k].x, 1e-9);
            EXPECT_NEAR(s.left[k].y, before[0].left[k].y, 1e-9);
            world.Insert(API_Coord3D{s.left[k].x, s.left[k].y, 0.0});
        }
        ObjectLocalToWorld3D(result, world);
        // Mirror, then turn, then move: local (0, 30) lies at (150 - 15, 70 + 30 cos 30deg).
        EXPECT_NEAR(world[1].x, 135.0, 1e-9);
        EXPECT_NEAR(world[1].y, 70.0 + 15.0 * std::sqrt(3.0), 1e-9);
        for (int32_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(s.left[k].z, Plane(world[k].x, world[k].y), 1e-6);
            EXPECT_EQ(s.right[k].z, s.left[k].z);
        }
    }
}

TEST_F(SidewalkToolTest, CancelsAndFailuresLeaveNothing) {
    // No side picked.
    {
        SideWalkCls cls;
        EXPECT_EQ(cls.Create(GlobalSettings, dialogs, contours, fill, terrain), 0);
    }
    DialogConfirms = false;
    EXPECT_EQ(Build(), 0);
    EXPECT_TRUE(Sidewalks().empty());
    DialogConfirms = true;
    host->Input().ClearQueue();
    // The same side twice is refused by the side input.
    host->Input().QueuePoint(100, 30);
    host->Input().QueuePoint(100, 30);
    {
        SideWalkCls cls;
        EXPECT_EQ(cls.Create(GlobalSettings, dialogs, contours, fill, terrain), 0);
    }
    host->Input().ClearQueue();
    EXPECT_TRUE(Sidewalks().empty());
    // The host refuses the second or the third object: none stays.
    for (int32_t passes : {1, 2}) {
        SideWalkCls cls;
        ASSERT_TRUE(FindLibPartOrAsk(QV_String("VY_SIDEWALK"), cls.libPartIndex, false, QV_String(), APILib_ObjectID));
        cls.pickHead = fill.header;
        ASSERT_TRUE(cls.ReadElement(terrain, true) &&
                    cls.BuildPrimitives(BaseCls::PrimitiveOptions().FillPrims().CloseCodes()));
        host->Input().QueuePoint(100, 30);
        host->Input().QueuePoint(100, 60);
        ASSERT_TRUE(BaseCls::InputPolygonStep(cls) && SplitRingAtSides(cls));
        cls.side = 1;
        bool built = true;
        ASSERT_EQ(Command([&] {
                      if (!BuildPointElementFromList(cls)) return GSErrCode(-1);
                      host->FailCallAfter("Element_Create", -1, APIERR_GENERAL, passes);
                      built = cls.BuildObjects() == CommandEnd::Done;
                      host->ClearFailures();
                      return NoError;
                  }),
                  NoError);
        EXPECT_FALSE(built);
        EXPECT_TRUE(Sidewalks().empty()) << passes;
    }
}

TEST_F(SidewalkToolTest, EditsReachTheParametersButNotLayerPenOrName) {
    ASSERT_EQ(Build(), 0);
    QV_List<API_Element> picked;
    picked.Insert(Result());
    DialogChanges = {0, 1, 6, 9};
    {
        SideWalkCls cls;
        EXPECT_EQ(cls.Modify(dialogs, picked), 0);
    }
    for (const Sidewalk& s : Sidewalks()) {
        EXPECT_NEAR(s.thickness, 0.3, 1e-12) << s.role;
        EXPECT_EQ(s.element.object.pen, 4);
        if (s.role == "result") {
            EXPECT_EQ(s.element.header.layer, 1);
        }
    }
    // From the 3D window, a plan database that cannot be reached is reported, and nothing goes on.
    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    SideWalkCls cls;
    EXPECT_EQ(cls.Modify(dialogs, picked), 42);
}

}  // namespace sidewalk_test
