// The outline commands against the in-process stand-in host, on a 20 m grid of terrain points: the outline by
// clicks runs through the eight outer points; "Keep" leaves the old outline (and uses up a picked hatch);
// "Substitute" replaces it; an edited outline keeps only the vertices whose points still stand; too few points
// give 16; a dragged rectangle around one point makes nothing; an outline found crossing itself gives 15.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementQueries.hpp"
#include "foundation/ErrorCode.hpp"
#include "settings/Settings.hpp"
#include "terrain/OutlineData.hpp"
#include "FakeTerrainInputDialogs.hpp"

namespace outline_commands_test {

class OutlineCommandTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        GlobalSettings.Reset();
        GlobalSettings.outline.SetDefaults();
        FakeTerrainInputDialogs& h = inputDialogs;
        h.outlineSettings = [this](OutlineSettings&, OutlineSettings::Changed&, OutlineSearchValues& search) {
            shownWidth = search.corridorWidth;
            search.searchType = searchType;
            if (corridorWidth > 0) search.corridorWidth = corridorWidth;
            return DialogAnswer::Confirmed;
        };
        h.keepExistingOutline = [this] {
            ++asked;
            return keep;
        };
        Window(APIWind_FloorPlanID);
        for (double x : {0.0, 10.0, 20.0})
            for (double y : {0.0, 10.0, 20.0}) points.push_back(Point(x, y));
    }
    void TearDown() override {
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    API_Elem_Head Head(const API_Guid& g) {
        API_Elem_Head h = {};
        h.guid = g;
        h.typeID = Db().Find(g)->record.header.typeID;
        return h;
    }
    API_Guid Point(double x, double y) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceHotspot({x, y}, 1, "P" + std::to_string(points.size()), &g), NoError);
        ElemDescriptor d;
        d.Name = "Point";
        d.AppendNumber = 1;
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Point, Head(g)) ? NoError : -1; }),
                  NoError);
        return g;
    }
    void ClickRound(double d = 0.3) {
        for (const API_Coord& c : {API_Coord{-d, -d}, API_Coord{-d, 20 + d}, API_Coord{20 + d, 20 + d},
                                   API_Coord{20 + d, -d}, API_Coord{-d, -d}})
            host->Input().QueuePoint(c.x, c.y);
    }
    QV_List<API_Element> Outlines() {
        QV_List<API_Element> all;
        EXPECT_EQ(CollectAddOnObjects(ElemKind_Outline, API_HatchID, 0, all), 1);
        return all;
    }
    std::vector<API_Coord> Ring(const API_Element& hatch) {
        QV_List<API_Coord> coords;
        EXPECT_TRUE(ReadElementMemoCoords2D(hatch, coords));
        return std::vector<API_Coord>(coords.begin(), coords.begin() + coords.GetCount());
    }
    void Delete(const API_Guid& g) {
        ASSERT_EQ(Command([&] {
                      GS::Array<API_Guid> one;
                      one.Push(g);
                      return ACAPI_Element_Delete(one);
                  }),
                  NoError);
    }

    std::vector<API_Guid> points;
    FakeTerrainInputDialogs inputDialogs;
    double shownWidth = 0.0;
    uint16_t searchType = 1;
    double corridorWidth = 0.0;  // when set, the width the user types over the estimate
    bool keep = false;
    int asked = 0;
};

TEST_F(OutlineCommandTest, ClicksRoundTheGridMakeTheOutlineThroughTheOuterPoints) {
    ClickRound();
    OutlineData data(GlobalSettings, inputDialogs);
    EXPECT_EQ(data.CommandByClicks(), 0);
    EXPECT_NEAR(shownWidth, std::hypot(20, 20) / 25, 1e-12);
    EXPECT_NEAR(data.corridorHalfWidth, shownWidth / 2, 1e-12);  // OK without an edit halves it
    const QV_List<API_Element> outlines = Outlines();
    ASSERT_EQ(outlines.GetCount(), 1);
    const std::vector<API_Coord> ring = Ring(outlines[0]);
    const std::vector<API_Coord> expected = {{0, 0},   {0, 10}, {0, 20}, {10, 20}, {20, 20},
                                             {20, 10}, {20, 0}, {10, 0}, {0, 0}};
    ASSERT_EQ(ring.size(), expected.size());
    for (size_t i = 0; i < ring.size(); ++i) {
        EXPECT_EQ(ring[i].x, expected[i].x) << i;
        EXPECT_EQ(ring[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(asked, 0);
    // While the path was drawn the corridor followed the cursor: two sides per segment, at the half-width.
    const auto& lines = host->Input().RubberLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.size() % 2, 0u);
    EXPECT_NEAR(std::hypot(lines[0].begC.x - lines[1].begC.x, lines[0].begC.y - lines[1].begC.y),
                2 * data.corridorHalfWidth, 1e-9);

    // With an outline there: "Keep" asks for no path and changes nothing; "Substitute" replaces it.
    keep = true;
    ClickRound();
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    EXPECT_EQ(host->Input().PendingClicks(), 5u);
    EXPECT_EQ(Outlines()[0].header.guid, outlines[0].header.guid);
    keep = false;
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    ASSERT_EQ(Outlines().GetCount(), 1);
    EXPECT_NE(Outlines()[0].header.guid, outlines[0].header.guid);
    EXPECT_EQ(asked, 2);
}

TEST_F(OutlineCommandTest, KeepUsesUpThePickedHatchAndAnEditDropsVerticesWithoutPoints) {
    ClickRound();
    ASSERT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    const API_Guid outline = Outlines()[0].header.guid;
    API_Guid hatch = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, {{-1, -1, 0}, {-1, 21, 0}, {21, 21, 0}, {21, -1, 0}}, true, 1,
                                       "drawn", &hatch),
              NoError);
    keep = true;
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandFromHatch(Head(hatch)), 0);
    EXPECT_EQ(Db().Find(hatch), nullptr);
    EXPECT_NE(Db().Find(outline), nullptr);

    // The corner point (20, 20) is gone: the edited outline skips it.
    Delete(points[8]);
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandModify(Head(outline)), 0);
    ASSERT_EQ(Outlines().GetCount(), 1);
    EXPECT_EQ(Ring(Outlines()[0]).size(), 8u);

    // Fewer than three points left: the outline goes and 16 is reported.
    for (int i = 2; i < 8; ++i) Delete(points[size_t(i)]);
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandModify(Head(Outlines()[0].header.guid)), 16);
    EXPECT_EQ(Outlines().GetCount(), 0);
}

TEST_F(OutlineCommandTest, TooFewPointsInTheCorridorOrInTheRectangleMakeNoOutline) {
    // A path round the lower half of the left column: its narrow corridor holds two points. With an outline there
    // already, "Substitute" takes it away all the same and 16 is reported, as the user asked for the replacement;
    // only a failing host call takes the whole command back.
    for (const bool outlineBefore : {false, true}) {
        SCOPED_TRACE(outlineBefore ? "substituting an outline" : "the first outline");
        if (outlineBefore) {
            ClickRound();
            ASSERT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
            ASSERT_EQ(Outlines().GetCount(), 1);
        }
        for (const API_Coord& c : {API_Coord{-0.3, -0.3}, API_Coord{-0.3, 10.3}, API_Coord{5, 10.3}, API_Coord{5, -0.3},
                                   API_Coord{-0.3, -0.3}})
            host->Input().QueuePoint(c.x, c.y);
        EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 16);
        EXPECT_EQ(Outlines().GetCount(), 0);
    }

    // Rectangular: a rectangle round one point is left as it is, without a message.
    searchType = 0;
    for (const API_Coord& c : {API_Coord{8, 8}, API_Coord{8, 12}, API_Coord{12, 12}, API_Coord{12, 8}, API_Coord{8, 8}})
        host->Input().QueuePoint(c.x, c.y);
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    EXPECT_EQ(Outlines().GetCount(), 0);
}

TEST_F(OutlineCommandTest, AWideCorridorWhoseNodesCrossIsRefusedAndChangesNothing) {
    ClickRound();
    ASSERT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    const API_Guid outline = Outlines()[0].header.guid;
    // Four points and a corridor wider than their spread: the strips of the path's edges take them in an order
    // whose outline runs (20, 30), (60, 0), (60, 20), (20, 10) and crosses itself.
    for (const API_Guid& g : points) Delete(g);
    for (const API_Coord& p : {API_Coord{20, 30}, API_Coord{60, 0}, API_Coord{20, 10}, API_Coord{60, 20}})
        points.push_back(Point(p.x, p.y));
    corridorWidth = 70;
    const std::vector<API_Coord> path = {{-2, -2}, {-2, 62}, {62, 62}, {62, -2}, {-2, -2}};
    for (const API_Coord& c : path) host->Input().QueuePoint(c.x, c.y);
    const size_t undoSteps = Db().UndoTexts().size();
    log.str("");
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), ErrUnsuitablePolygon);
    ASSERT_EQ(Outlines().GetCount(), 1);
    EXPECT_EQ(Outlines()[0].header.guid, outline);
    EXPECT_EQ(Db().UndoTexts().size(), undoSteps);
    // The report says why: the width given, and where the outline's edges (20, 30)-(60, 0) and (60, 20)-(20, 10)
    // cross.
    EXPECT_NE(log.str().find("corridor, 70 m wide, make an outline that crosses itself at (40, 15)"), std::string::npos)
        << log.str();

    // The same path as a drawn hatch: refused too, and the hatch is not used up.
    API_Guid hatch = {};
    std::vector<API_Coord3D> ring;
    for (size_t i = 0; i + 1 < path.size(); ++i) ring.push_back({path[i].x, path[i].y, 0});
    ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, ring, true, 1, "drawn", &hatch), NoError);
    const size_t withHatch = Db().UndoTexts().size();
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandFromHatch(Head(hatch)), ErrUnsuitablePolygon);
    EXPECT_NE(Db().Find(hatch), nullptr);
    EXPECT_EQ(Outlines()[0].header.guid, outline);
    EXPECT_EQ(Db().UndoTexts().size(), withHatch);
}

TEST_F(OutlineCommandTest, AClickedPathThatCrossesItselfIsRefusedWithThePlace) {
    for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{20, 20}, API_Coord{20, 0}, API_Coord{0, 20}, API_Coord{0, 0}})
        host->Input().QueuePoint(c.x, c.y);
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), ErrUnsuitablePolygon);
    EXPECT_NE(log.str().find("the path crosses or touches itself at (10, 10)"), std::string::npos) << log.str();
}

TEST_F(OutlineCommandTest, ACancelRedrawsAndAViewWithoutPolygonInputGivesEleven) {
    host->Input().QueuePoint(0, 0);
    host->Input().QueueCancel();
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 0);
    EXPECT_NE(log.str().find("'RDRW'"), std::string::npos);

    Window(APIWind_3DModelID);
    ClickRound();
    EXPECT_EQ(OutlineData(GlobalSettings, inputDialogs).CommandByClicks(), 11);
    EXPECT_EQ(Outlines().GetCount(), 0);
}

}  // namespace outline_commands_test
