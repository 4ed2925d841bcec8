// The point and constraint tools against the in-process stand-in host: clicks make numbered points, a click on a
// point is refused, every way out of the click input closes the point-input palette and lowers the
// element-written flag when nothing was made; the chain input, selected-point edits and the upkeep passes after
// the user's copies, drags and deletions.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "settings/Settings.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/PointTool.hpp"
#include "foundation/PointInput.hpp"
#include "FakeTerrainInputDialogs.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include <random>

namespace terrain_input_test {

class TerrainInputTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        GlobalSettings.Reset();
        GlobalSettings.points.SetDefaults();
        GlobalSettings.constraint.SetDefaults();
        ElementWritten = 0;
        FakeTerrainInputDialogs& h = inputDialogs;
        h.openPointPalette = [this] { ++paletteOpen; };
        h.closePointPalette = [this] { --paletteOpen; };
        h.pointSettings = [this](PointSettings& r, uint8_t(&flags)[6]) { return dialog(r, flags); };
        h.constraintSettings = [](ConstraintSettings&, ConstraintSettings::Changed&) {
            return DialogAnswer::Confirmed;
        };
        Window(APIWind_FloorPlanID);
    }
    void TearDown() override {
        DGDriver::Reset();
        ElementWritten = 0;
        ProjectHostTest::TearDown();
    }

    API_Elem_Head Head(const API_Guid& g) {
        API_Elem_Head h = {};
        h.guid = g;
        h.typeID = Db().Find(g)->record.header.typeID;
        return h;
    }
    // A terrain point as the tool leaves it.
    API_Guid Point(double x, double y, double height, int32_t number) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceHotspot({x, y}, 1, "P" + std::to_string(++placed), &g), NoError);
        ElemDescriptor d;
        d.Name = "Point";
        d.Number = number;
        d.Value = height;
        d.AppendNumber = 1;
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Point, Head(g)) ? NoError : -1; }),
                  NoError);
        return g;
    }
    API_Guid Constraint(API_Coord a, API_Coord b, const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceLine(a, b, 1, name, &g), NoError);
        ElemDescriptor d;
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Constraint, Head(g)) ? NoError : -1; }),
                  NoError);
        return g;
    }
    ElemDescriptor Record(const API_Guid& g) {
        ElemDescriptor d;
        EXPECT_TRUE(ElemUserData_Read(d, ElemKind_Point, Head(g)));
        return d;
    }
    QV_List<API_Element> Points() {
        QV_List<API_Element> all;
        EXPECT_EQ(CollectAddOnObjects(ElemKind_Point, API_HotspotID, 0, all), 1);
        return all;
    }
    QV_List<API_Element> Lines() {
        QV_List<API_Element> all;
        EXPECT_EQ(CollectAddOnObjects(ElemKind_Constraint, API_LineID, 0, all), 1);
        return all;
    }
    bool Exists(const API_Guid& g) { return Db().Find(g) != nullptr; }
    void Click(double x, double y, const API_Guid& on = APINULLGuid) {
        QueuedClick c;
        c.point = {x, y, 0.0};
        c.element = on;
        host->Input().QueueClick(c);
    }

    FakeTerrainInputDialogs inputDialogs;
    int paletteOpen = 0;
    int placed = 0;
    std::function<DialogAnswer(PointSettings&, uint8_t (&)[6])> dialog = [](PointSettings&, uint8_t (&)[6]) {
        return DialogAnswer::Cancelled;
    };
};

TEST_F(TerrainInputTest, ClicksMakeNumberedPointsWrappingTheCodeAndRefuseAClickOnAPoint) {
    const API_Guid existing = Point(5, 5, 1.0, 7);
    GlobalSettings.points.codeNumber = 99998;
    GlobalSettings.points.value = 102.0;
    Click(0, 0);
    DGDriver::QueueAlertAnswer(1);
    Click(5, 5, existing);  // 31, asked again
    Click(20, 0);
    host->Input().QueueCancel();

    PointTool tool(GlobalSettings, inputDialogs);
    EXPECT_EQ(tool.PlaceByClicks(), 0);
    EXPECT_EQ(paletteOpen, 0);
    EXPECT_EQ(ElementWritten, 1);  // the new-element events of our points are ours
    const QV_List<API_Element> points = Points();
    ASSERT_EQ(points.GetCount(), 3);
    std::vector<int32_t> numbers;
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        if (points[i].header.guid == existing) continue;
        const ElemDescriptor d = Record(points[i].header.guid);
        numbers.push_back(d.Number);
        EXPECT_EQ(d.Value, 102.0);
        EXPECT_EQ(points[i].hotspot.height, 0.0);
    }
    EXPECT_EQ(numbers, (std::vector<int32_t>{99998, 99999}));
    EXPECT_EQ(GlobalSettings.points.codeNumber, 0);
    EXPECT_EQ(NextPointCodeNumber(0), 1);
}

TEST_F(TerrainInputTest, AFailedInputClosesThePaletteAndLowersTheFlag) {
    Click(40, 40);
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    PointTool tool(GlobalSettings, inputDialogs);
    EXPECT_EQ(tool.PlaceByClicks(), 12);
    EXPECT_EQ(paletteOpen, 0);
    EXPECT_EQ(ElementWritten, 0);
    EXPECT_EQ(Points().GetCount(), 0);
}

TEST_F(TerrainInputTest, EditingOnlyTheCommentOfSelectedPointsKeepsEverythingElse) {
    const API_Guid a = Point(0, 0, 100, 1), b = Point(20, 0, 101, 2), c = Point(40, 0, 102, 3);
    dialog = [](PointSettings& r, uint8_t(&flags)[6]) {
        r.text = "checked";
        r.value = 999.0;  // shown, but not flagged: must not reach the points
        flags[PointSettings::Id::text] = 1;
        return DialogAnswer::Confirmed;
    };
    PointTool tool(GlobalSettings, inputDialogs);
    EXPECT_EQ(tool.PlaceFromHotspots(Points()), 0);
    int32_t n = 1;
    for (const API_Guid& g : {a, b, c}) {
        const ElemDescriptor d = Record(g);
        EXPECT_EQ(d.Note.ToStdString(Encoding_UTF8), "checked");
        EXPECT_EQ(d.Value, 99.0 + n);
        EXPECT_EQ(d.Number, n++);
        EXPECT_EQ(Db().Find(g)->record.header.layer, 1);
    }
}

TEST_F(TerrainInputTest, CopiesDragsAndDeletionsKeepPointsAndConstraintsInStep) {
    const API_Guid a = Point(0, 0, 100, 1), b = Point(20, 0, 101, 2), c = Point(20, 20, 102, 3);
    const API_Guid ab = Constraint({0, 0}, {20, 0}, "AB");
    GlobalSettings.points.codeNumber = 50;

    // A pasted copy onto a point goes; one elsewhere becomes the next point and keeps its height.
    const API_Guid onB = Point(20, 0, 5, 9), free = Point(40, 0, 5, 9);
    const API_Elem_Head copies[] = {Head(onB), Head(free)};
    ASSERT_EQ(Command([&] { return PointTool::OnElementEvent(GlobalSettings.points, 2, copies, 2) ? NoError : -1; }),
              NoError);
    EXPECT_FALSE(Exists(onB));
    EXPECT_EQ(Record(free).Number, 50);
    EXPECT_EQ(Record(free).Value, 5.0);
    EXPECT_EQ(GlobalSettings.points.codeNumber, 51);
    // Two copies pasted onto one free place: the first meets the second and goes, the second stays alone.
    const API_Guid twin1 = Point(60, 0, 5, 9), twin2 = Point(60, 0, 6, 9);
    const API_Elem_Head twins[] = {Head(twin1), Head(twin2)};
    ASSERT_EQ(Command([&] { return PointTool::OnElementEvent(GlobalSettings.points, 2, twins, 2) ? NoError : -1; }),
              NoError);
    EXPECT_FALSE(Exists(twin1));
    EXPECT_EQ(Record(twin2).Number, 51);
    GlobalSettings.points.codeNumber = 51;

    // Dragged onto another point, b goes back; dragged elsewhere, the constraint's end follows it.
    for (const API_Coord to : {API_Coord{20, 20}, API_Coord{25, 5}}) {
        const API_Element before = Db().Find(b)->record;
        API_Element moved = before;
        moved.hotspot.pos = to;
        Db().FindMutable(b)->record = moved;
        const API_Elem_Head heads[] = {Head(b)};
        ASSERT_EQ(Command([&] {
                      return PointTool::OnElementEvent(GlobalSettings.points, 4, heads, 1, &before, 1) ? NoError : -1;
                  }),
                  NoError);
    }
    EXPECT_EQ(Db().Find(b)->record.Get().hotspot.pos.x, 25.0);
    EXPECT_EQ(Db().Find(ab)->record.Get().line.endC.x, 25.0);
    EXPECT_EQ(Db().Find(ab)->record.Get().line.endC.y, 5.0);

    // Deleting a point deletes the constraints that ended at it.
    ASSERT_EQ(Command([&] {
                  GS::Array<API_Guid> one;
                  one.Push(a);
                  return ACAPI_Element_Delete(one);
              }),
              NoError);
    ASSERT_EQ(Command([&] { return PointTool::OnElementEvent(GlobalSettings.points, 5, nullptr, 0) ? NoError : -1; }),
              NoError);
    EXPECT_FALSE(Exists(ab));
    EXPECT_TRUE(Exists(c));
}

TEST_F(TerrainInputTest, TheChainGoesOnFromItsLastEndRefusesCrossingsAndEndsOnItsStart) {
    const API_Guid a = Point(0, 0, 1, 1), b = Point(10, 0, 1, 2), c = Point(10, 10, 1, 3);
    Point(0, 10, 1, 4);
    Constraint({10, 0}, {0, 10}, "diagonal");
    Click(0, 0, a);
    Click(3, 3);       // no point there: 32, again
    Click(10, 10, c);  // crosses the diagonal: 33, again
    Click(10, 0);      // snaps to b
    Click(10, 10);     // B-C shares b with the diagonal's end: no crossing
    Click(10, 10);     // the start again: the chain ends
    for (int i = 0; i < 2; ++i) DGDriver::QueueAlertAnswer(1);

    ConstraintInput input(GlobalSettings, inputDialogs);
    EXPECT_EQ(input.Create(), 0);
    EXPECT_EQ(ElementWritten, 1);
    const QV_List<API_Element> lines = Lines();
    ASSERT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines[1].line.begC.x, 0.0);
    EXPECT_EQ(lines[1].line.endC.x, 10.0);
    EXPECT_EQ(lines[2].line.begC.x, 10.0);  // B-C starts where A-B ended
    EXPECT_EQ(lines[2].line.endC.y, 10.0);
    (void)b;

    // A constraint the host refuses ends the input with 43 instead of chaining on from a line that is not there.
    Point(0, -10, 1, 5);
    Click(0, 0);
    Click(0, -10);
    Click(10, 0);  // never asked for
    ASSERT_TRUE(host->FailCall("Element_Create", -1, APIERR_GENERAL));
    ElementWritten = 0;
    ConstraintInput refused(GlobalSettings, inputDialogs);
    EXPECT_EQ(refused.Create(), 43);
    EXPECT_EQ(ElementWritten, 0);
    EXPECT_EQ(Lines().GetCount(), 3);
    EXPECT_EQ(host->Input().PendingClicks(), 1u);
    host->ClearFailures();
    host->Input().ClearQueue();

    // A cancel before anything was made lowers the flag again.
    host->Input().QueueCancel();
    ConstraintInput again(GlobalSettings, inputDialogs);
    EXPECT_EQ(again.Create(), 0);
    EXPECT_EQ(ElementWritten, 0);
}

TEST_F(TerrainInputTest, TheCrossingPassDropsTheLaterOfTwoCrossingConstraintsOnly) {
    const API_Guid first = Constraint({0, 0}, {10, 10}, "first");
    const API_Guid later = Constraint({0, 10}, {10, 0}, "later");
    const API_Guid touching = Constraint({10, 10}, {20, 10}, "touching");
    const API_Guid parallel = Constraint({0.5, 0.5}, {5, 5}, "overlapping");
    ASSERT_EQ(Command([] { return ConstraintInput::RefreshOnUpdateC() ? NoError : APIERR_GENERAL; }), NoError);
    EXPECT_TRUE(Exists(first));
    EXPECT_FALSE(Exists(later));
    EXPECT_TRUE(Exists(touching));
    EXPECT_TRUE(Exists(parallel));
}

TEST_F(TerrainInputTest, AClickOnAPointReportsThePointKindWhoseTypeTheHostNames) {
    const API_Guid a = Point(3, 4, 1, 1);
    Click(3, 4, a);
    API_Coord3D at = {};
    API_Neig neig = {};
    ASSERT_EQ(
        GetPointFromUser(at, neig, QV_String("P"), nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr, true),
        NoError);
    EXPECT_EQ(neig.neigID, APINeig_ElemPoint);
    API_Element e;
    ASSERT_TRUE(GetElementOnPlan(neig, e));
    EXPECT_EQ(e.header.typeID, API_HotspotID);

    for (const auto& [kind, type] : {std::pair<API_NeigID, API_ElemTypeID>{APINeig_ElemPoint, API_HotspotID},
                                     {APINeig_Hatch, API_HatchID},
                                     {APINeig_Line, API_LineID}}) {
        API_NeigID k = kind;
        API_ElemTypeID named = 0;
        EXPECT_EQ(ACAPI_Goodies(APIAny_NeigIDToElemTypeID, &k, &named), NoError);
        EXPECT_EQ(named, type);
    }
    API_NeigID unknown = 99;
    API_ElemTypeID named = 0;
    EXPECT_NE(ACAPI_Goodies(APIAny_NeigIDToElemTypeID, &unknown, &named), NoError);
    neig.guid = APINULLGuid;
    EXPECT_FALSE(GetElementOnPlan(neig, e));
}

// The crossing rule against an exact orientation test, on random pairs away from the tolerances.
TEST(ConstraintsCrossTest, AgreesWithOrientationsOnGeneralPairs) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-50.0, 50.0);
    const auto orient = [](API_Coord a, API_Coord b, API_Coord c) {
        return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    };
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const API_Coord p[4] = {
            {coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
        const double o1 = orient(p[0], p[1], p[2]), o2 = orient(p[0], p[1], p[3]);
        const double o3 = orient(p[2], p[3], p[0]), o4 = orient(p[2], p[3], p[1]);
        if (std::fabs(o1) < 1e-3 || std::fabs(o2) < 1e-3 || std::fabs(o3) < 1e-3 || std::fabs(o4) < 1e-3) continue;
        const bool expected = (o1 > 0) != (o2 > 0) && (o3 > 0) != (o4 > 0);
        ASSERT_EQ(ConstraintsCross(p[0], p[1], p[2], p[3]), expected) << i;
        ASSERT_EQ(ConstraintsCross(p[2], p[3], p[0], p[1]), expected) << i;
        ++checked;
    }
    EXPECT_GT(checked, 15000);
    // Collinear overlapping pairs are parallel: never crossing.
    EXPECT_FALSE(ConstraintsCross({0, 0}, {10, 0}, {5, 0}, {15, 0}));
    EXPECT_FALSE(ConstraintsCross({0, 0}, {0, 10}, {0, 5}, {0, 15}));
}

// The crossing pass through its grid deletes exactly the constraints the pairwise loop deletes, in its order, on
// random layouts: scattered, crowded around shared points, long parallel runs, and far from the origin.
TEST(ConstraintsCrossTest, TheGridFindsWhatEveryPairWouldInTheSameOrder) {
    const auto pairwise = [](std::vector<API_LineType> lines) {
        std::vector<size_t> ids(lines.size());
        for (size_t i = 0; i < ids.size(); ++i) ids[i] = i;
        std::vector<int32_t> gone;
        const auto shares = [](const API_LineType& a, const API_LineType& b) {
            return PointsCoincide(a.begC, b.begC) || PointsCoincide(a.begC, b.endC) || PointsCoincide(a.endC, b.begC) ||
                PointsCoincide(a.endC, b.endC);
        };
        for (size_t i = 0; i < lines.size(); ++i)
            for (size_t j = i + 1; j < lines.size();) {
                if (!shares(lines[i], lines[j]) &&
                    ConstraintsCross(lines[i].begC, lines[i].endC, lines[j].begC, lines[j].endC)) {
                    gone.push_back(int32_t(ids[j]));
                    lines.erase(lines.begin() + std::ptrdiff_t(j));
                    ids.erase(ids.begin() + std::ptrdiff_t(j));
                    continue;
                }
                ++j;
            }
        return gone;
    };
    std::mt19937 rng(11);
    for (int layout = 0; layout < 4; ++layout)
        for (int round = 0; round < 12; ++round) {
            const double base = layout == 3 ? 6.6e6 : 0.0;
            std::uniform_real_distribution<double> coord(0.0, layout == 1 ? 3.0 : 200.0);
            std::uniform_real_distribution<double> len(0.5, 20.0);
            std::vector<API_LineType> lines(size_t(150 + round * 20));
            std::vector<API_Coord> shared;
            for (auto& l : lines) {
                l = API_LineType();
                if (layout == 1 && !shared.empty() && rng() % 3 == 0) {
                    l.begC = shared[rng() % shared.size()];  // crowded: many lines start on the same points
                } else {
                    l.begC = {base + coord(rng), base + coord(rng)};
                    shared.push_back(l.begC);
                }
                if (layout == 2) {  // long, nearly parallel runs crossed now and then
                    l.endC = {l.begC.x + 150.0, l.begC.y + (rng() % 7 == 0 ? 40.0 : 0.01 * double(rng() % 5))};
                } else {
                    const double a = double(rng() % 6283) / 1000.0, d = len(rng);
                    l.endC = {l.begC.x + d * std::cos(a), l.begC.y + d * std::sin(a)};
                }
            }
            QV_List<API_Element> list;
            for (const auto& l : lines) {
                API_Element e = {};
                e.header.typeID = API_LineID;
                e.line = l;
                list.Insert(e);
            }
            const std::vector<int32_t> expected = pairwise(lines);
            ASSERT_EQ(ConstraintInput::CrossedConstraints(list), expected) << "layout " << layout << " round " << round;
            if (layout != 1) {
                EXPECT_FALSE(expected.empty());
            }
        }
}

}  // namespace terrain_input_test
