#include <gtest/gtest.h>

#include <cmath>

#include "geometry/QV_Arc.hpp"

namespace arc_test {

const double kPi = M_PI;

API_Coord P(double x, double y) { return API_Coord{x, y}; }

API_Coord ArcPoint(const QV_Arc& a, double angle) {
    return P(a.center.x + a.radiusX * std::cos(angle), a.center.y + a.radiusY * std::sin(angle));
}

void ExpectDegenerate(const QV_Arc& a) {
    EXPECT_TRUE(a.IsDegenerate());
    EXPECT_EQ(a.center.x, 0.0);
    EXPECT_EQ(a.center.y, 0.0);
    EXPECT_EQ(a.startAngle, 0.0);
    EXPECT_EQ(a.endAngle, 0.0);
    EXPECT_EQ(a.axisRatio, 1.0);
    EXPECT_EQ(a.rotation, 0.0);
}

TEST(Circumcentre, RightTriangleAndCollinearPoints) {
    API_Coord c{};
    ASSERT_TRUE(Circumcentre(P(0, -1), P(1, 0), P(0, 1), c));
    EXPECT_NEAR(c.x, 0.0, 1e-12);
    EXPECT_NEAR(c.y, 0.0, 1e-12);

    // Collinear and coinciding points have no finite centre: refused, centre untouched.
    c = P(7, 7);
    EXPECT_FALSE(Circumcentre(P(0, 0), P(1, 1), P(2, 2), c));
    EXPECT_FALSE(Circumcentre(P(0, 0), P(0, 0), P(2, 2), c));
    EXPECT_FALSE(Circumcentre(P(3, 3), P(3, 3), P(3, 3), c));
    EXPECT_FALSE(Circumcentre(P(0, 0), P(2, 2), P(0, 0), c));
    EXPECT_EQ(c.x, 7.0);
    EXPECT_EQ(c.y, 7.0);
}

TEST(Circumcentre, HugeCoordinatesKeepPrecision) {
    // A unit circle far from the origin (projected survey coordinates are of this size).
    const double ox = 6.5e6, oy = 5.9e6;
    API_Coord c{};
    ASSERT_TRUE(Circumcentre(P(ox + 1, oy), P(ox, oy + 1), P(ox - 1, oy), c));
    EXPECT_NEAR(c.x, ox, 1e-8);
    EXPECT_NEAR(c.y, oy, 1e-8);
    // Tiny triangle.
    ASSERT_TRUE(Circumcentre(P(1e-6, 0), P(0, 1e-6), P(-1e-6, 0), c));
    EXPECT_NEAR(c.x, 0.0, 1e-18);
    EXPECT_NEAR(c.y, 0.0, 1e-18);
}

TEST(ArcFromThreePoints, DirectionFollowsThroughPoint) {
    // Through (1, 0): counter-clockwise from 3pi/2 to 5pi/2.
    QV_Arc a = QV_Arc::FromThreePoints(P(0, -1), P(0, 1), P(1, 0));
    EXPECT_NEAR(a.center.x, 0.0, 1e-12);
    EXPECT_NEAR(a.startAngle, 1.5 * kPi, 1e-12);
    EXPECT_NEAR(a.endAngle, 2.5 * kPi, 1e-12);
    EXPECT_NEAR(a.radiusX, 1.0, 1e-12);
    EXPECT_EQ(a.radiusY, a.radiusX);
    EXPECT_EQ(a.axisRatio, 1.0);
    // Through (-1, 0), the other side of the chord: clockwise through pi.
    QV_Arc b = QV_Arc::FromThreePoints(P(0, -1), P(0, 1), P(-1, 0));
    EXPECT_NEAR(b.startAngle, 1.5 * kPi, 1e-12);
    EXPECT_NEAR(b.endAngle, 0.5 * kPi, 1e-12);
    EXPECT_LT(b.endAngle - b.startAngle, 0.0);
}

TEST(ArcFromThreePoints, SweepsContainTheThroughPointAcrossTheSeam) {
    // Start and end on both sides of angle 0, every through point on a 10 degree grid, both directions.
    const API_Coord centre = P(3, -2);
    const double r = 2.5;
    for (double s = 0; s < 360; s += 37) {
        for (double sweep : {-300.0, -181.0, -90.0, -10.0, 10.0, 90.0, 179.0, 181.0, 350.0}) {
            const double a0 = s * kPi / 180, a1 = (s + sweep) * kPi / 180, am = (a0 + a1) / 2;
            QV_Arc ref{centre, 0, 0, r, r, 1, 0};
            const QV_Arc a = QV_Arc::FromThreePoints(ArcPoint(ref, a0), ArcPoint(ref, a1), ArcPoint(ref, am));
            ASSERT_FALSE(a.IsDegenerate());
            EXPECT_NEAR(a.endAngle - a.startAngle, sweep * kPi / 180, 1e-9) << s << " " << sweep;
            EXPECT_GE(a.startAngle, 0.0);
            EXPECT_LT(a.startAngle, 2 * kPi);
            EXPECT_NEAR(a.center.x, centre.x, 1e-9);
            EXPECT_NEAR(a.center.y, centre.y, 1e-9);
        }
    }
}

TEST(ArcFromThreePoints, ExplicitDirectionWins) {
    const uint8_t cw = 1, ccw = 0;
    QV_Arc a = QV_Arc::FromThreePoints(P(1, 0), P(0, 1), P(-1, 0), &cw);
    EXPECT_NEAR(a.endAngle - a.startAngle, -1.5 * kPi, 1e-12);
    a = QV_Arc::FromThreePoints(P(0, 1), P(1, 0), P(-1, 0), &ccw);
    EXPECT_NEAR(a.endAngle - a.startAngle, 1.5 * kPi, 1e-12);
}

TEST(ArcFromThreePoints, DegenerateInputGivesTheZeroArc) {
    ExpectDegenerate(QV_Arc::FromThreePoints(P(0, 0), P(2, 0), P(1, 0)));      // collinear
    ExpectDegenerate(QV_Arc::FromThreePoints(P(0, 0), P(2, 0), P(5, 0)));      // collinear, outside
    ExpectDegenerate(QV_Arc::FromThreePoints(P(0, 0), P(0, 0), P(1, 1)));      // start = end
    ExpectDegenerate(QV_Arc::FromThreePoints(P(4, 4), P(4, 4), P(4, 4)));      // all coincide
    const QV_Arc a = QV_Arc::FromThreePoints(P(0, 0), P(2, 0), P(1, 1e-300));  // nearly collinear
    EXPECT_TRUE(std::isfinite(a.center.x) && std::isfinite(a.center.y) && std::isfinite(a.radiusX));
}

TEST(ArcFromEndPointsAndAngle, HalfAndQuarterTurns) {
    const double half = kPi;
    QV_Arc a = QV_Arc::FromEndPointsAndAngle(P(0, 0), P(2, 0), half);
    EXPECT_NEAR(a.center.x, 1.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    EXPECT_NEAR(a.radiusX, 1.0, 1e-12);
    EXPECT_NEAR(a.startAngle, kPi, 1e-12);
    EXPECT_NEAR(a.endAngle, 2 * kPi, 1e-12);

    const double quarterCw = -kPi / 2;
    a = QV_Arc::FromEndPointsAndAngle(P(0, 1), P(1, 0), quarterCw);
    EXPECT_NEAR(a.center.x, 0.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    EXPECT_NEAR(a.startAngle, kPi / 2, 1e-12);
    EXPECT_NEAR(a.endAngle, 0.0, 1e-12);

    // More than a half turn counter-clockwise puts the centre right of the chord.
    const double big = 1.5 * kPi;
    a = QV_Arc::FromEndPointsAndAngle(P(1, 0), P(0, -1), big);
    EXPECT_NEAR(a.center.x, 0.0, 1e-12);
    EXPECT_NEAR(a.center.y, 0.0, 1e-12);
    const API_Coord e = ArcPoint(a, a.endAngle);
    EXPECT_NEAR(e.x, 0.0, 1e-12);
    EXPECT_NEAR(e.y, -1.0, 1e-12);
}

TEST(ArcFromEndPointsAndAngle, DegenerateInput) {
    const double tiny = 1e-6, quarter = kPi / 2, nan = std::nan("");
    ExpectDegenerate(QV_Arc::FromEndPointsAndAngle(P(0, 0), P(1, 0), tiny));
    ExpectDegenerate(QV_Arc::FromEndPointsAndAngle(P(1, 1), P(1, 1), quarter));
    ExpectDegenerate(QV_Arc::FromEndPointsAndAngle(P(0, 0), P(1, 0), nan));
}

TEST(ArcAngleOfPoint, RangeAndCentre) {
    QV_Arc a{P(1, 1), 0, 0, 1, 1, 1, 0};
    EXPECT_EQ(QV_Arc::AngleOfPoint(a, P(1, 1), 1e-5), 0.0);
    EXPECT_NEAR(QV_Arc::AngleOfPoint(a, P(1, 0), 1e-5), 1.5 * kPi, 1e-12);
    // Just below the positive x axis: close to, but below, 2pi.
    const double v = QV_Arc::AngleOfPoint(a, P(2, 1 - 1e-17), 1e-5);
    EXPECT_GE(v, 0.0);
    EXPECT_LT(v, 2 * kPi);
}

TEST(ArcLength, CircularAndElliptic) {
    QV_Arc a{P(0, 0), 0.5, 0.5 - kPi, 2, 2, 1.0, 0};
    EXPECT_NEAR(QV_Arc::Length(a), 2 * kPi, 1e-12);
    QV_Arc e{P(0, 0), 0, kPi, 3, 4, 0.75, 0};
    EXPECT_NEAR(QV_Arc::Length(e), kPi * std::sqrt(12.5), 1e-12);
}

TEST(SegmentCrossing, Cases) {
    const double t = 1e-7;
    EXPECT_EQ(TestSegmentCrossing(0, 0, 2, 2, 0, 2, 2, 0, t), 1);  // X
    EXPECT_EQ(TestSegmentCrossing(0, 0, 1, 0, 1, 0, 1, 1, t), 2);  // shared end
    EXPECT_EQ(TestSegmentCrossing(0, 0, 1, 0, 2, 0, 3, 0, t), 0);  // collinear, disjoint
    EXPECT_EQ(TestSegmentCrossing(0, 0, 2, 0, 1, 0, 3, 0, t), 2);  // collinear overlap
    EXPECT_EQ(TestSegmentCrossing(0, 0, 2, 0, 1, 1, 1, 3, t), 0);  // T apart
    EXPECT_EQ(TestSegmentCrossing(0, 0, 2, 0, 1, 0, 1, 3, t), 2);  // T touching
    EXPECT_EQ(TestSegmentCrossing(1, 0, 1, 3, 0, 0, 2, 0, t), 2);  // the same T, vertical first
    EXPECT_EQ(TestSegmentCrossing(0, 0, 1, 0, 0, 1, 1, 1, t), 0);  // parallel
    EXPECT_EQ(TestSegmentCrossing(0, 0, 0, 2, 0, 3, 0, 5, t), 0);  // vertical collinear, disjoint
    EXPECT_EQ(TestSegmentCrossing(0, 0, 0, 0, 0, 0, 1, 1, t), 2);  // zero-length segment on the other's end
    EXPECT_EQ(TestSegmentCrossing(5, 5, 5, 5, 0, 0, 1, 1, t), 0);  // zero-length segment away
    // Tolerance taken by magnitude.
    EXPECT_EQ(TestSegmentCrossing(0, 0, 2, 0, 1, 1e-4, 1, 3, -1e-3), 2);
    // Huge coordinates.
    EXPECT_EQ(TestSegmentCrossing(1e7, 1e7, 1e7 + 2, 1e7 + 2, 1e7, 1e7 + 2, 1e7 + 2, 1e7, t), 1);
}

}  // namespace arc_test
