// Curve division into non-crossing segments: the crossing test, arcs by count and by length, selected lines,
// circles, polylines and splines, the curve segmentation dialog, and the ordering into chains.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "geometry/project/CurveDivision.hpp"

#include <cmath>
#include <random>

namespace curve_division_test {

constexpr double kPi = 3.14159265358979323846;

double Length(const PlanSegment& s) { return std::hypot(s.x2 - s.x1, s.y2 - s.y1); }

// No two segments of the list cross, except at shared end points.
bool NoneCross(const QV_List<PlanSegment>& list) {
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        QV_List<PlanSegment> before;
        for (int32_t j = 0; j < i; ++j) before.Insert(list[j]);
        if (SegmentCrossesList(list[i], before)) return false;
    }
    return true;
}

class CurveDivisionTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        CurveSegmentation = {1, 1.0, 36};
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    API_Guid Arc(double r, double beg, double end, double ratio = 1.0, bool circle = false) {
        API_Element e = {};
        e.header.typeID = circle ? API_CircleID : API_ArcID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.arc.origC = {10, 10};
        e.arc.r = r;
        e.arc.ratio = ratio;
        e.arc.begAng = beg;
        e.arc.endAng = end;
        EXPECT_EQ(Db().PlaceElement(&e, StoredMemo(), "", "Place"), NoError);
        return e.header.guid;
    }
    API_Guid Spline(const std::vector<API_Coord>& points, bool closed, bool withDirs = true) {
        API_Element e = {};
        e.header.typeID = API_SplineID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.spline.closed = closed ? 1 : 0;
        StoredMemo memo;
        memo.coords = points;
        if (withDirs) {
            std::vector<API_SplineDir> dirs;
            for (size_t i = 0; i < points.size(); ++i) dirs.push_back({1.0, 1.0, 0.3 * double(i)});
            memo.bezierDirs = dirs;
        }
        EXPECT_EQ(Db().PlaceElement(&e, memo, "", "Place"), NoError);
        return e.header.guid;
    }
    API_Guid Line(double x1, double y1, double x2, double y2) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceLine({x1, y1}, {x2, y2}, 1, "", &g), NoError);
        return g;
    }
    int32_t Run(QV_List<PlanSegment>& segments, QV_List<API_Elem_Head>& sources) {
        return SegmentSelectedSplines(ask, 0, 1, segments, sources);
    }
    // The dialog the contour command hands in.
    CurveSegmentationAsk ask = AskCurveSegmentation;
};

TEST(IntersectSegmentsTest, InsideEndsParallelAndSteep) {
    API_Coord p;
    ASSERT_TRUE(IntersectSegments({0, 0, 2, 2}, {0, 2, 2, 0}, p));
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_TRUE(IntersectSegments({0, 0, 2, 0}, {2, 0, 2, 5}, p));  // touching at the ends counts
    EXPECT_FALSE(IntersectSegments({0, 0, 2, 0}, {2.001, -1, 2.001, 1}, p));
    EXPECT_FALSE(IntersectSegments({0, 0, 2, 0}, {0, 1, 2, 1}, p));  // parallel
    ASSERT_TRUE(IntersectSegments({1, -1, 1, 1}, {0, 0, 3, 0}, p));  // a vertical s takes the y form
    EXPECT_NEAR(p.y, 0.0, 1e-12);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_FALSE(IntersectSegments({1, 1, 1, 1}, {0, 0, 3, 3}, p));  // no direction: no crossing, no NaN

    QV_List<PlanSegment> list;
    list.Insert({0, 0, 2, 2});
    EXPECT_FALSE(SegmentCrossesList({2, 2, 0, 3}, list));  // shares an end: not tested
    EXPECT_TRUE(SegmentCrossesList({0, 2, 2, 0}, list));
    EXPECT_FALSE(OfferSegment({0, 2, 2, 0}, list));
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(CurveDivisionTest, CrossingLinesLoseTheLaterOneMeetingLinesStay) {
    const API_Guid a = Line(0, 0, 4, 4);
    const API_Guid b = Line(0, 4, 4, 0);
    const API_Guid c = Line(4, 4, 8, 4);
    Select({a, b, c});
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    ASSERT_EQ(Run(segs, sources), CurveDivision_Done);
    ASSERT_EQ(segs.GetCount(), 2);
    EXPECT_EQ(segs[1].x2, 8.0);
    EXPECT_EQ(sources.GetCount(), 3);      // every line offered counts as a source
    EXPECT_TRUE(DGDriver::Log().empty());  // no curve: no dialog
}

TEST_F(CurveDivisionTest, CircleByCountGivesItsSegmentsBackToTheStart) {
    Select({Arc(2.0, 0, 0, 1.0, true)});
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    ASSERT_EQ(Run(segs, sources), CurveDivision_Done);  // the dialog was answered with OK
    ASSERT_EQ(segs.GetCount(), 36);
    EXPECT_NEAR(segs[35].x2, segs[0].x1, 1e-9);
    EXPECT_NEAR(segs[35].y2, segs[0].y1, 1e-9);
    for (const PlanSegment& s : segs) EXPECT_NEAR(Length(s), 2 * 2.0 * std::sin(kPi / 36), 1e-9);
    EXPECT_TRUE(NoneCross(segs));
    ASSERT_EQ(DGDriver::Log().size(), 1u);
    EXPECT_EQ(DGDriver::Log()[0].id, CurveSegmentationDialogId);
    EXPECT_EQ(DGDriver::Log()[0].title, "Curve segmentation");
}

TEST_F(CurveDivisionTest, ArcByLengthAndItsGuards) {
    QV_List<PlanSegment> segs;
    CurveSegmentation = {0, 1.0, 36};
    QV_Arc arc = QV_Arc::Degenerate();
    arc.center = {0, 0};
    arc.radiusX = arc.radiusY = 5.0;
    arc.startAngle = 0.0;
    arc.endAngle = kPi / 2;
    SegmentArcRecord(arc, segs);
    const int32_t n = segs.GetCount();
    ASSERT_EQ(n, 8);  // 7 whole chords of 1.0 and a short one to the end
    for (int32_t i = 0; i + 1 < n; ++i) EXPECT_NEAR(Length(segs[i]), 1.0, 1e-9);
    EXPECT_LT(Length(segs[n - 1]), 1.0);
    EXPECT_NEAR(segs[n - 1].x2, 0.0, 1e-9);
    EXPECT_NEAR(segs[n - 1].y2, 5.0, 1e-9);
    // Clockwise: the same chords the other way round.
    std::swap(arc.startAngle, arc.endAngle);
    QV_List<PlanSegment> back;
    SegmentArcRecord(arc, back);
    EXPECT_EQ(back.GetCount(), 8);
    // Longer than the diameter, not positive, or not even one chord: nothing (and no NaN loop).
    for (const double length : {10.5, 0.0, -1.0, std::nan("")}) {
        CurveSegmentation.segmentLength = length;
        QV_List<PlanSegment> none;
        SegmentArcRecord(arc, none);
        EXPECT_EQ(none.GetCount(), 0) << length;
    }
    CurveSegmentation.segmentLength = 9.0;
    QV_List<PlanSegment> one;
    SegmentArcRecord(arc, one);
    EXPECT_EQ(one.GetCount(), 0);
    // Very short chords are bounded.
    CurveSegmentation.segmentLength = 1e-9;
    QV_List<PlanSegment> many;
    arc.endAngle = arc.startAngle + 0.01;
    SegmentArcRecord(arc, many);
    EXPECT_LE(many.GetCount(), 10001);
    // By count: no count, no segment; a degenerate arc gives nothing.
    CurveSegmentation = {1, 1.0, 0};
    QV_List<PlanSegment> zero;
    SegmentArcRecord(arc, zero);
    EXPECT_EQ(zero.GetCount(), 0);
    CurveSegmentation.segmentCount = 4;
    SegmentArcRecord(QV_Arc::Degenerate(), zero);
    EXPECT_EQ(zero.GetCount(), 0);
}

TEST_F(CurveDivisionTest, EllipticArcsContributeNothing) {
    Select({Arc(2.0, 0, 1.0, 0.5), Line(50, 50, 60, 60)});
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    ASSERT_EQ(Run(segs, sources), CurveDivision_Done);
    EXPECT_EQ(segs.GetCount(), 1);
    EXPECT_TRUE(DGDriver::Log().empty());  // the elliptic arc is no curve to ask about
}

TEST_F(CurveDivisionTest, CancelledDialogIsToldApartFromSuccess) {
    Select({Arc(2.0, 0, 1.0)});
    DGDriver::QueueClick(CurveSegmentationDialogId, 2);
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    EXPECT_EQ(Run(segs, sources), CurveDivision_Cancelled);
    EXPECT_EQ(segs.GetCount(), 0);
    EXPECT_EQ(CurveSegmentation.segmentCount, 36);

    // Without the dialog handed in, curves are not divided and nothing is shown.
    ask = nullptr;
    DGDriver::Reset();
    EXPECT_EQ(Run(segs, sources), CurveDivision_Cancelled);
    EXPECT_EQ(segs.GetCount(), 0);
    EXPECT_TRUE(DGDriver::Log().empty());
}

TEST_F(CurveDivisionTest, DialogStoresTheChoiceAndBothValues) {
    DGDriver::QueueSetLong(CurveSegmentationDialogId, 8, 1);  // "Segment length"
    DGDriver::QueueSetDouble(CurveSegmentationDialogId, 9, 0.75);
    DGDriver::QueueSetLong(CurveSegmentationDialogId, 6, 12);  // refused: disabled once length is chosen
    DGDriver::QueueClick(CurveSegmentationDialogId, 1);
    CurveSegmentationDialogData data = {};
    CurveSegmentationRecord record = {1, 1.0, 36};
    EXPECT_TRUE(OpenCurveSegmentationDialog(data, &record));
    EXPECT_EQ(record.byCount, 0);
    EXPECT_EQ(record.segmentLength, 0.75);
    EXPECT_EQ(record.segmentCount, 36);
    ASSERT_FALSE(DGDriver::Errors().empty());  // the disabled edit could not be typed into
    DGDriver::Reset();
    DGDriver::QueueClick(CurveSegmentationDialogId, 1);
    record = {0, 2.5, 7};
    EXPECT_TRUE(OpenCurveSegmentationDialog(data, &record));
    EXPECT_EQ(record.byCount, 0);
    EXPECT_EQ(record.segmentLength, 2.5);
    EXPECT_EQ(record.segmentCount, 7);
    const DGDriver::LogRecord& shown = DGDriver::Log().back();
    for (const DGDriver::ItemState& item : shown.items) {
        if (item.id == 6) {
            EXPECT_FALSE(item.enabled);
            EXPECT_EQ(item.maxValue, 100.0);
        } else if (item.id == 9) {
            EXPECT_TRUE(item.enabled);
        } else if (item.id == 5) {
            EXPECT_EQ(item.text, "Segments along arc");
        }
    }
}

TEST_F(CurveDivisionTest, PolylineWithAnArcAndTwoParts) {
    API_Element e = {};
    e.header.typeID = API_PolyLineID;
    ASSERT_EQ(Db().GetDefaults(&e, nullptr), NoError);
    StoredMemo memo;
    // First sub-polyline: (0,0) -> (4,0) straight, (4,0) -> (4,4) a half circle; second: (10,0) -> (10,5) with a
    // repeated point.
    memo.coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {4, 0}, {4, 4}, {10, 0}, {10, 0}, {10, 5}};
    memo.pends = std::vector<int32_t>{0, 3, 6};
    memo.parcs = std::vector<API_PolyArc>{{2, 3, kPi}};
    e.polyLine.poly = {6, 2, 1, 0};
    ASSERT_EQ(Db().PlaceElement(&e, memo, "", "Place"), NoError);
    Select({e.header.guid});
    CurveSegmentation = {1, 1.0, 6};
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    ASSERT_EQ(Run(segs, sources), CurveDivision_Done);
    ASSERT_EQ(segs.GetCount(), 1 + 6 + 1);
    EXPECT_NEAR(segs[6].x2, 4.0, 1e-9);
    EXPECT_NEAR(segs[6].y2, 4.0, 1e-9);
    EXPECT_EQ(segs[7].x1, 10.0);  // the second part starts afresh, not from the first part's end
    EXPECT_EQ(segs[7].y2, 5.0);
    EXPECT_TRUE(NoneCross(segs));
    EXPECT_EQ(sources.GetCount(), 1);

    // A record claiming more points than its memo holds reads what is there.
    API_Element liar = Db().Find(e.header.guid)->record;
    liar.polyLine.poly.nCoords = 500;
    QV_List<PlanSegment> more;
    EXPECT_TRUE(SegmentPolylineElement(liar, more, sources));
    EXPECT_EQ(more.GetCount(), 8);
}

TEST_F(CurveDivisionTest, SplinesOpenClosedAndEmpty) {
    const API_Guid open = Spline({{0, 0}, {5, 3}, {10, 0}}, false);
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    CurveSegmentation = {1, 1.0, 8};
    API_Element e = Db().Find(open)->record;
    ASSERT_TRUE(SegmentSplineElement(e, segs, sources));
    ASSERT_GE(segs.GetCount(), 7);
    EXPECT_EQ(segs[0].x1, 0.0);
    EXPECT_EQ(segs[segs.GetCount() - 1].x2, 10.0);
    EXPECT_TRUE(NoneCross(segs));

    const API_Guid ring = Spline({{0, 0}, {6, 0}, {6, 6}, {0, 6}}, true);
    QV_List<PlanSegment> closed;
    ASSERT_TRUE(SegmentSplineElement(Db().Find(ring)->record, closed, sources));
    ASSERT_GT(closed.GetCount(), 4);
    EXPECT_EQ(closed[closed.GetCount() - 1].x2, 0.0);  // back to the first control point
    EXPECT_EQ(closed[closed.GetCount() - 1].y2, 0.0);

    // No control points, or one: nothing to read out of range, nothing produced.
    const API_Guid empty = Spline({}, false, false);
    QV_List<PlanSegment> none;
    const int32_t before = sources.GetCount();
    EXPECT_TRUE(SegmentSplineElement(Db().Find(empty)->record, none, sources));
    EXPECT_EQ(none.GetCount(), 0);
    EXPECT_EQ(sources.GetCount(), before);
    // Fewer direction records than points: the missing ones are corners.
    const API_Guid bare = Spline({{0, 0}, {3, 3}, {6, 0}}, false, false);
    QV_List<PlanSegment> corners;
    EXPECT_TRUE(SegmentSplineElement(Db().Find(bare)->record, corners, sources));
    EXPECT_GT(corners.GetCount(), 0);
    CurveSegmentation = {1, 1.0, 0};  // no count: no division
    QV_List<PlanSegment> noCount;
    EXPECT_TRUE(SegmentSplineElement(Db().Find(open)->record, noCount, sources));
    EXPECT_EQ(noCount.GetCount(), 0);
    // A deleted spline's memo cannot be read.
    API_Element gone = Db().Find(open)->record;
    gone.header.guid = APINULLGuid;
    EXPECT_FALSE(SegmentSplineElement(gone, none, sources));
}

TEST_F(CurveDivisionTest, ManyCrossingLinesNeverCrossAfterDivision) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(0.0, 20.0);
    std::vector<API_Guid> lines;
    for (int i = 0; i < 60; ++i) lines.push_back(Line(at(rng), at(rng), at(rng), at(rng)));
    lines.push_back(Arc(3.0, 0.2, 2.5));
    Select(lines);
    QV_List<PlanSegment> segs;
    QV_List<API_Elem_Head> sources;
    ASSERT_EQ(Run(segs, sources), CurveDivision_Done);
    EXPECT_GT(segs.GetCount(), 5);
    EXPECT_LT(segs.GetCount(), 60 + 36);
    EXPECT_TRUE(NoneCross(segs));
}

TEST(MatchSegmentEndpointsTest, BranchesFirstThenChains) {
    QV_List<PlanSegment> list;
    list.Insert({10, 10, 11, 10});  // lone
    list.Insert({0, 0, 1, 0});      // three meet at (0, 0)
    list.Insert({0, 1, 0, 0});
    list.Insert({-1, 0, 0, 0});
    MatchSegmentEndpoints(list);
    EXPECT_EQ(list[0].x2, 1.0);  // the segment at the branch point moved to the front
    EXPECT_EQ(list[0].x1, 0.0);

    // A shuffled, partly reversed open chain comes out joined end to start.
    QV_List<PlanSegment> chain;
    chain.Insert({0, 0, 1, 0});
    chain.Insert({3, 0, 2, 0});
    chain.Insert({1, 0, 2, 0});
    chain.Insert({3, 0, 4, 0});
    MatchSegmentEndpoints(chain);
    for (int32_t i = 0; i + 1 < chain.GetCount(); ++i) {
        EXPECT_NEAR(chain[i].x2, chain[i + 1].x1, 5e-5) << i;
        EXPECT_NEAR(chain[i].y2, chain[i + 1].y1, 5e-5) << i;
    }
    EXPECT_EQ(chain.GetCount(), 4);
}

TEST(MatchSegmentEndpointsTest, ClosedRingsEndAndStayWhole) {
    QV_List<PlanSegment> ring;
    ring.Insert({0, 0, 1, 0});
    ring.Insert({1, 1, 0, 1});
    ring.Insert({1, 0, 1, 1});
    ring.Insert({0, 1, 0, 0});
    MatchSegmentEndpoints(ring);
    ASSERT_EQ(ring.GetCount(), 4);
    for (int32_t i = 0; i < 4; ++i) {
        const PlanSegment& s = ring[i];
        const PlanSegment& t = ring[(i + 1) % 4];
        EXPECT_NEAR(s.x2, t.x1, 5e-5) << i;
        EXPECT_NEAR(s.y2, t.y1, 5e-5) << i;
    }
    // Degenerate input (zero-length segments at one point, rings with reversed parts) still ends.
    QV_List<PlanSegment> odd;
    for (int i = 0; i < 6; ++i) odd.Insert({0, 0, 0, 0});
    odd.Insert({0, 0, 1, 1});
    odd.Insert({1, 1, 0, 0});
    MatchSegmentEndpoints(odd);
    EXPECT_EQ(odd.GetCount(), 8);
    QV_List<PlanSegment> single;
    single.Insert({0, 0, 1, 1});
    MatchSegmentEndpoints(single);
    EXPECT_EQ(single[0].x2, 1.0);
}

// The length edit admits zero and negative lengths; whatever the user types, the division of arcs, circles and
// splines ends with a bounded number of segments (very short positive lengths are bounded per arc above).
TEST_F(CurveDivisionTest, AnyLengthTheDialogAdmitsEnds) {
    const std::vector<API_Guid> curves = {Arc(3.0, 0, 2.0), Arc(2.0, 0, 0, 1.0, true),
                                          Spline({{0, 0}, {5, 3}, {10, 0}, {12, 4}}, false)};
    for (const double length : {0.0, -0.0, -1e-300, -1.0, -999999.99, 0.5}) {
        Select(curves);
        DGDriver::QueueSetLong(CurveSegmentationDialogId, 8, 1);
        DGDriver::QueueSetDouble(CurveSegmentationDialogId, 9, length);
        DGDriver::QueueClick(CurveSegmentationDialogId, 1);
        QV_List<PlanSegment> segs;
        QV_List<API_Elem_Head> sources;
        ASSERT_EQ(Run(segs, sources), CurveDivision_Done) << length;
        EXPECT_EQ(CurveSegmentation.byCount, 0);
        EXPECT_EQ(CurveSegmentation.segmentLength, length);
        if (!(length > 0.0)) {
            // No step to take: the arcs give nothing and the spline no inner division point.
            EXPECT_LE(segs.GetCount(), 1) << length;
        }
        EXPECT_TRUE(NoneCross(segs)) << length;
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
    }
}

}  // namespace curve_division_test
