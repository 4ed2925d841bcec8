// Spot heights: the grid's layout over many boxes and steps, the outline test of a click, the point codes, the
// spot height dialog's normalisations, and level markers and grids on the in-process stand-in host (terrain on
// the plane z = 100 + 0.05x + 0.02y), where steps the grid cannot take end before any question.
#include "SlopedTerrainTest.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/SpotHeightSettingsDialog.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/Language.hpp"
#include "geometry/OutlineSegmentAtPoint.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Marker.hpp"

#include <cmath>
#include <random>

namespace marker_test {

TEST(SpotHeightGrid, TheLayoutStartsJustBeforeTheBoxEndsJustBeyondItAndRunsThroughTheReference) {
    const auto Box = [](double xMin, double yMin, double xMax, double yMax) {
        API_Box3D b = {};
        b.xMin = xMin;
        b.yMin = yMin;
        b.xMax = xMax;
        b.yMax = yMax;
        return b;
    };
    API_Box3D box = Box(0.0, 0.0, 10.0, 10.0);
    GridExtent e;
    ASSERT_EQ(ComputeGridExtent(0.0, 0.0, 10.0, 10.0, box, e), GridLayout::Laid);
    EXPECT_EQ(e.x0, -10.0);
    EXPECT_EQ(e.nx, 4);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-50.0, 50.0), s(0.3, 20.0);
    for (int k = 0; k < 500; ++k) {
        const double a = u(rng), b = u(rng), c = u(rng), d = u(rng);
        box = Box(std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d));
        const double sx = s(rng), sy = s(rng), rx = u(rng), ry = u(rng);
        ASSERT_EQ(ComputeGridExtent(rx, ry, sx, sy, box, e), GridLayout::Laid);
        for (const auto& axis : {std::make_tuple(e.x0, e.nx, sx, box.xMin, box.xMax, rx),
                                 std::make_tuple(e.y0, e.ny, sy, box.yMin, box.yMax, ry)}) {
            const double start = std::get<0>(axis), step = std::get<2>(axis), low = std::get<3>(axis);
            const double high = std::get<4>(axis), ref = std::get<5>(axis);
            const int32_t n = std::get<1>(axis);
            ASSERT_GE(n, 2);
            EXPECT_LT(start, low);
            EXPECT_GT(start + (n - 1) * step, high - 1e-9);
            EXPECT_LE(start + (n - 2) * step, high + 1e-9);
            // The reference is a node, or lies before the start when it is left of or below the box.
            if (ref >= low) {
                EXPECT_NEAR(std::remainder(ref - start, step), 0.0, 1e-6);
            }
        }
    }
    // Steps of 0 or below give no layout (and never an endless loop); a million nodes are laid out, only a grid
    // past what 32-bit counts hold is too large, whichever axis is long.
    const API_Box3D big = Box(0.0, 0.0, 1000.0, 1000.0);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 0.0, 10.0, big, e), GridLayout::BadStep);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 10.0, -1.0, big, e), GridLayout::BadStep);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 1e-9, 1e-9, big, e), GridLayout::TooManyNodes);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 0.01, 0.01, big, e), GridLayout::TooManyNodes);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 1e-7, 500.0, big, e), GridLayout::TooManyNodes);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 1.0, 1.0, big, e), GridLayout::Laid);
    EXPECT_EQ(int64_t(e.nx) * e.ny, 1003 * 1003);
    EXPECT_EQ(ComputeGridExtent(5.0, 5.0, 10.0, 10.0, big, e), GridLayout::Laid);
}

TEST(SpotHeightGrid, OutlineEdgesHoldTheirPointsAndCodesPadTheNumber) {
    QV_Poly square;
    QV_List<API_Coord> corners;
    for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{10, 0}, API_Coord{10, 10}, API_Coord{0, 10}})
        corners.Insert(c);
    square.SetFromCoords(corners, true);
    EXPECT_EQ(FindOutlineSegmentAtPoint(square, {5, 0}, 1e-7), 1);
    EXPECT_EQ(FindOutlineSegmentAtPoint(square, {10, 4}, 1e-7), 2);
    EXPECT_EQ(FindOutlineSegmentAtPoint(square, {0, 10}, 1e-7), 3);
    EXPECT_EQ(FindOutlineSegmentAtPoint(square, {5, 5}, 1e-7), -1);
    EXPECT_TRUE(PointOnOrInsideOutline(square, {5, 5}));
    EXPECT_TRUE(PointOnOrInsideOutline(square, {10, 10}));
    EXPECT_FALSE(PointOnOrInsideOutline(square, {10.001, 5}));
    // A half circle over the edge from (10, 0) to (0, 0).
    QV_Poly half = square;
    half.arcs.Insert(QV_Arc::FromEndPointsAndAngle({10, 10}, {0, 10}, M_PI));
    half.codes[2] = 0;
    EXPECT_EQ(FindOutlineSegmentAtPoint(half, {5, 15}, 1e-7), 3);
    EXPECT_EQ(FindOutlineSegmentAtPoint(half, {5, 5}, 1e-7), -1);

    EXPECT_EQ(PointMarkerCode(QV_String("P"), 12).Compare(QV_String("P 00012")), 0);
    EXPECT_EQ(PointMarkerCode(QV_String(""), 12).Compare(QV_String("00012")), 0);
    EXPECT_EQ(PointMarkerCode(QV_String("Name"), 0).Compare(QV_String("Name 00000")), 0);
}

class MarkerTest : public SlopedTerrainTest {
protected:
    void SetUp() override {
        SlopedTerrainTest::SetUp();
        if (HasFatalFailure()) return;
        GlobalSettings.marker.SetDefaults(QV_String("Arial"));
    }
    SiteObjectDialogBoxes dialogs;
};

TEST_F(MarkerTest, LevelMarkersTakeThePlanesHeightAndAGridWithoutAStepAsksNothing) {
    host->Input().QueuePoint(70.0, 50.0);
    host->Input().QueuePoint(500.0, 50.0);   // off the terrain: said, and asked again
    host->Input().QueuePoint(200.0, 120.0);  // its corner
    host->Input().QueueCancel();
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 0);
    }
    const std::vector<API_Element> markers = Objects(ElemKind_LevelMarker);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_NEAR(Param(markers[0], "livello_singolo"), Plane(70, 50), 1e-9);
    EXPECT_NEAR(Param(markers[1], "livello_singolo"), Plane(200, 120), 1e-9);
    EXPECT_EQ(Param(markers[1], "matrice"), 0.0);

    // A grid step of 0 would lay out nodes for ever: the grid ends with 43 before the question.
    GlobalSettings.marker.mode = 1;
    GlobalSettings.marker.stepX = 0.0;
    host->Input().QueuePoint(70.0, 50.0);
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 43);
    }
    EXPECT_EQ(Objects(ElemKind_LevelMarker).size(), 2u);
    const auto alerts = [] {
        std::vector<std::string> texts;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert") {
                std::string all = r.title;
                for (const std::string& t : r.texts) all += " " + t;
                texts.push_back(all);
            }
        return texts;
    };
    const size_t before = alerts().size();  // the click off the terrain

    // Any count a grid can hold is the user's to decide: over a quarter of a million nodes the question shows
    // the count, and "No" leaves no grid.
    GlobalSettings.marker.stepX = GlobalSettings.marker.stepY = 0.3;
    API_Box3D box = {};
    box.xMax = 200.0;
    box.yMax = 120.0;
    GridExtent layout;
    ASSERT_EQ(ComputeGridExtent(70.0, 50.0, 0.3, 0.3, box, layout), GridLayout::Laid);
    const int64_t nodes = int64_t(layout.nx) * layout.ny;
    ASSERT_GT(nodes, 250000);
    host->Input().QueuePoint(70.0, 50.0);
    DGDriver::QueueClick(32551, 1);
    DGDriver::QueueAlertAnswer(2);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 43);
    }
    ASSERT_EQ(alerts().size(), before + 1);
    const std::vector<std::string> shown = alerts();  // kept: a temporary's back() would dangle in the loop
    std::string digits;                               // however the count is grouped
    for (const char c : shown.back())
        if (c >= '0' && c <= '9') digits += c;
    EXPECT_EQ(digits, std::to_string(nodes)) << alerts().back();

    // A grid past what memory can hold is refused with its own message before any question.
    GlobalSettings.marker.stepX = GlobalSettings.marker.stepY = 0.001;
    host->Input().QueuePoint(70.0, 50.0);
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 1);
    }
    EXPECT_EQ(alerts().size(), before + 1);
    EXPECT_EQ(Objects(ElemKind_LevelMarker).size(), 2u);
}

TEST_F(MarkerTest, TheDialogNormalisesTypesAndTextContentAndKeepsAnEighthTypeInTheSecondLayout) {
    MarkerDialogState state;
    state.record.SetDefaults(QV_String("Arial"));
    state.record.symbol = 0;
    state.record.showLevel = state.record.showCode = state.record.showComment = 0;
    state.record.textAngle = 0.0;
    DGDriver::QueueSetDouble(32551, 21, 90.0);
    DGDriver::QueueClick(32551, 1);
    ASSERT_EQ(OpenSpotHeightSettingsDialog(state, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(state.record.symbol, 8);
    EXPECT_EQ(state.record.showCode, 1);
    EXPECT_EQ(state.record.showLevel, 0);
    EXPECT_EQ(state.record.showComment, 0);
    EXPECT_EQ(state.record.textAngle, 1.5707963267948966);
    EXPECT_EQ(state.changed[SpotHeightSettings::Id::symbol], 1);
    EXPECT_EQ(state.changed[SpotHeightSettings::Id::showCode], 1);

    // The second layout has seven types: type 8 stays 8 and unflagged unless the user picks one.
    MarkerDialogState eight;
    eight.record.SetDefaults(QV_String("Arial"));
    eight.record.symbol = 8;
    DGDriver::QueueClick(32551, 39);
    DGDriver::QueueClick(32518, 1);
    ASSERT_EQ(OpenSpotHeightSettingsDialog(eight, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(eight.record.symbol, 8);
    EXPECT_EQ(eight.changed[SpotHeightSettings::Id::symbol], 0);
    MarkerDialogState picked = eight;
    DGDriver::QueueClick(32551, 39);
    DGDriver::QueueClick(32518, 13);
    DGDriver::QueueClick(32518, 1);
    ASSERT_EQ(OpenSpotHeightSettingsDialog(picked, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(picked.record.symbol, 7);
    EXPECT_EQ(picked.changed[SpotHeightSettings::Id::symbol], 1);

    // Editing level markers: the text content is not theirs to change.
    MarkerDialogState editing;
    editing.record.SetDefaults(QV_String("Arial"));
    editing.editing = 1;
    DGDriver::QueueClick(32551, 1);
    ASSERT_EQ(OpenSpotHeightSettingsDialog(editing, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_FALSE(Item(32551, 35)->enabled);
    for (int id :
         {SpotHeightSettings::Id::showLevel, SpotHeightSettings::Id::showCode, SpotHeightSettings::Id::showComment})
        EXPECT_EQ(editing.changed[id], 0) << id;

    // Placing a level marker: the spacings are stored only while the map is chosen.
    MarkerDialogState level;
    level.record.SetDefaults(QV_String("Arial"));
    level.levelMarker = 1;
    DGDriver::QueueClick(32551, 39);
    DGDriver::QueueClick(32518, 39);
    DGDriver::QueueSetDouble(32518, 41, 25.0);
    DGDriver::QueueClick(32518, 39);
    DGDriver::QueueClick(32518, 1);
    ASSERT_EQ(OpenSpotHeightSettingsDialog(level, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(level.record.mode, 0);
    EXPECT_EQ(level.record.stepX, 10.0);
    EXPECT_EQ(level.changed[SpotHeightSettings::Id::stepX], 0);
}

TEST_F(MarkerTest, RebuildsFollowTheTerrainDropAMarkerOffItAndPutAGridBackAtItsStart) {
    host->Input().QueuePoint(70.0, 50.0);
    host->Input().QueuePoint(150.0, 100.0);
    host->Input().QueueCancel();
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        ASSERT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 0);
    }
    std::vector<API_Element> singles = Objects(ElemKind_LevelMarker);
    ASSERT_EQ(singles.size(), 2u);
    const auto moveTo = [&](API_Element e, double x, double y) {
        API_Element mask = {};
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        e.object.pos = {x, y};
        ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0); }), NoError);
    };
    moveTo(singles[0], 120.0, 90.0);
    moveTo(singles[1], 900.0, 900.0);
    for (const API_Element& m : singles) {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.Rebuild(dialogs, terrain, Get(m.header.guid)), 0);
    }
    singles = Objects(ElemKind_LevelMarker);
    ASSERT_EQ(singles.size(), 1u);
    EXPECT_NEAR(Param(singles[0], "livello_singolo"), Plane(120, 90), 1e-9);

    // A grid of 50 by 40 from (70, 50) over the box 0..200 x 0..120: columns from -30, rows from -30.
    GlobalSettings.marker.mode = 1;
    GlobalSettings.marker.stepX = 50.0;
    GlobalSettings.marker.stepY = 40.0;
    host->Input().QueuePoint(70.0, 50.0);
    DGDriver::QueueClick(32551, 1);
    DGDriver::QueueAlertAnswer(1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        ASSERT_EQ(cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain), 0);
    }
    API_Element grid = Objects(ElemKind_LevelMarker).back();
    EXPECT_EQ(grid.object.pos.x, -30.0);
    EXPECT_EQ(grid.object.pos.y, -30.0);
    const double layer = grid.header.layer;
    moveTo(grid, 5.0, 5.0);
    DGDriver::QueueAlertAnswer(1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.Rebuild(dialogs, terrain, Get(grid.header.guid)), 0);
    }
    grid = Get(grid.header.guid);
    EXPECT_EQ(grid.object.pos.x, -30.0);
    EXPECT_EQ(grid.object.pos.y, -30.0);
    EXPECT_EQ(grid.header.layer, layer);
    EXPECT_EQ(Param(grid, "passo_X"), 50.0);

    // A grid whose stored step is 0 cannot be laid out again: an error, not an endless layout.
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(grid.header.guid, &memo, AttachMemoMask), NoError);
    BaseLP view;
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    ASSERT_GE(view.SetParamDouble(QV_String("passo_X"), 0.0), 0);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    GS::Array<API_Guid> one;
    one.Push(grid.header.guid);
    API_Element none = {};
    ASSERT_EQ(Command([&] { return ACAPI_Element_ChangeParameters(one, &grid, &memo, &none); }), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    MarkerCls cls(GlobalSettings.marker.font);
    EXPECT_EQ(cls.Rebuild(dialogs, terrain, Get(grid.header.guid)), 43);
}

TEST_F(MarkerTest, APointMarkerListsTheStorysPointsAndReplacesTheEarlierOneOnlyWhenMade) {
    for (int k = 0; k < 2; ++k) {
        API_Guid g = {};
        ASSERT_EQ(Db().PlaceHotspot({10.0 + k, 20.0}, 1, "pt" + std::to_string(k), &g), NoError);
        ElemDescriptor d;
        d.Name = QV_String(k == 0 ? "P" : "");
        d.Number = 12 + k;
        d.AppendNumber = 1;
        d.Value = 101.5 + k;
        ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Point, Get(g).header) ? NoError : -1; }),
                  NoError);
    }
    const auto codes = [&](const API_Element& e) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        MarkerPtLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_String> out;
        EXPECT_TRUE(MarkerPtLP::ExchangeStringArrayA(view, out, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return out;
    };
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        ASSERT_EQ(cls.PlacePointMarker(GlobalSettings, dialogs), 0);
    }
    std::vector<API_Element> markers = Objects(ElemKind_PointMarker);
    ASSERT_EQ(markers.size(), 1u);
    const QV_List<QV_String> first = codes(markers[0]);
    ASSERT_EQ(first.GetCount(), 2);
    EXPECT_EQ(first[0].Compare(QV_String("P 00012")), 0);
    EXPECT_EQ(first[1].Compare(QV_String("00013")), 0);

    // A marker that cannot be made leaves the earlier one in place.
    ASSERT_TRUE(host->FailCall("Element_Create", -1, APIERR_GENERAL));
    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        EXPECT_EQ(cls.PlacePointMarker(GlobalSettings, dialogs), 43);
    }
    host->ClearFailures();
    ASSERT_EQ(Objects(ElemKind_PointMarker).size(), 1u);
    EXPECT_EQ(Objects(ElemKind_PointMarker)[0].header.guid, markers[0].header.guid);

    DGDriver::QueueClick(32551, 1);
    {
        MarkerCls cls(GlobalSettings.marker.font);
        ASSERT_EQ(cls.PlacePointMarker(GlobalSettings, dialogs), 0);
    }
    const std::vector<API_Element> now = Objects(ElemKind_PointMarker);
    ASSERT_EQ(now.size(), 1u);
    EXPECT_FALSE(now[0].header.guid == markers[0].header.guid);

    // A point's record the host will not give, at any read: the marker lists every point or is not made, the
    // earlier one left in place; never one that leaves a point out.
    bool refused = false;
    for (int32_t passes = 0; passes < 8; ++passes) {
        const API_Guid earlier = Objects(ElemKind_PointMarker)[0].header.guid;
        ASSERT_TRUE(host->FailCallAfter("Element_GetUserData", -1, APIERR_GENERAL, passes, 1));
        DGDriver::QueueClick(32551, 1);
        int32_t code = 0;
        {
            MarkerCls cls(GlobalSettings.marker.font);
            code = cls.PlacePointMarker(GlobalSettings, dialogs);
        }
        host->ClearFailures();
        const std::vector<API_Element> placed = Objects(ElemKind_PointMarker);
        ASSERT_EQ(placed.size(), 1u) << passes;
        if (code != 0) {
            refused = true;
            EXPECT_EQ(placed[0].header.guid, earlier) << passes;
        } else {
            EXPECT_EQ(codes(placed[0]).GetCount(), 2) << passes;
        }
    }
    EXPECT_TRUE(refused);
}

}  // namespace marker_test
