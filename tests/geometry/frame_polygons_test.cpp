#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "GeometryTestUtil.hpp"
#include "geometry/FramePolygons.hpp"
#include "geometry/PolygonTests.hpp"

namespace frame_polygons_test {

using namespace GeometryTest;

API_Box3D BoxOf(const QV_Poly& p) {
    API_Box b{};
    p.GetBoundBox(b);
    return API_Box3D{b.xMin, b.yMin, 0.0, b.xMax, b.yMax, 3.0};
}

QV_Poly Read(const QV_List<QV_CoordLong>& list) {
    QV_Poly p;
    p.SetFromCoordLongs(list, 2);
    return p;
}

// Both contours closed in mode 2 codes, and together they cover the ring between rectangle and outline exactly:
// by area, and point by point on a grid.
void ExpectExactCover(const FramePolygons& fp, const QV_Poly& outline) {
    for (const QV_List<QV_CoordLong>* list : {&fp.first, &fp.second}) {
        const int32_t n = list->GetCount();
        ASSERT_GE(n, 4);
        EXPECT_EQ((*list)[n - 1].code, -1);
        EXPECT_EQ((*list)[n - 1].x, (*list)[0].x);
        EXPECT_EQ((*list)[n - 1].y, (*list)[0].y);
        for (int32_t j = 0; j + 1 < n; ++j) {
            const int32_t c = (*list)[j].code;
            EXPECT_TRUE(c == 15 || c == 900 || c == 3015) << j << " " << c;
            if (c == 900) {
                ASSERT_LT(j + 2, n);
                EXPECT_EQ((*list)[j + 1].code, 3015);
            }
        }
    }
    const QV_Poly a = Read(fp.first), b = Read(fp.second);
    const API_Box3D& r = fp.box;
    const double ring = (r.xMax - r.xMin) * (r.yMax - r.yMin) - std::fabs(ExactArea(outline));
    EXPECT_NEAR(std::fabs(ExactArea(a)) + std::fabs(ExactArea(b)), ring, 1e-6 * ring);
    // Grid points: in the outline in neither contour; in the ring in exactly one. Points on or very near a
    // boundary are skipped.
    QV_Poly so, sa, sb;
    QV_Poly::SegmentArcs(outline, so, 36, 0.001);
    QV_Poly::SegmentArcs(a, sa, 36, 0.001);
    QV_Poly::SegmentArcs(b, sb, 36, 0.001);
    int32_t edge = 0;
    const double tol = 1e-6;
    for (double x = r.xMin + 0.37; x < r.xMax; x += (r.xMax - r.xMin) / 61.3)
        for (double y = r.yMin + 0.29; y < r.yMax; y += (r.yMax - r.yMin) / 57.7) {
            const int32_t inO = PointInPolygon(so, x, y, edge, tol);
            const int32_t inA = PointInPolygon(sa, x, y, edge, tol);
            const int32_t inB = PointInPolygon(sb, x, y, edge, tol);
            if (inO == 0 || inA == 0 || inB == 0) continue;
            const int32_t count = (inA == 1) + (inB == 1);
            EXPECT_EQ(count, inO == 1 ? 0 : 1) << x << " " << y;
        }
}

TEST(FramePolygonsTest, CentredSquare) {
    // Clockwise square listed from its lower-left corner.
    const QV_Poly sq = Straight({P(0, 0), P(0, 10), P(10, 10), P(10, 0)});
    FramePolygons fp;
    ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(sq), sq, 100.0));
    EXPECT_EQ(fp.margin, 100.0);
    EXPECT_EQ(fp.box.xMin, -100.0);
    EXPECT_EQ(fp.box.yMax, 110.0);
    EXPECT_EQ(fp.box.zMax, 3.0);
    ASSERT_EQ(fp.frame.GetCount(), 5);
    EXPECT_EQ(fp.frame[4].code, -1);
    // first: lower-left, upper-left, upper-right, outline from (10,10) back to (0,0), closed.
    const double want[][2] = {{-100, -100}, {-100, 110}, {110, 110}, {10, 10}, {0, 10}, {0, 0}, {-100, -100}};
    ASSERT_EQ(fp.first.GetCount(), 7);
    for (int32_t j = 0; j < 7; ++j) {
        EXPECT_EQ(fp.first[j].x, want[j][0]) << j;
        EXPECT_EQ(fp.first[j].y, want[j][1]) << j;
    }
    ASSERT_EQ(fp.second.GetCount(), 7);
    EXPECT_EQ(fp.second[0].x, 110.0);
    EXPECT_EQ(fp.second[3].x, 0.0);   // (0,0)
    EXPECT_EQ(fp.second[4].x, 10.0);  // (10,0)
    EXPECT_EQ(fp.second[4].y, 0.0);
    EXPECT_EQ(fp.second[5].y, 10.0);  // (10,10)
    ExpectExactCover(fp, sq);
}

TEST(FramePolygonsTest, VertexZeroInsideAWrappingWalk) {
    // The same square listed from its upper-left corner: the first contour's walk runs from the upper-right
    // vertex (entry 1) through entry 0 to the lower-left vertex (entry 3).
    const QV_Poly sq = Straight({P(0, 10), P(10, 10), P(10, 0), P(0, 0)});
    FramePolygons fp;
    ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(sq), sq, 100.0));
    ASSERT_EQ(fp.first.GetCount(), 7);
    EXPECT_EQ(fp.first[4].x, 0.0);
    EXPECT_EQ(fp.first[4].y, 10.0);
    ExpectExactCover(fp, sq);
    // Vertex 0 nearest to the upper-right corner, and the last vertex nearest to the lower-left one.
    const QV_Poly rot = Straight({P(10, 10), P(10, 0), P(5, -1), P(0, 0), P(0, 10), P(-1, -1)});
    FramePolygons fr;
    ASSERT_TRUE(BuildFramePolygons(fr, BoxOf(rot), rot, 50.0));
    ExpectExactCover(fr, rot);
}

TEST(FramePolygonsTest, CounterClockwiseOutlineIsTakenClockwise) {
    const QV_Poly ccw = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    ASSERT_EQ(ccw.clockwise, 0);
    FramePolygons fp;
    ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(ccw), ccw, 100.0));
    ExpectExactCover(fp, ccw);
}

TEST(FramePolygonsTest, CutOnAnArcMidpointMakesHalfArcs) {
    // The lower-left corner is rounded by a quarter circle about (5,5): its midpoint is the nearest entry.
    QV_Poly p = Straight({P(0, 5), P(0, 10), P(10, 10), P(10, 0), P(5, 0)});
    MakeArc(p, 4, P(5 - 5 / std::sqrt(2.0), 5 - 5 / std::sqrt(2.0)));
    ASSERT_EQ(p.clockwise, 1);
    FramePolygons fp;
    ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(p), p, 100.0));
    for (const QV_List<QV_CoordLong>* list : {&fp.first, &fp.second}) {
        int centres = 0;
        for (int32_t j = 0; j < list->GetCount(); ++j)
            if ((*list)[j].code == 900) {
                ++centres;
                EXPECT_NEAR((*list)[j].x, 5.0, 1e-9);
                EXPECT_NEAR((*list)[j].y, 5.0, 1e-9);
                // The half arc's midpoint lies on the circle.
                EXPECT_NEAR(std::hypot((*list)[j + 1].x - 5, (*list)[j + 1].y - 5), 5.0, 1e-9);
            }
        EXPECT_EQ(centres, 1);
    }
    ExpectExactCover(fp, p);
}

TEST(FramePolygonsTest, LastEdgeIsAnArc) {
    // Clockwise ring whose closing edge bulges out to the left.
    QV_Poly p = Straight({P(0, 0), P(0, 10), P(10, 10), P(10, 0)});
    MakeArc(p, 1, P(5, 13));
    MakeArc(p, 3, P(5, -3));
    ASSERT_EQ(p.clockwise, 1);
    FramePolygons fp;
    ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(p), p, 20.0));
    ExpectExactCover(fp, p);
    // Listed from another vertex, so that entry 0 lies inside a wrapping walk.
    QV_Poly q = Straight({P(10, 10), P(10, 0), P(0, 0), P(0, 10)});
    MakeArc(q, 1, P(5, -3));
    MakeArc(q, 3, P(5, 13));
    FramePolygons fq;
    ASSERT_TRUE(BuildFramePolygons(fq, BoxOf(q), q, 20.0));
    ExpectExactCover(fq, q);
}

TEST(FramePolygonsTest, RandomConvexOutlines) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> jitter(0.9, 1.1), u(0, 1);
    for (int round = 0; round < 40; ++round) {
        const int n = 3 + round % 13;
        const int start = static_cast<int>(u(rng) * n);
        QV_List<API_Coord> pts;
        for (int i = 0; i < n; ++i) {
            const double a = -2 * M_PI * (i + start) / n;  // clockwise
            const double r = 10 * jitter(rng);
            pts.Insert(P(50 + r * std::cos(a), -20 + r * std::sin(a)));
        }
        QV_Poly p;
        p.SetFromCoords(pts, true);
        // Every third edge bulges outward slightly.
        for (int32_t e = 0; e < n; e += 3) {
            const API_Coord a = p.vertices[e], b = p.vertices[(e + 1) % n];
            const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
            const double dx = b.x - a.x, dy = b.y - a.y;
            MakeArc(p, e, P(mx - 0.1 * dy, my + 0.1 * dx));  // left of a->b: outside a clockwise ring
        }
        FramePolygons fp;
        ASSERT_TRUE(BuildFramePolygons(fp, BoxOf(p), p, 15.0)) << round;
        ExpectExactCover(fp, p);
    }
}

TEST(FramePolygonsTest, TooFewEntries) {
    FramePolygons fp;
    EXPECT_FALSE(BuildFramePolygons(fp, API_Box3D{}, QV_Poly(), 100.0));
    QV_Poly one;
    one.AddPoint(P(3, 3), false, 0.0);
    EXPECT_FALSE(BuildFramePolygons(fp, API_Box3D{3, 3, 0, 3, 3, 0}, one, 100.0));
    // Two distinct entries are enough to cut.
    const QV_Poly two = Straight({P(0, 0), P(5, 5)}, false);
    EXPECT_TRUE(BuildFramePolygons(fp, API_Box3D{0, 0, 0, 5, 5, 0}, two, 10.0));
}

TEST(FramePolygonsTest, NormalizeDropsADanglingCentre) {
    FramePolygons fp;
    QV_List<QV_CoordLong> list = Coded({{0, 0, -1}, {1, 0, 15}, {1, 1, 0}, {2, 2, 900}});
    NormalizeContourCodes(fp, list);
    // The midpoint and centre swapped places, then the centre had no two entries after it.
    const std::vector<QV_CoordLong> e = Entries(list);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].code, 15);
    EXPECT_EQ(e[2].x, 1.0);
    EXPECT_EQ(e[2].code, 15);
    EXPECT_EQ(e[3].code, -1);
    EXPECT_EQ(e[3].x, 0.0);
}

TEST(FramePolygonsTest, HalfArcsRefuseEntriesThatAreNoMidpoint) {
    FramePolygons fp;
    fp.outline = Coded({{0, 0, 15}, {5, 0, 900}, {5, 5, 0}, {10, 0, -1}});
    QV_List<QV_CoordLong> out;
    AppendHalfArcFromMidpoint(fp, out, 0);
    AppendHalfArcToMidpoint(fp, out, 3);
    AppendHalfArcToMidpoint(fp, out, 17);
    EXPECT_EQ(out.GetCount(), 0);
    AppendHalfArcToMidpoint(fp, out, 2);
    ASSERT_EQ(out.GetCount(), 3);
    EXPECT_EQ(out[0].code, 900);
    EXPECT_NEAR(std::hypot(out[1].x - 5, out[1].y), 5.0, 1e-12);
    EXPECT_EQ(out[2].code, 3015);
}

TEST(PointInPolygonWithArcsTest, BulgeCounts) {
    QV_Poly p = Straight({P(0, 0), P(0, 10), P(10, 10), P(10, 0)});
    MakeArc(p, 2, P(15, 5));  // right side bulges to x = 15
    EXPECT_EQ(PointInPolygonWithArcs(p, P(14, 5)), 1);
    EXPECT_EQ(PointInPolygonWithArcs(p, P(16, 5)), 0);
    EXPECT_EQ(PointInPolygonWithArcs(p, P(5, 5)), 1);
    EXPECT_EQ(PointInPolygonWithArcs(p, P(0, 5)), 0);  // on the outline
    EXPECT_EQ(p.arcs.GetCount(), 1);                   // the polygon itself is left alone
}

}  // namespace frame_polygons_test
