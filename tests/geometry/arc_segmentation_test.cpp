#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "GeometryTestUtil.hpp"
#include "geometry/ArcSegmentation.hpp"
#include "geometry/QV_Poly.hpp"

namespace arc_segmentation_test {

using namespace GeometryTest;

QV_Arc Circle(double cx, double cy, double r, double a0, double a1) {
    return QV_Arc{P(cx, cy), a0, a1, r, r, 1.0, 0.0};
}

// Angles (about the arc's centre, in [0, 2pi)) of the target's vertices after the first.
std::vector<double> AnglesAfterStart(const QV_Poly& poly, const QV_Arc& arc) {
    std::vector<double> out;
    for (int32_t i = 1; i < poly.VertexCount(); ++i) out.push_back(QV_Arc::AngleOfPoint(arc, poly.vertices[i], 1e-9));
    return out;
}

// A curve's points and radius, given by its SOSI kind: arcs of kind 4 and circles of kind 6 go by their radius.
constexpr int16_t KindArcByRadius = 4, KindCircle = 6;
struct Curve {
    QV_List<API_Coord3D> points;
    double radius = 0.0;
    CurveArcForm form = CurveArcForm::ThroughPoints;
};

Curve Record(int16_t kind, std::initializer_list<API_Coord> pts, double radius = 0.0) {
    Curve r;
    for (const API_Coord& p : pts) r.points.Insert(API_Coord3D{p.x, p.y, 7.0});
    r.radius = radius;
    r.form = kind == KindArcByRadius || kind == KindCircle ? CurveArcForm::ByRadius : CurveArcForm::ThroughPoints;
    return r;
}
QV_Arc ArcOf(const Curve& c) { return ArcFromCurveRecord(c.points, c.radius, c.form); }
QV_Arc CircleOf(const Curve& c) { return CircleFromCurveRecord(c.points, c.radius, c.form); }

TEST(ArcGrid, QuarterCircleOnThePiOver128Grid) {
    const QV_Arc arc = Circle(0, 0, 10, 0, M_PI / 2);
    for (const double chordError : {0.0, 0.001}) {
        const int32_t n = ArcSegmentCount(arc.radiusX, M_PI / 2, 36, chordError);
        EXPECT_EQ(n, chordError == 0 ? 36 : 56);
        QV_Poly t;
        t.vertices.Insert(PointOnArc(arc, 0));
        AppendArcGridPoints(t, arc, (M_PI / 2) / n);
        ASSERT_EQ(t.VertexCount(), 65);
        ASSERT_EQ(t.CodeCount(), 64);
        const std::vector<double> a = AnglesAfterStart(t, arc);
        for (int k = 1; k <= 63; ++k) EXPECT_NEAR(a[k - 1], k * M_PI / 128, 1e-12);
        EXPECT_NEAR(a.back(), M_PI / 2, 1e-12);
    }
}

TEST(ArcGrid, ArcsAcrossTheSeamInBothDirections) {
    // Counter-clockwise from -pi/4 to pi/4: shifted by 2pi, still counter-clockwise through angle 0.
    const QV_Arc ccw = Circle(1, 2, 3, -M_PI / 4, M_PI / 4);
    QV_Poly t;
    t.vertices.Insert(PointOnArc(ccw, ccw.startAngle));
    AppendArcGridPoints(t, ccw, M_PI / 8);  // grid pi/8
    std::vector<double> a = AnglesAfterStart(t, ccw);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_NEAR(a[0], 2 * M_PI - M_PI / 8, 1e-12);
    EXPECT_NEAR(a[1], 0.0, 1e-12);
    EXPECT_NEAR(a[2], M_PI / 8, 1e-12);
    EXPECT_NEAR(a[3], M_PI / 4, 1e-12);

    // Clockwise from pi/4 down to -pi/4.
    const QV_Arc cw = Circle(1, 2, 3, M_PI / 4, -M_PI / 4);
    QV_Poly u;
    u.vertices.Insert(PointOnArc(cw, cw.startAngle));
    AppendArcGridPoints(u, cw, M_PI / 8);
    a = AnglesAfterStart(u, cw);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_NEAR(a[0], M_PI / 8, 1e-12);
    EXPECT_NEAR(std::remainder(a[1], 2 * M_PI), 0.0, 1e-12);
    EXPECT_NEAR(a[2], 2 * M_PI - M_PI / 8, 1e-12);
    EXPECT_NEAR(a[3], 2 * M_PI - M_PI / 4, 1e-12);

    // A zero or absurd step only appends the end point.
    QV_Poly v;
    AppendArcGridPoints(v, ccw, 0.0);
    AppendArcGridPoints(v, ccw, std::nan(""));
    EXPECT_EQ(v.VertexCount(), 2);
}

TEST(ArcGrid, SegmentCountRules) {
    EXPECT_EQ(ArcSegmentCount(0.0005, M_PI, 36, 0.001), 3);  // chord error above the radius
    EXPECT_EQ(ArcSegmentCount(10, M_PI, 1, 0.0), 3);         // at least 3
    EXPECT_EQ(ArcSegmentCount(10, M_PI, 12, 0.0), 12);
    EXPECT_EQ(ArcSegmentCount(1e30, 2 * M_PI, 12, 0.001), 1 << 20);  // finite for absurd radii
    EXPECT_EQ(ArcSegmentCount(std::nan(""), M_PI, 12, 0.001), 3);
}

TEST(DivideRangeTest, EqualStepsBothDirections) {
    QV_List<API_Coord> pts;
    const QV_Arc cw = Circle(0, 0, 2, M_PI, 0);
    DivideRange(cw, pts, 4);
    ASSERT_EQ(pts.GetCount(), 5);
    for (int k = 0; k < 5; ++k) {
        const double a = M_PI - k * M_PI / 4;
        EXPECT_NEAR(pts[k].x, 2 * std::cos(a), 1e-12);
        EXPECT_NEAR(pts[k].y, 2 * std::sin(a), 1e-12);
    }
    for (const int32_t n : {0, -3}) {
        DivideRange(cw, pts, n);
        ASSERT_EQ(pts.GetCount(), 1);
        EXPECT_NEAR(pts[0].x, -2.0, 1e-12);
    }
}

TEST(PointOnArcTest, RotationAndRadii) {
    QV_Arc e{P(1, 1), 0, M_PI, 4, 2, 0.5, M_PI / 2};
    const API_Coord p = PointOnArc(e, 0);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, 5.0, 1e-12);
    e.rotation = 5e-8;  // below 1e-7: not applied
    EXPECT_EQ(PointOnArc(e, 0).x, 5.0);
}

TEST(SegmentArcsTest, RingBecomesStraightAndKeepsItsVertices) {
    // A 20 x 10 slot: two straight sides and two half circles of radius 5.
    QV_Poly p = Straight({P(0, 0), P(20, 0), P(20, 10), P(0, 10)});
    MakeArc(p, 1, P(25, 5));
    MakeArc(p, 3, P(-5, 5));
    QV_Poly s;
    s.clockwise = 1;  // stale on purpose
    QV_Poly::SegmentArcs(p, s, 36, 0.0);
    ASSERT_TRUE(s.IsClosed());
    EXPECT_EQ(s.arcs.GetCount(), 0);
    for (int32_t i = 0; i < s.CodeCount(); ++i) EXPECT_EQ(s.codes[i], -1);
    EXPECT_EQ(s.clockwise, 0);
    // The outline's own vertices are kept bit for bit, and every point lies on its circle.
    std::set<std::pair<double, double>> pts;
    for (int32_t i = 0; i < s.VertexCount(); ++i) {
        pts.insert({s.vertices[i].x, s.vertices[i].y});
        const API_Coord& v = s.vertices[i];
        if (v.x > 20) {
            EXPECT_NEAR(std::hypot(v.x - 20, v.y - 5), 5.0, 1e-12);
        }
        if (v.x < 0) {
            EXPECT_NEAR(std::hypot(v.x, v.y - 5), 5.0, 1e-12);
        }
    }
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(pts.count({p.vertices[i].x, p.vertices[i].y}), 1u);
    EXPECT_EQ(pts.size(), static_cast<size_t>(s.VertexCount()));  // no repeated vertex
    EXPECT_NEAR(-s.SignedArea(), 200 + 25 * M_PI, 0.2);
    // The grid is anchored at angle 0, so the same circle cut elsewhere shares its intermediate vertices.
    const int32_t before = s.VertexCount();
    QV_Poly::SegmentArcs(p, p, 36, 0.0);  // source and target the same polygon
    EXPECT_EQ(p.VertexCount(), before);
}

TEST(SegmentArcsTest, ChainsAndRefusals) {
    QV_Poly c = Straight({P(0, 0), P(10, 0), P(10, 10)}, false);
    MakeArc(c, 1, P(12, 5));
    QV_Poly s;
    QV_Poly::SegmentArcs(c, s, 12, 0.001);
    EXPECT_EQ(s.CodeCount(), s.VertexCount() - 1);
    EXPECT_EQ(s.vertices[s.VertexCount() - 1].y, 10.0);
    QV_Poly::SegmentArcs(c, s, -1, 0.001);
    EXPECT_EQ(s.VertexCount(), 0);
    QV_Poly::SegmentArcs(c, s, 12, -0.001);
    EXPECT_EQ(s.VertexCount(), 0);
    QV_Poly::SegmentArcs(QV_Poly(), s, 12, 0.001);
    EXPECT_EQ(s.VertexCount(), 0);
    // A lens of two arcs (a usable 2-vertex ring) becomes a ring of many vertices.
    QV_Poly lens = Straight({P(-1, 0), P(1, 0)});
    MakeArc(lens, 0, P(0, -0.5));
    MakeArc(lens, 1, P(0, 0.5));
    QV_Poly::SegmentArcs(lens, s, 15, 0.0);
    EXPECT_TRUE(s.IsClosed());
    EXPECT_GT(s.VertexCount(), 20);
    EXPECT_EQ(s.vertices[0].x, -1.0);
}

TEST(CurveRecordArcs, ThreePointKinds) {
    QV_Arc a = ArcOf(Record(2, {P(0, -1), P(1, 0), P(0, 1)}));
    EXPECT_NEAR(a.center.x, 0.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    EXPECT_NEAR(a.startAngle, 1.5 * M_PI, 1e-12);
    EXPECT_NEAR(a.endAngle, 2.5 * M_PI, 1e-12);
    EXPECT_NEAR(a.radiusX, 1.0, 1e-12);
    // Clockwise points are stored reversed, still counter-clockwise through the middle point.
    a = ArcOf(Record(2, {P(0, 1), P(1, 0), P(0, -1)}));
    EXPECT_NEAR(a.startAngle, 1.5 * M_PI, 1e-12);
    EXPECT_NEAR(a.endAngle, 2.5 * M_PI, 1e-12);
    // Collinear, coinciding or too few points: the degenerate arc.
    EXPECT_TRUE(ArcOf(Record(2, {P(0, 0), P(1, 1), P(2, 2)})).IsDegenerate());
    EXPECT_TRUE(ArcOf(Record(2, {P(0, 0), P(1, 1)})).IsDegenerate());
    EXPECT_TRUE(ArcOf(Record(2, {})).IsDegenerate());
    EXPECT_TRUE(ArcOf(Record(2, {P(3, 3), P(3, 3), P(3, 3)})).IsDegenerate());
}

TEST(CurveRecordArcs, KindFourBySignedRadius) {
    // Radius equal to half the chord: the centre is the midpoint.
    QV_Arc a = ArcOf(Record(KindArcByRadius, {P(0, 0), P(9, 9), P(10, 0)}, 5.0));
    EXPECT_NEAR(a.center.x, 5.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    EXPECT_NEAR(a.radiusX, 5.0, 1e-12);
    // Positive radius: centre left of first->last, the arc counts as clockwise and is stored reversed.
    a = ArcOf(Record(KindArcByRadius, {P(-1, 0), P(1, 0)}, std::sqrt(2.0)));
    EXPECT_NEAR(a.center.x, 0.0, 1e-12);
    EXPECT_NEAR(a.center.y, 1.0, 1e-12);
    EXPECT_NEAR(a.startAngle, 1.75 * M_PI, 1e-12);
    EXPECT_NEAR(a.endAngle, 1.25 * M_PI, 1e-12);
    // Negative radius: centre right.
    a = ArcOf(Record(KindArcByRadius, {P(-1, 0), P(1, 0)}, -std::sqrt(2.0)));
    EXPECT_NEAR(a.center.y, -1.0, 1e-12);
    EXPECT_NEAR(a.radiusX, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(a.startAngle, 0.75 * M_PI, 1e-12);
    EXPECT_NEAR(a.endAngle, 0.25 * M_PI, 1e-12);
    // A vertical chord.
    a = ArcOf(Record(KindArcByRadius, {P(0, -1), P(0, 1)}, std::sqrt(2.0)));
    EXPECT_NEAR(a.center.x, -1.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    // A radius a little below half the chord (rounded file value): the half circle, no NaN.
    a = ArcOf(Record(KindArcByRadius, {P(0, 0), P(10, 0)}, 4.99));
    EXPECT_NEAR(a.center.x, 5.0, 1e-12);
    EXPECT_NEAR(a.radiusX, 5.0, 1e-12);
    EXPECT_TRUE(ArcOf(Record(KindArcByRadius, {P(0, 0), P(10, 0)}, 0.0)).IsDegenerate());
    EXPECT_TRUE(ArcOf(Record(KindArcByRadius, {P(0, 0)}, 3.0)).IsDegenerate());
    EXPECT_TRUE(ArcOf(Record(KindArcByRadius, {P(2, 2), P(2, 2)}, 3.0)).IsDegenerate());
}

TEST(CurveRecordArcs, Circles) {
    QV_Arc c = CircleOf(Record(KindCircle, {P(3, 4)}, -2.5));
    EXPECT_EQ(c.center.x, 3.0);
    EXPECT_EQ(c.radiusX, 2.5);
    EXPECT_EQ(c.startAngle, 0.0);
    EXPECT_NEAR(c.endAngle, 2 * M_PI, 1e-15);
    c = CircleOf(Record(1, {P(1, 0), P(0, 1), P(-1, 0)}));
    EXPECT_NEAR(c.center.x, 0.0, 1e-12);
    EXPECT_NEAR(c.radiusX, 1.0, 1e-12);
    EXPECT_TRUE(CircleOf(Record(1, {P(1, 0), P(2, 0), P(3, 0)})).IsDegenerate());
    EXPECT_TRUE(CircleOf(Record(KindCircle, {})).IsDegenerate());
    EXPECT_TRUE(CircleOf(Record(KindCircle, {P(1, 1)}, 0.0)).IsDegenerate());
}

TEST(SegmentArcsTest, LargeCircleRoundTrip) {
    // A circle of radius 1000 at a 1e-5 chord error: about 2 x 7000 grid points, and back through a coded list.
    QV_Poly lens = Straight({P(6.5e6 - 1000, 5e6), P(6.5e6 + 1000, 5e6)});
    MakeArc(lens, 0, P(6.5e6, 5e6 - 1000));
    MakeArc(lens, 1, P(6.5e6, 5e6 + 1000));
    QV_Poly s;
    QV_Poly::SegmentArcs(lens, s, 0, 1e-5);
    ASSERT_GT(s.VertexCount(), 10000);
    double worst = 0;
    for (int32_t i = 0; i < s.VertexCount(); ++i)
        worst = std::fmax(worst, std::fabs(std::hypot(s.vertices[i].x - 6.5e6, s.vertices[i].y - 5e6) - 1000));
    EXPECT_LT(worst, 1e-6);
    EXPECT_NEAR(-s.SignedArea(), M_PI * 1e6, 0.1);
    QV_List<QV_CoordLong> coded;
    s.ToCoordLongs(coded, 1);
    QV_Poly back;
    back.SetFromCoordLongs(coded, 1);
    EXPECT_EQ(back.VertexCount(), s.VertexCount());
    EXPECT_EQ(back.CodeCount(), s.CodeCount());
}

}  // namespace arc_segmentation_test
