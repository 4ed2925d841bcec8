#include <gtest/gtest.h>

#include <cmath>

#include "OffsetTestUtil.hpp"
#include "geometry/OffsetHelpers.hpp"
#include "geometry/CircleIntersections.hpp"
#include "geometry/PolygonExchange.hpp"

namespace offset_helpers_test {

using namespace OffsetTest;

QV_List<QV_CoordLong> Coded(std::initializer_list<QV_CoordLong> entries) {
    QV_List<QV_CoordLong> list;
    for (const QV_CoordLong& e : entries) list.Insert(e);
    return list;
}

TEST(CircleIntersections, TwoCircles) {
    API_Coord p, q;
    ASSERT_TRUE(IntersectTwoCircles(API_Coord{0, 0}, API_Coord{6, 0}, 5, 5, p, q));
    EXPECT_NEAR(3.0, p.x, 1e-12);
    EXPECT_NEAR(4.0, p.y, 1e-12);
    EXPECT_NEAR(3.0, q.x, 1e-12);
    EXPECT_NEAR(-4.0, q.y, 1e-12);
    // Centres one above the other.
    ASSERT_TRUE(IntersectTwoCircles(API_Coord{0, 0}, API_Coord{0, 6}, 5, 5, p, q));
    EXPECT_NEAR(3.0, p.y, 1e-12);
    EXPECT_NEAR(4.0, std::fabs(p.x), 1e-12);
    EXPECT_NEAR(-p.x, q.x, 1e-12);
    // Just apart (0.002): one point twice. Further apart, or one inside the other, or concentric: none.
    ASSERT_TRUE(IntersectTwoCircles(API_Coord{0, 0}, API_Coord{2.002, 0}, 1, 1, p, q));
    EXPECT_NEAR(1.001, p.x, 1e-9);
    EXPECT_EQ(p.x, q.x);
    EXPECT_EQ(p.y, q.y);
    EXPECT_FALSE(IntersectTwoCircles(API_Coord{0, 0}, API_Coord{2.004, 0}, 1, 1, p, q));
    EXPECT_FALSE(IntersectTwoCircles(API_Coord{0, 0}, API_Coord{0.5, 0}, 5, 1, p, q));
    EXPECT_FALSE(IntersectTwoCircles(API_Coord{3, 3}, API_Coord{3, 3}, 2, 2, p, q));
    EXPECT_FALSE(IntersectTwoCircles(API_Coord{3, 3}, API_Coord{3, 3}, 2, 2.001, p, q));
    // Survey-sized coordinates keep their precision.
    const API_Coord c1{6543210.5, 1234567.25};
    ASSERT_TRUE(IntersectTwoCircles(c1, API_Coord{c1.x + 6, c1.y}, 5, 5, p, q));
    EXPECT_NEAR(c1.x + 3.0, p.x, 1e-8);
    EXPECT_NEAR(c1.y + 4.0, p.y, 1e-8);
}

TEST(CircleIntersections, LineAndCircle) {
    API_Coord p, q;
    ASSERT_TRUE(IntersectLineCircle(API_Coord{-10, 3}, API_Coord{10, 3}, API_Coord{0, 0}, 5, p, q));
    EXPECT_NEAR(4.0, p.x, 1e-12);
    EXPECT_NEAR(3.0, p.y, 1e-12);
    EXPECT_NEAR(-4.0, q.x, 1e-12);
    ASSERT_TRUE(IntersectLineCircle(API_Coord{3, -10}, API_Coord{3, 10}, API_Coord{0, 0}, 5, p, q));
    EXPECT_NEAR(3.0, p.x, 1e-12);
    EXPECT_NEAR(4.0, p.y, 1e-12);
    EXPECT_NEAR(-4.0, q.y, 1e-12);
    ASSERT_TRUE(IntersectLineCircle(API_Coord{-10, 5}, API_Coord{10, 5}, API_Coord{0, 0}, 5, p, q));
    EXPECT_NEAR(0.0, p.x, 1e-12);
    EXPECT_NEAR(0.0, q.x, 1e-12);
    EXPECT_FALSE(IntersectLineCircle(API_Coord{-10, 6}, API_Coord{10, 6}, API_Coord{0, 0}, 5, p, q));
    EXPECT_FALSE(IntersectLineCircle(API_Coord{1, 1}, API_Coord{1, 1}, API_Coord{0, 0}, 5, p, q));
}

TEST(OffsetHelpers, PrimsAndPointsRoundTrip) {
    const QV_List<PrimPoly> chain = Chain({Line(0, 0, 10, 0), Arc(10, 5, 5, -90, 0), Line(15, 5, 15, 15)});
    QV_List<QV_CoordLong> points;
    points.Insert(QV_CoordLong{1, 1, 7});  // emptied first
    Geometry_PrimsToPoints(chain, points);
    ASSERT_EQ(6, points.GetCount());
    const int32_t codes[] = {0, 0, 1, 2, 0, -1};
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(codes[i], points[i].code) << i;
    EXPECT_EQ(10.0, points[2].x);
    EXPECT_EQ(5.0, points[2].y);
    QV_List<PrimPoly> back;
    Geometry_PointsToPrims(points, back);
    ASSERT_EQ(3, back.GetCount());
    EXPECT_EQ(0, back[1].isLine);
    EXPECT_NEAR(5.0, back[1].radius, 1e-12);
    EXPECT_EQ(chain[1].mid.x, back[1].mid.x);
    EXPECT_EQ(15.0, back[2].end.y);
    QV_List<PrimPoly> none;
    Geometry_PrimsToPoints(none, points);
    EXPECT_TRUE(points.IsEmpty());
    Geometry_PointsToPrims(points, back);
    EXPECT_TRUE(back.IsEmpty());
}

TEST(OffsetHelpers, PointsToPrimsStaysInsideTheList) {
    // An arc cut short by the list's end is dropped, not read past the end.
    QV_List<PrimPoly> prims;
    Geometry_PointsToPrims(Coded({{0, 0, 0}, {5, 0, 0}, {5, 5, 1}, {10, 5, 2}}), prims);
    ASSERT_EQ(1, prims.GetCount());
    EXPECT_EQ(5.0, prims[0].end.x);
    Geometry_PointsToPrims(Coded({{0, 0, 0}, {5, 5, 1}}), prims);
    EXPECT_TRUE(prims.IsEmpty());
    // No segment joins the end of one contour to the start of the next.
    Geometry_PointsToPrims(Coded({{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {5, 5, 0}, {6, 5, -1}}), prims);
    ASSERT_EQ(3, prims.GetCount());
    EXPECT_EQ(5.0, prims[2].begin.x);
}

TEST(OffsetHelpers, RemoveSharedPrims) {
    const QV_List<PrimPoly> reference = Chain({Line(0, 0, 10, 0), Arc(10, 5, 5, -90, 0)});
    QV_List<PrimPoly> prims = Chain({
        Line(10.000001, 0, 0, 0),  // the reference's line, backwards: removed
        Line(10, 0, 15, 5),        // the arc's chord is no match, but it ends at the last end: removed
        Arc(10, 5, 5, 0, -90),     // the arc backwards: removed
        Line(0, 3, 2, 3),          // unrelated: kept
        Line(2, 3, 0, 0.000001),   // ends at the reference's first start: removed
        Line(20, 5, 15, 5),        // ends at the reference's last end: removed
    });
    Geometry_RemoveSharedPrims(prims, reference);
    ASSERT_EQ(1, prims.GetCount());
    EXPECT_EQ(2.0, prims[0].end.x);
    QV_List<PrimPoly> empty;
    Geometry_RemoveSharedPrims(prims, empty);
    EXPECT_EQ(1, prims.GetCount());
}

TEST(OffsetHelpers, NearestArcIntersectionChoice) {
    // Line y = 3 against the circle of radius 5 about the origin: crossings (4, 3) first and (-4, 3) second.
    const PrimPoly arc = Arc(0, 0, 5, 0, 90);
    API_Coord x;
    const PrimPoly towardsMinus = Line(-10, 3, -5, 3);
    ASSERT_TRUE(Geometry_NearestArcIntersection(&towardsMinus, arc, nullptr, true, x));
    EXPECT_NEAR(-4.0, x.x, 1e-12);  // the second is nearer the line's end
    const PrimPoly towardsPlus = Line(-10, 3, 6, 3);
    ASSERT_TRUE(Geometry_NearestArcIntersection(&towardsPlus, arc, nullptr, true, x));
    EXPECT_NEAR(4.0, x.x, 1e-12);  // the second is farther from both the line's end and the arc's start
    const PrimPoly miss = Line(-10, 9, 10, 9);
    EXPECT_FALSE(Geometry_NearestArcIntersection(&miss, arc, nullptr, true, x));
    // Two arcs: arc 1's end and arc 2's start decide.
    const PrimPoly a1 = Arc(0, 0, 5, -90, 60);
    const PrimPoly a2 = Arc(6, 0, 5, 120, 200);
    ASSERT_TRUE(Geometry_NearestArcIntersection(nullptr, a1, &a2, false, x));
    EXPECT_NEAR(3.0, x.x, 1e-12);
    EXPECT_NEAR(4.0, x.y, 1e-12);
    EXPECT_FALSE(Geometry_NearestArcIntersection(nullptr, a1, nullptr, false, x));
}

TEST(OffsetHelpers, PointToward) {
    const API_Coord a = Geometry_PointToward(API_Coord{1, 1}, API_Coord{4, 5}, 10.0);
    EXPECT_NEAR(7.0, a.x, 1e-12);
    EXPECT_NEAR(9.0, a.y, 1e-12);
    const API_Coord b = Geometry_PointToward(API_Coord{1, 1}, API_Coord{-2, -3}, 5.0);
    EXPECT_NEAR(-2.0, b.x, 1e-12);
    EXPECT_NEAR(-3.0, b.y, 1e-12);
    const API_Coord up = Geometry_PointToward(API_Coord{1, 1}, API_Coord{1, -7}, 2.0);
    EXPECT_EQ(1.0, up.x);
    EXPECT_NEAR(-1.0, up.y, 1e-12);
    const API_Coord side = Geometry_PointToward(API_Coord{1, 1}, API_Coord{-7, 1}, 2.0);
    EXPECT_NEAR(-1.0, side.x, 1e-12);
    EXPECT_EQ(1.0, side.y);
    const API_Coord same = Geometry_PointToward(API_Coord{1, 1}, API_Coord{1, 1.00000001}, 2.0);
    EXPECT_EQ(1.0, same.x);
    EXPECT_EQ(1.0, same.y);
}

TEST(OffsetHelpers, PolyToArcsFollowsTheRecord) {
    // A ring: (0,0) -> (10,0), then a half circle up to (10,10) turning counter-clockwise, then (0,10).
    QV_List<QV_CoordLong> chain =
        Coded({{0, 0, 0}, {10, 0, 0}, {10, 5, 1}, {15, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}});
    Geometry::Polygon2DData polygon;
    InitEmptyPolygon2DData(polygon);
    ASSERT_TRUE(CoordLongsToPolygon2DData(polygon, chain));
    QV_List<QV_CoordLong> points;
    Geometry_PolyToArcs(polygon, points);
    ASSERT_EQ(7, points.GetCount());
    const int32_t codes[] = {0, 0, 1, 2, 0, 0, -1};
    for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(codes[i], points[i].code) << i;
    EXPECT_NEAR(10.0, points[2].x, 1e-12);  // centre of the half circle: the chord's middle
    EXPECT_NEAR(5.0, points[2].y, 1e-12);
    EXPECT_NEAR(15.0, points[3].x, 1e-12);
    EXPECT_NEAR(5.0, points[3].y, 1e-12);
    EXPECT_EQ(points[0].x, points[6].x);
    EXPECT_EQ(points[0].y, points[6].y);
    Geometry::FreePolygon2DData(&polygon);

    // A quarter arc: the general centre formula.
    chain = Coded({{0, 0, 0},
                   {10, 0, 0},
                   {0, 0, 1},
                   {10 * std::cos(M_PI / 4), 10 * std::sin(M_PI / 4), 2},
                   {0, 10, 0},
                   {0, 0, -1}});
    ASSERT_TRUE(CoordLongsToPolygon2DData(polygon, chain));
    Geometry_PolyToArcs(polygon, points);
    ASSERT_EQ(6, points.GetCount());
    EXPECT_NEAR(0.0, points[2].x, 1e-9);
    EXPECT_NEAR(0.0, points[2].y, 1e-9);
    EXPECT_NEAR(10 * std::cos(M_PI / 4), points[3].x, 1e-9);
    Geometry::FreePolygon2DData(&polygon);

    // Two contours: each ends with -1, and no segment joins them.
    Geometry::Polygon2DData two;
    InitEmptyPolygon2DData(two);
    ASSERT_EQ(NoError, Geometry::AllocatePolygon2DData(&two, 9, 0, 2));
    const API_Coord v[] = {{0, 0}, {0, 0}, {9, 0}, {9, 9}, {0, 0}, {3, 3}, {3, 5}, {5, 5}, {5, 3}, {3, 3}};
    for (int32_t i = 0; i <= 9; ++i) (*two.vertices)[i] = v[i];
    (*two.contourEnds)[1] = 4;
    (*two.contourEnds)[2] = 9;
    Geometry_PolyToArcs(two, points);
    ASSERT_EQ(9, points.GetCount());
    EXPECT_EQ(0.0, points[0].x);
    EXPECT_EQ(-1, points[3].code);
    EXPECT_EQ(3.0, points[4].x);
    EXPECT_EQ(-1, points[8].code);
    QV_List<PrimPoly> prims;
    Geometry_PointsToPrims(points, prims);
    EXPECT_EQ(7, prims.GetCount());
    Geometry::FreePolygon2DData(&two);
    // A broken record gives nothing.
    Geometry::Polygon2DData broken;
    InitEmptyPolygon2DData(broken);
    broken.nVertices = 5;
    Geometry_PolyToArcs(broken, points);
    EXPECT_TRUE(points.IsEmpty());
}

}  // namespace offset_helpers_test
