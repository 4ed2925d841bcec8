#include <gtest/gtest.h>

#include <cmath>

#include "GeometryTestUtil.hpp"
#include "geometry/ArcSegmentation.hpp"
#include "geometry/QV_Poly.hpp"

namespace poly_test {

using namespace GeometryTest;

TEST(QVPoly, SignedAreaSignAndClockwiseFlag) {
    QV_Poly ccw = Straight({P(0, 0), P(1, 0), P(1, 1), P(0, 1)});
    EXPECT_DOUBLE_EQ(ccw.SignedArea(), -1.0);
    EXPECT_EQ(ccw.clockwise, 0);
    QV_Poly cw = Straight({P(0, 0), P(0, 1), P(1, 1), P(1, 0)});
    EXPECT_DOUBLE_EQ(cw.SignedArea(), 1.0);
    EXPECT_EQ(cw.clockwise, 1);
    // A chain adds no closing edge.
    QV_Poly chain = Straight({P(0, 0), P(1, 0), P(1, 1), P(0, 1)}, false);
    EXPECT_EQ(chain.CodeCount(), 3);
    EXPECT_DOUBLE_EQ(chain.SignedArea(), -0.5 - 0.5 * 1.0 * 1.0 * 0 - 0.5);
}

TEST(QVPoly, SignedAreaOfArcsIsChordedClosely) {
    // Half disc of radius 10 on the x axis, counter-clockwise: the arc bulges up.
    QV_Poly half = Straight({P(-10, 0), P(10, 0)});
    MakeArc(half, 1, P(0, 10));
    ASSERT_TRUE(half.IsUsableRing());
    EXPECT_NEAR(-half.SignedArea(), ExactArea(half), 0.05);
    EXPECT_NEAR(ExactArea(half), 50 * M_PI, 1e-9);
    EXPECT_EQ(half.clockwise, 0);
    // The same arc running clockwise across the 0/2pi seam: a circle of radius 5 made of two arcs.
    QV_Poly circle = Straight({P(5, 0), P(-5, 0)});
    MakeArc(circle, 0, P(0, -5));
    MakeArc(circle, 1, P(0, 5));
    EXPECT_NEAR(circle.SignedArea(), 25 * M_PI, 0.05);
    EXPECT_EQ(circle.clockwise, 1);
    // A tiny arc (radius below the chord error) still gives a finite, small contribution.
    QV_Poly tiny = Straight({P(0, 0), P(1e-4, 0), P(1e-4, 1e-4)});
    MakeArc(tiny, 0, P(5e-5, -2e-5));
    EXPECT_TRUE(std::isfinite(tiny.SignedArea()));
}

TEST(QVPoly, AddPointBuildsAndClosesChains) {
    QV_Poly p;
    const double t = 0.01;
    EXPECT_TRUE(p.AddPoint(P(0, 0), true, t));
    EXPECT_TRUE(p.AddPoint(P(10, 0), true, t));
    EXPECT_TRUE(p.AddPoint(P(10.005, 0), true, t));  // repeats the last point: ignored
    EXPECT_EQ(p.VertexCount(), 2);
    EXPECT_FALSE(p.AddPoint(P(0.001, 0), true, t));  // closing with two vertices is refused
    EXPECT_FALSE(p.IsClosed());
    EXPECT_TRUE(p.AddPointXY(10, 10, true, -t));
    EXPECT_TRUE(p.AddPoint(P(0.001, -0.001), true, t));  // closes
    EXPECT_TRUE(p.IsClosed());
    EXPECT_EQ(p.VertexCount(), 3);
    EXPECT_EQ(p.clockwise, 0);
    EXPECT_FALSE(p.AddPoint(P(5, 5), false, t));
    EXPECT_EQ(p.VertexCount(), 3);
    // Without the close flag a point near vertex 0 is just another vertex.
    QV_Poly q;
    q.AddPoint(P(0, 0), false, t);
    q.AddPoint(P(1, 0), false, t);
    q.AddPoint(P(1, 1), false, t);
    q.AddPoint(P(0, 0), false, t);
    EXPECT_EQ(q.VertexCount(), 4);
    EXPECT_EQ(q.CodeCount(), 3);
}

TEST(QVPoly, SetFromCoordsDropsTheRepeatedClosingPoint) {
    QV_Poly p;
    p.SetFromCoords(Coords({P(0, 0), P(1, 0), P(1, 1), P(1e-8, 0)}), false);
    EXPECT_EQ(p.VertexCount(), 3);
    EXPECT_EQ(p.CodeCount(), 3);
    p.SetFromCoords(Coords({P(0, 0), P(1, 0), P(1, 1), P(1e-6, 0)}), false);
    EXPECT_EQ(p.VertexCount(), 4);
    EXPECT_EQ(p.CodeCount(), 3);
    p.SetFromCoords(Coords({P(0, 0), P(1, 0), P(1, 1), P(1e-6, 0)}), true);
    EXPECT_EQ(p.CodeCount(), 4);
    p.SetFromCoords(Coords({P(3, 3)}), true);
    EXPECT_EQ(p.VertexCount(), 0);
    EXPECT_EQ(p.CodeCount(), 0);

    QV_List<API_Coord3D> pts3;
    pts3.Insert(API_Coord3D{0, 0, 0});
    pts3.Insert(API_Coord3D{1, 0, 0});
    pts3.Insert(API_Coord3D{1, 1, 0});
    pts3.Insert(API_Coord3D{0, 0, 5});  // same plan position, other height: not a repeat
    p.SetFromCoords3D(pts3, false);
    EXPECT_EQ(p.VertexCount(), 4);
    EXPECT_EQ(p.CodeCount(), 3);
    pts3[3].z = 0;
    p.SetFromCoords3D(pts3, false);
    EXPECT_EQ(p.VertexCount(), 3);
    EXPECT_EQ(p.CodeCount(), 3);
}

TEST(QVPoly, SetOrientationKeepsVertexZeroOfRings) {
    QV_Poly p = Straight({P(0, 0), P(0, 10), P(10, 10), P(10, 0)});  // clockwise
    MakeArc(p, 1, P(5, 12));
    ASSERT_EQ(p.clockwise, 1);
    const QV_Poly before = p;
    p.SetOrientation(1);
    EXPECT_EQ(p.vertices[1].y, 10.0);
    p.SetOrientation(0);
    EXPECT_EQ(p.clockwise, 1);
    p.SetOrientation(2);
    EXPECT_EQ(p.clockwise, 0);
    EXPECT_LT(p.SignedArea(), 0.0);
    EXPECT_EQ(p.vertices[0].x, 0.0);
    EXPECT_EQ(p.vertices[1].x, 10.0);  // 0, n-1, ..., 1
    EXPECT_EQ(p.vertices[1].y, 0.0);
    EXPECT_EQ(p.vertices[3].x, 0.0);
    EXPECT_EQ(p.vertices[3].y, 10.0);
    // The arc went from (0,10) to (10,10); it is now edge 2 (from (10,10) to (0,10)) with swapped angles.
    EXPECT_EQ(p.codes[2], 0);
    EXPECT_EQ(p.codes[1], -1);
    EXPECT_EQ(p.arcs[0].startAngle, before.arcs[0].endAngle);
    EXPECT_NEAR(p.SignedArea(), -before.SignedArea(), 1e-9);
    // A chain is reversed whole.
    QV_Poly c = Straight({P(0, 0), P(1, 0), P(1, 1)}, false);
    c.SetOrientation(c.clockwise ? 2 : 1);
    EXPECT_EQ(c.vertices[0].x, 1.0);
    EXPECT_EQ(c.vertices[0].y, 1.0);
    EXPECT_EQ(c.vertices[2].x, 0.0);
}

TEST(QVPoly, CodedListsRoundTripInMode1) {
    QV_Poly p = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    MakeArc(p, 1, P(12, 5));  // bulge out on the right
    MakeArc(p, 3, P(-3, 5));  // and on the left; this is the closing edge
    QV_List<QV_CoordLong> list;
    p.ToCoordLongs(list, 1);
    const std::vector<QV_CoordLong> e = Entries(list);
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e.front().code, 0);
    EXPECT_EQ(e[2].code, 2);
    EXPECT_EQ(e.back().code, -1);
    EXPECT_EQ(e.back().x, e.front().x);
    EXPECT_EQ(e.back().y, e.front().y);

    QV_Poly q;
    q.SetFromCoordLongs(list, 1);
    ASSERT_EQ(q.VertexCount(), 4);
    ASSERT_EQ(q.CodeCount(), 4);
    ASSERT_EQ(q.arcs.GetCount(), 2);
    EXPECT_EQ(q.codes[0], -1);
    EXPECT_EQ(q.codes[1], 0);
    EXPECT_EQ(q.codes[3], 1);
    for (int32_t k = 0; k < 2; ++k) {
        EXPECT_NEAR(q.arcs[k].center.x, p.arcs[k].center.x, 1e-9);
        EXPECT_NEAR(q.arcs[k].center.y, p.arcs[k].center.y, 1e-9);
        EXPECT_NEAR(q.arcs[k].endAngle - q.arcs[k].startAngle, p.arcs[k].endAngle - p.arcs[k].startAngle, 1e-9);
    }
    EXPECT_EQ(q.clockwise, p.clockwise);
    // Appending keeps what the target already had.
    p.ToCoordLongs(list, 1);
    EXPECT_EQ(list.GetCount(), 14);
}

TEST(QVPoly, CodedListsInMode2) {
    QV_Poly p = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    MakeArc(p, 3, P(-3, 5));  // the closing edge is an arc
    QV_List<QV_CoordLong> list;
    p.ToCoordLongs(list, 2);
    const std::vector<QV_CoordLong> e = Entries(list);
    // 15 15 15 15 900 3015 3015 -1
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(e[3].code, 15);
    EXPECT_EQ(e[4].code, 900);
    EXPECT_EQ(e[5].code, 3015);
    EXPECT_EQ(e[6].code, 3015);
    EXPECT_EQ(e[7].code, -1);
    EXPECT_EQ(e[6].x, 0.0);
    EXPECT_EQ(e[7].x, 0.0);
    EXPECT_EQ(e[7].y, 0.0);
    // The midpoint lies on the arc, half way.
    EXPECT_NEAR(std::hypot(e[5].x - e[4].x, e[5].y - e[4].y), p.arcs[0].radiusX, 1e-9);
    // Read back in mode 2: the same ring.
    QV_Poly q;
    q.SetFromCoordLongs(list, 2);
    EXPECT_EQ(q.VertexCount(), 4);
    EXPECT_EQ(q.CodeCount(), 4);
    EXPECT_EQ(q.arcs.GetCount(), 1);
    EXPECT_EQ(q.codes[3], 0);
    EXPECT_NEAR(q.SignedArea(), p.SignedArea(), 1e-9);

    // Straight last edge: the last entry itself carries -1.
    QV_Poly s = Straight({P(0, 0), P(1, 0), P(1, 1)});
    QV_List<QV_CoordLong> sl;
    s.ToCoordLongs(sl, 2);
    ASSERT_EQ(sl.GetCount(), 4);
    EXPECT_EQ(sl[3].code, -1);
    // A chain gets no contour end.
    QV_Poly c = Straight({P(0, 0), P(1, 0), P(1, 1)}, false);
    QV_List<QV_CoordLong> cl;
    c.ToCoordLongs(cl, 1);
    ASSERT_EQ(cl.GetCount(), 3);
    EXPECT_EQ(cl[2].code, 0);
}

TEST(QVPoly, SetFromCoordLongsOddInput) {
    QV_Poly q;
    // Collinear midpoint: no finite arc, the edge stays straight.
    q.SetFromCoordLongs(Coded({{0, 0, 0}, {5, 0, 2}, {10, 0, 0}, {10, 10, -1}}), 1);
    EXPECT_EQ(q.VertexCount(), 3);
    EXPECT_EQ(q.arcs.GetCount(), 0);
    EXPECT_TRUE(std::isfinite(q.SignedArea()));
    // A leading midpoint is skipped; one entry gives an empty polygon.
    q.SetFromCoordLongs(Coded({{5, 5, 2}, {0, 0, 0}, {10, 0, 0}, {10, 10, -1}}), 1);
    EXPECT_EQ(q.VertexCount(), 3);
    q.SetFromCoordLongs(Coded({{5, 5, -1}}), 1);
    EXPECT_EQ(q.VertexCount(), 0);
    // A last entry that is a midpoint closes through entry 0.
    q.SetFromCoordLongs(Coded({{-1, 0, 0}, {1, 0, 0}, {0, 1, 2}}), 1);
    ASSERT_EQ(q.VertexCount(), 2);
    ASSERT_EQ(q.arcs.GetCount(), 1);
    EXPECT_EQ(q.codes[1], 0);
    EXPECT_TRUE(q.IsUsableRing());
    // Reading stops after the first contour end.
    q.SetFromCoordLongs(Coded({{0, 0, 0}, {1, 0, 0}, {1, 1, -1}, {7, 7, 0}, {8, 8, -1}}), 1);
    EXPECT_EQ(q.VertexCount(), 3);
}

TEST(QVPoly, BuildPolyListsPerContour) {
    QV_List<QV_Poly> polys;
    BuildPolyListFromCoordLongs(polys, QV_List<QV_CoordLong>(), 1);
    ASSERT_EQ(polys.GetCount(), 1);
    EXPECT_EQ(polys[0].VertexCount(), 0);

    BuildPolyListFromCoordLongs(
        polys, Coded({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 0, -1}, {9, 9, -1}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}}), 1);
    ASSERT_EQ(polys.GetCount(), 3);
    EXPECT_EQ(polys[0].VertexCount(), 3);  // closing repeat dropped
    EXPECT_EQ(polys[1].VertexCount(), 0);  // a one-point contour
    EXPECT_EQ(polys[2].VertexCount(), 3);  // unterminated last contour, still a ring
    EXPECT_EQ(polys[2].CodeCount(), 3);

    QV_List<QV_Coord3DLong> in3;
    for (const QV_Coord3DLong& e : {QV_Coord3DLong{0, 0, 1, 0}, QV_Coord3DLong{1, 0, 2, 0}, QV_Coord3DLong{1, 1, 3, 0},
                                    QV_Coord3DLong{0, 0, 9, -1}, QV_Coord3DLong{5, 5, 0, 0}, QV_Coord3DLong{6, 5, 0, 0},
                                    QV_Coord3DLong{6, 6, 0, -1}})
        in3.Insert(e);
    BuildPolyListFromCoord3DLongs(polys, in3);
    ASSERT_EQ(polys.GetCount(), 2);
    EXPECT_EQ(polys[0].VertexCount(), 3);
    EXPECT_EQ(polys[0].CodeCount(), 3);  // ring (z is not compared here)
    EXPECT_EQ(polys[1].VertexCount(), 3);
    EXPECT_EQ(polys[1].CodeCount(), 2);  // chain
    BuildPolyListFromCoord3DLongs(polys, QV_List<QV_Coord3DLong>());
    EXPECT_EQ(polys.GetCount(), 1);
}

TEST(QVPoly, CopiesAreDeep) {
    QV_Poly p = Straight({P(0, 0), P(10, 0), P(10, 10)});
    MakeArc(p, 0, P(5, -2));
    QV_Poly q(p);
    q.vertices[0].x = 99;
    q.arcs[0].radiusX = 99;
    EXPECT_EQ(p.vertices[0].x, 0.0);
    EXPECT_NE(p.arcs[0].radiusX, 99.0);
    QV_Poly r;
    r = p;
    r = r;
    EXPECT_EQ(r.VertexCount(), 3);
    EXPECT_EQ(r.arcs.GetCount(), 1);
    const uint8_t flag = p.clockwise;
    p.Clear();
    EXPECT_EQ(p.VertexCount(), 0);
    EXPECT_EQ(p.clockwise, flag);
    QV_List<QV_Poly> list;
    list.Insert(r);
    list.Insert(r, 0);
    EXPECT_EQ(list[1].VertexCount(), 3);
}

TEST(QVPoly, ContourRecordsOwnTheirPoints) {
    QV_List<QV_Poly2DAC::QV_Poly2DACSub> subs;
    QV_Poly p = Straight({P(0, 0), P(1, 0), P(1, 1)});
    QV_Poly2DAC::QV_Poly2DACSub sub;
    p.ToCoordLongs(sub.points, 2);
    sub.vertexCount = p.VertexCount();
    sub.arcCount = p.arcs.GetCount();
    subs.Insert(sub);
    subs.Insert(sub);
    sub.points[0].x = 42;
    EXPECT_EQ(subs[0].points[0].x, 0.0);
    EXPECT_EQ(subs[1].points.GetCount(), 4);
    EXPECT_EQ(subs[1].vertexCount, 3);
    subs.Clear();
    EXPECT_EQ(subs.GetCount(), 0);
}

}  // namespace poly_test
