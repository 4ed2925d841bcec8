#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "GeometryTestUtil.hpp"
#include "geometry/PolygonTests.hpp"

namespace polygon_tests_test {

using namespace GeometryTest;

int32_t Where(const QV_Poly& p, double x, double y, double t, int32_t* edgeOut = nullptr) {
    int32_t edge = -7;
    const int32_t r = PointInPolygon(p, x, y, edge, t);
    if (edgeOut != nullptr) *edgeOut = edge;
    return r;
}

// Winding number of a closed straight outline around (x, y): the reference for inside tests.
int Winding(const QV_Poly& p, double x, double y) {
    int w = 0;
    const int32_t n = p.VertexCount();
    for (int32_t i = 0; i < n; ++i) {
        const API_Coord& a = p.vertices[i];
        const API_Coord& b = p.vertices[(i + 1) % n];
        const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y && b.y > y && cross > 0)
            ++w;
        else if (a.y > y && b.y <= y && cross < 0)
            --w;
    }
    return w;
}

TEST(PointInPolygonTest, SquareCases) {
    const QV_Poly sq = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    int32_t edge = 0;
    EXPECT_EQ(Where(sq, 5, 0, 0.01, &edge), 0);
    EXPECT_EQ(edge, 1);
    EXPECT_EQ(Where(sq, 5, 5, 0.01, &edge), 1);
    EXPECT_EQ(edge, 0);
    EXPECT_EQ(Where(sq, 15, 5, 0.01), -1);
    EXPECT_EQ(Where(sq, 10.005, 5, 0.01, &edge), 0);
    EXPECT_EQ(edge, 2);
    EXPECT_EQ(Where(sq, 5, 10.005, 0.01), 0);
    EXPECT_EQ(Where(sq, 0, 0, 0.01), 0);
    EXPECT_EQ(Where(sq, 10, 10, 0.01), 0);
    EXPECT_EQ(Where(sq, -0.5, 5, 0.01), -1);
    EXPECT_EQ(Where(QV_Poly(), 0, 0, 0.01, &edge), -1);
    EXPECT_EQ(edge, 0);
}

TEST(PointInPolygonTest, RayThroughVerticesAndDegenerateEdges) {
    // A diamond: the horizontal ray from (1, 5) runs through the vertices at (0, 5) and (10, 5).
    const QV_Poly diamond = Straight({P(5, 0), P(10, 5), P(5, 10), P(0, 5)});
    EXPECT_EQ(Where(diamond, 1, 5, 1e-9), 1);
    EXPECT_EQ(Where(diamond, -1, 5, 1e-9), -1);
    EXPECT_EQ(Where(diamond, 11, 5, 1e-9), -1);
    // Repeated vertices (zero-length edges) and a collinear extra vertex change nothing.
    const QV_Poly padded = Straight({P(5, 0), P(5, 0), P(10, 5), P(7.5, 7.5), P(5, 10), P(5, 10), P(0, 5)});
    for (double x = -1; x <= 11; x += 0.37)
        for (double y = -1; y <= 11; y += 0.41)
            EXPECT_EQ(Where(padded, x, y, 1e-9), Where(diamond, x, y, 1e-9)) << x << " " << y;
    // Huge coordinates.
    const double o = 6.5e6;
    const QV_Poly far = Straight({P(o, o), P(o + 10, o), P(o + 10, o + 10), P(o, o + 10)});
    EXPECT_EQ(Where(far, o + 5, o + 5, 1e-7), 1);
    EXPECT_EQ(Where(far, o + 10.5, o + 5, 1e-7), -1);
    EXPECT_EQ(Where(far, o + 10, o + 5, 1e-7), 0);
}

TEST(PointInPolygonTest, AgreesWithWindingOnRandomStars) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> radius(1.0, 10.0), coord(-11.0, 11.0);
    for (int poly = 0; poly < 50; ++poly) {
        const int n = 3 + poly % 17;
        QV_List<API_Coord> pts;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n, r = radius(rng);
            pts.Insert(P(std::round(r * std::cos(a) * 4) / 4, std::round(r * std::sin(a) * 4) / 4));
        }
        QV_Poly p;
        p.SetFromCoords(pts, true);
        for (int k = 0; k < 200; ++k) {
            // Points on a quarter grid hit vertex heights and edges exactly.
            const double x = std::round(coord(rng) * 4) / 4, y = std::round(coord(rng) * 4) / 4;
            const int32_t got = Where(p, x, y, 1e-9);
            if (got == 0) continue;  // on the boundary: the winding reference has no answer
            EXPECT_EQ(got == 1, Winding(p, x, y) != 0) << poly << " " << x << " " << y;
        }
    }
}

TEST(BoundBox, ArcsWidenTheBox) {
    // Half circle from 0 to pi about (0,0), radius 1, closed by the diameter.
    QV_Poly half = Straight({P(1, 0), P(-1, 0)});
    MakeArc(half, 0, P(0, 1));
    API_Box box{};
    const API_Box same = half.GetBoundBox(box);
    EXPECT_EQ(same.yMax, box.yMax);
    EXPECT_NEAR(box.yMax, 1.0, 1e-12);
    EXPECT_NEAR(box.xMax, 1.0, 1e-12);
    EXPECT_NEAR(box.xMin, -1.0, 1e-12);
    EXPECT_NEAR(box.yMin, 0.0, 1e-12);

    // A clockwise arc across the seam, from pi/4 down to -pi/4 (7pi/4), bulges to x max = cx + r.
    QV_Poly seam = Straight({P(std::sqrt(0.5), std::sqrt(0.5)), P(std::sqrt(0.5), -std::sqrt(0.5))});
    MakeArc(seam, 0, P(1, 0));
    seam.GetBoundBox(box);
    EXPECT_NEAR(box.xMax, 1.0, 1e-12);
    EXPECT_NEAR(box.yMax, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(box.yMin, -std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(box.xMin, std::sqrt(0.5), 1e-12);  // the closing side is the straight chord

    // An arc whose range is [3pi/2, 5pi/2] holds angle 0 (as 2pi).
    QV_Poly right = Straight({P(0, -1), P(0, 1)});
    MakeArc(right, 0, P(1, 0));
    right.GetBoundBox(box);
    EXPECT_NEAR(box.xMax, 1.0, 1e-12);

    QV_Poly empty;
    empty.GetBoundBox(box);
    EXPECT_EQ(box.xMin, 0.0);
    EXPECT_EQ(box.yMax, 0.0);
}

TEST(Relation, SquaresInsideApartTouchingOverlapping) {
    const double t = 1e-7;
    const QV_Poly a = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    const QV_Poly inner = Straight({P(2, 2), P(8, 2), P(8, 8), P(2, 8)});
    uint8_t touch = 9;
    EXPECT_EQ(GetPolygonRelation(a, inner, t, &touch), 1);
    EXPECT_EQ(touch, 0);
    EXPECT_EQ(GetPolygonRelation(inner, a, t, &touch), 2);

    // Sharing a side, listed from a vertex away from the shared side.
    const QV_Poly side = Straight({P(20, 0), P(20, 10), P(10, 10), P(10, 0)});
    EXPECT_EQ(GetPolygonRelation(a, side, t, &touch), 0);
    EXPECT_EQ(touch, 1);
    EXPECT_EQ(GetPolygonRelation(a, side, t), 0);
    // The same neighbour listed from a vertex on the shared side is still not inside.
    const QV_Poly sideFromShared = Straight({P(10, 0), P(20, 0), P(20, 10), P(10, 10)});
    EXPECT_EQ(GetPolygonRelation(a, sideFromShared, t, &touch), 0);
    EXPECT_EQ(touch, 1);
    EXPECT_EQ(GetPolygonRelation(sideFromShared, a, t, &touch), 0);
    // Touching from inside at one side: within, and touching.
    const QV_Poly innerTouch = Straight({P(0, 2), P(5, 2), P(5, 8), P(0, 8)});
    EXPECT_EQ(GetPolygonRelation(a, innerTouch, t, &touch), 1);
    EXPECT_EQ(touch, 1);
    // Identical outlines count as within.
    EXPECT_EQ(GetPolygonRelation(a, a, t, &touch), 1);

    const QV_Poly overlap = Straight({P(5, 5), P(15, 5), P(15, 15), P(5, 15)});
    EXPECT_EQ(GetPolygonRelation(a, overlap, t, &touch), 0);
    EXPECT_EQ(touch, 0);

    const double tol = 0.01;
    const QV_Poly apart = Straight({P(10.02, 0), P(20, 0), P(20, 10), P(10.02, 10)});
    EXPECT_EQ(GetPolygonRelation(a, apart, tol, &touch), -1);
    EXPECT_EQ(touch, 0);
    // Invalid rings.
    EXPECT_EQ(GetPolygonRelation(a, Straight({P(0, 0), P(1, 1)}), t), -1);
    EXPECT_EQ(GetPolygonRelation(Straight({P(0, 0), P(1, 0), P(1, 1)}, false), a, t), -1);
}

TEST(Relation, CornersNotchesAndSelfTouching) {
    const double t = 1e-7;
    uint8_t touch = 0;
    const QV_Poly a = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    // Touching at one corner only.
    const QV_Poly corner = Straight({P(10, 10), P(20, 10), P(20, 20), P(10, 20)});
    EXPECT_EQ(GetPolygonRelation(a, corner, t, &touch), 0);
    EXPECT_EQ(touch, 1);
    // Inside, sharing two sides and every vertex with the boundary.
    const QV_Poly half = Straight({P(0, 0), P(10, 0), P(10, 5), P(0, 5)});
    EXPECT_EQ(GetPolygonRelation(a, half, t, &touch), 1);
    EXPECT_EQ(touch, 1);
    // A notch filled by its lid: every vertex of the lid lies on the notched outline, yet it is outside.
    const QV_Poly notched = Straight({P(0, 0), P(10, 0), P(10, 10), P(6, 10), P(6, 4), P(4, 4), P(4, 10), P(0, 10)});
    const QV_Poly lid = Straight({P(4, 4), P(6, 4), P(6, 10), P(4, 10)});
    EXPECT_EQ(GetPolygonRelation(notched, lid, t, &touch), 0);
    EXPECT_EQ(touch, 1);
}

TEST(PointInPolygonTest, SelfTouchingOutline) {
    // Two triangles meeting in (5,5), one outline.
    const QV_Poly bow = Straight({P(0, 0), P(10, 0), P(5, 5), P(10, 10), P(0, 10), P(5, 5)});
    EXPECT_EQ(Where(bow, 5, 2, 1e-7), 1);
    EXPECT_EQ(Where(bow, 5, 8, 1e-7), 1);
    EXPECT_EQ(Where(bow, 2, 5, 1e-7), -1);
    EXPECT_EQ(Where(bow, 8, 5, 1e-7), -1);
    EXPECT_EQ(Where(bow, 5, 5, 1e-7), 0);
    QV_Poly copy = bow;
    EXPECT_EQ(copy.Simplify(0.01), 0);
    EXPECT_EQ(copy.VertexCount(), 6);
}

TEST(Validity, Rules) {
    EXPECT_FALSE(QV_Poly().IsValid());
    EXPECT_TRUE(Straight({P(0, 0), P(1, 0)}, false).IsValid());
    EXPECT_FALSE(Straight({P(0, 0), P(1, 0)}, true).IsValid());
    QV_Poly lens = Straight({P(-1, 0), P(1, 0)});
    MakeArc(lens, 0, P(0, -0.5));
    EXPECT_FALSE(lens.IsValid());
    MakeArc(lens, 1, P(0, 0.5));
    EXPECT_TRUE(lens.IsValid());
    QV_Poly odd = Straight({P(0, 0), P(1, 0), P(1, 1)});
    odd.codes.Insert(-1);
    EXPECT_FALSE(odd.IsValid());
}

TEST(SimplifyTest, CollinearVertexStaysSpikeGoes) {
    const double t = 0.01;
    QV_Poly mid = Straight({P(0, 0), P(5, 0), P(10, 0), P(10, 10), P(0, 10)});
    EXPECT_EQ(mid.Simplify(t), 0);
    EXPECT_EQ(mid.VertexCount(), 5);

    // A spike out and back along the bottom side.
    QV_Poly spike = Straight({P(0, 0), P(10, 0), P(13, 0), P(10, 0), P(10, 10), P(0, 10)});
    EXPECT_EQ(spike.Simplify(t), 1);
    ASSERT_EQ(spike.VertexCount(), 4);
    EXPECT_EQ(spike.CodeCount(), 4);
    EXPECT_EQ(spike.vertices[1].x, 10.0);
    EXPECT_EQ(spike.vertices[2].y, 10.0);
    EXPECT_DOUBLE_EQ(spike.SignedArea(), -100.0);

    // In a ring the last edge and edge 0 are neighbours: a spike tip at vertex 0 goes.
    QV_Poly tip = Straight({P(-5, 0), P(0, 0), P(0, 10), P(10, 10), P(10, 0), P(0, 0)});
    EXPECT_EQ(tip.Simplify(t), 1);
    EXPECT_EQ(tip.VertexCount(), 4);
    EXPECT_DOUBLE_EQ(std::fabs(tip.SignedArea()), 100.0);

    // A flat triangle folds onto one line: nothing valid is left.
    QV_Poly flat = Straight({P(0, 0), P(10, 0), P(5, 0.001)});
    EXPECT_EQ(flat.Simplify(t), 2);
}

TEST(SimplifyTest, OpenChainKeepsItsEnds) {
    // A U-shaped path: its last edge runs back along its first, but they are not neighbours.
    QV_Poly u = Straight({P(0, 0), P(10, 0), P(10, 5), P(0, 5)}, false);
    EXPECT_EQ(u.Simplify(0.01), 0);
    ASSERT_EQ(u.VertexCount(), 4);
    EXPECT_EQ(u.CodeCount(), 3);
    EXPECT_EQ(u.vertices[0].x, 0.0);
    EXPECT_EQ(u.vertices[0].y, 0.0);
    // A real spike inside a chain still goes; the chain's end vertices stay.
    QV_Poly c = Straight({P(0, 0), P(10, 0), P(12, 0), P(10, 0), P(10, 5)}, false);
    EXPECT_EQ(c.Simplify(0.01), 1);
    EXPECT_EQ(c.VertexCount(), 3);
    EXPECT_EQ(c.vertices[0].x, 0.0);
    EXPECT_EQ(c.vertices[2].y, 5.0);
}

TEST(SimplifyTest, ShortEdgesAndArcs) {
    const double t = 0.01;
    // A zero-length edge at vertex 0 and a short arc edge; the arc codes after the removed one are renumbered.
    QV_Poly p = Straight({P(0, 0), P(0, 0), P(10, 0), P(10.005, 0.005), P(10, 10), P(0, 10)});
    MakeArc(p, 2, P(10.004, 0.001));  // arc 0: short
    MakeArc(p, 3, P(12, 5));          // arc 1: real
    ASSERT_EQ(p.arcs.GetCount(), 2);
    EXPECT_EQ(p.Simplify(t), 1);
    EXPECT_EQ(p.VertexCount(), 4);
    ASSERT_EQ(p.arcs.GetCount(), 1);
    int arcEdges = 0;
    for (int32_t i = 0; i < p.CodeCount(); ++i)
        if (p.codes[i] >= 0) {
            EXPECT_EQ(p.codes[i], 0);
            ++arcEdges;
        }
    EXPECT_EQ(arcEdges, 1);
    EXPECT_NEAR(p.arcs[0].radiusX, p.arcs[0].radiusY, 1e-12);
    EXPECT_TRUE(p.IsValid());

    // With a zero tolerance an exactly vertical spike still folds back.
    QV_Poly vertical = Straight({P(0, 0), P(10, 0), P(10, 10), P(10, 14), P(10, 10), P(0, 10)});
    EXPECT_EQ(vertical.Simplify(0.0), 1);
    EXPECT_EQ(vertical.VertexCount(), 5);  // the tip goes; the repeated (10,10) stays, no edge is shorter than 0

    // A negative tolerance works by magnitude in the spike test, and removes no edge as short.
    QV_Poly q = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    EXPECT_EQ(q.Simplify(-0.01), 0);
    EXPECT_EQ(Straight({P(0, 0)}).Simplify(t), 2);
}

}  // namespace polygon_tests_test
