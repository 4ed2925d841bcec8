#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "MemoryDriver.hpp"
#include "geometry/PolygonExchange.hpp"

namespace polygon_exchange_test {

QV_List<QV_CoordLong> Coded(std::initializer_list<QV_CoordLong> entries) {
    QV_List<QV_CoordLong> list;
    for (const QV_CoordLong& e : entries) list.Insert(e);
    return list;
}

struct Owned {
    Geometry::Polygon2DData p;
    Owned() { InitEmptyPolygon2DData(p); }
    ~Owned() { Geometry::FreePolygon2DData(&p); }
};

TEST(PolygonExchange, CoordLongsRingBecomesAnOrientedRecord) {
    Owned o;
    // Clockwise square with its first point repeated at the end.
    ASSERT_TRUE(CoordLongsToPolygon2DData(o.p, Coded({{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 0, 0}, {0, 0, -1}})));
    EXPECT_EQ(5, o.p.nVertices);
    EXPECT_EQ(1, o.p.nContours);
    EXPECT_EQ(0, o.p.nArcs);
    EXPECT_EQ(5, (*o.p.contourEnds)[1]);
    EXPECT_EQ(Geometry::Polygon2DBoxValid | Geometry::Polygon2DOriented, o.p.status & 3u);
    EXPECT_EQ(4.0, o.p.boundBox.xMax);
    // Oriented counter-clockwise from the same first vertex.
    EXPECT_EQ(4.0, (*o.p.vertices)[2].x);
    EXPECT_EQ(0.0, (*o.p.vertices)[2].y);
    uint32_t blanks = 0;
    std::memcpy(&blanks, *o.p.edgeUserData + 4 * 3, 4);
    EXPECT_EQ(0x20202020u, blanks);
    std::memcpy(&blanks, *o.p.contourUserData + 4, 4);
    EXPECT_EQ(0x20202020u, blanks);
}

TEST(PolygonExchange, CoordLongsArcsFromTheirThreePoints) {
    Owned o;
    // The centre entry's own coordinates are not used.
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        o.p, Coded({{0, 0, 0}, {10, 0, 0}, {-99, 42, 1}, {15, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}})));
    ASSERT_EQ(1, o.p.nArcs);
    const Geometry::PolyArcRec* arc = Geometry::FindArc(o.p, 2);
    ASSERT_NE(nullptr, arc);
    EXPECT_NEAR(M_PI, arc->arcAngle, 1e-12);
    // The same half circle bulging inwards turns the other way.
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        o.p, Coded({{0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {5, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}})));
    ASSERT_EQ(1, o.p.nArcs);
    EXPECT_NEAR(-M_PI, Geometry::FindArc(o.p, 2)->arcAngle, 1e-12);
    // Three points on a line: a straight edge.
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        o.p, Coded({{0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {10, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}})));
    EXPECT_EQ(0, o.p.nArcs);
    EXPECT_EQ(5, o.p.nVertices);
}

TEST(PolygonExchange, CoordLongsRefusesBrokenLists) {
    const int64_t before = MemoryDriver::LiveHandleCount();
    {
        Owned o;
        const QV_List<QV_CoordLong> broken[] = {
            Coded({}),
            Coded({{0, 0, 0}, {1, 0, 0}}),
            Coded({{5, 5, 1}, {1, 0, 2}, {1, 1, 0}, {0, 0, -1}}),                        // centre first
            Coded({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {9, 9, 1}, {2, 6, 2}}),              // arc cut off
            Coded({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, -1}}),                        // not closed
            Coded({{0, 0, 0}, {4, 0, 0}, {1, 1, 1}, {1, 1, 1}, {4, 4, 0}, {0, 0, -1}}),  // centre after centre
        };
        for (const QV_List<QV_CoordLong>& list : broken) {
            EXPECT_FALSE(CoordLongsToPolygon2DData(o.p, list)) << list.GetCount();
            EXPECT_EQ(0, o.p.nVertices);
            EXPECT_EQ(nullptr, o.p.vertices);
        }
    }
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

TEST(PolygonExchange, EqualityIgnoresTheStartingVertex) {
    Owned a, b, c, d;
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        a.p, Coded({{0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {15, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}})));
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        b.p, Coded({{10, 10, 0}, {0, 10, 0}, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {15, 5, 2}, {10, 10, -1}})));
    EXPECT_EQ(1, ArePolygon2DDataEqual(a.p, b.p));
    EXPECT_EQ(1, ArePolygon2DDataEqual(b.p, a.p));
    // The arc bulging the other way.
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        c.p, Coded({{0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {5, 5, 2}, {10, 10, 0}, {0, 10, 0}, {0, 0, -1}})));
    EXPECT_EQ(0, ArePolygon2DDataEqual(a.p, c.p));
    // A vertex moved.
    ASSERT_TRUE(CoordLongsToPolygon2DData(
        d.p, Coded({{0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {15, 5, 2}, {10, 10, 0}, {0, 10.001, 0}, {0, 0, -1}})));
    EXPECT_EQ(0, ArePolygon2DDataEqual(a.p, d.p));
    Owned empty;
    EXPECT_EQ(0, ArePolygon2DDataEqual(a.p, empty.p));

    Geometry::Polygon2DData copy;
    ASSERT_TRUE(InitAndCopyPolygon2DData(copy, a.p));
    EXPECT_EQ(1, ArePolygon2DDataEqual(a.p, copy));
    Geometry::FreePolygon2DData(&copy);
}

TEST(PolygonExchange, PolyRingsToRecords) {
    // A quarter-circle ring, counter-clockwise: (0,0) -> (10,0) -> arc -> (0,10).
    QV_Poly quarter;
    quarter.AddPointXY(0, 0, false, 1e-9);
    quarter.AddPointXY(10, 0, false, 1e-9);
    quarter.AddPointXY(0, 10, false, 1e-9);
    quarter.AddPointXY(0, 0, true, 1e-9);
    quarter.arcs.Insert(QV_Arc::FromThreePoints(API_Coord{10, 0}, API_Coord{0, 10},
                                                API_Coord{10 * std::cos(M_PI / 4), 10 * std::sin(M_PI / 4)}));
    quarter.codes[1] = 0;
    quarter.UpdateClockwise();
    Owned o;
    ASSERT_TRUE(quarter.ToPolygon2DData(o.p));
    EXPECT_EQ(4, o.p.nVertices);
    ASSERT_EQ(1, o.p.nArcs);
    EXPECT_NEAR(M_PI / 2, (*o.p.arcs)[1].arcAngle, 1e-9);
    EXPECT_EQ(2, (*o.p.arcs)[1].begIndex);
    // Turned clockwise, the record is oriented all the same.
    QV_Poly cw(quarter);
    cw.SetOrientation(1);
    ASSERT_TRUE(cw.ToPolygon2DData(o.p));
    EXPECT_NEAR(M_PI / 2, (*o.p.arcs)[1].arcAngle, 1e-9);
    EXPECT_EQ(1, ArePolygon2DDataEqual(o.p, o.p));

    // A ring that ends on an arc: vertex 0 once at the end, not twice.
    QV_Poly half;
    half.AddPointXY(-5, 0, false, 1e-9);
    half.AddPointXY(5, 0, false, 1e-9);
    half.codes.Insert(-1);
    half.arcs.Insert(QV_Arc::FromThreePoints(API_Coord{5, 0}, API_Coord{-5, 0}, API_Coord{0, 5}));
    half.codes[1] = 0;
    half.UpdateClockwise();
    ASSERT_TRUE(half.IsUsableRing());
    ASSERT_TRUE(half.ToPolygon2DData(o.p));
    EXPECT_EQ(3, o.p.nVertices);
    EXPECT_NEAR(M_PI, (*o.p.arcs)[1].arcAngle, 1e-9);

    // An outer ring and a hole in one record.
    QV_List<QV_Poly> rings;
    QV_Poly outer, hole;
    for (const API_Coord& p : {API_Coord{0, 0}, API_Coord{10, 0}, API_Coord{10, 10}, API_Coord{0, 10}})
        outer.AddPoint(p, false, 1e-9);
    outer.AddPoint(API_Coord{0, 0}, true, 1e-9);
    for (const API_Coord& p : {API_Coord{3, 3}, API_Coord{6, 3}, API_Coord{6, 6}}) hole.AddPoint(p, false, 1e-9);
    hole.AddPoint(API_Coord{3, 3}, true, 1e-9);
    rings.Insert(outer);
    rings.Insert(hole);
    ASSERT_TRUE(QV_Poly2DAC::ToPolygon2DData(o.p, rings));
    EXPECT_EQ(2, o.p.nContours);
    EXPECT_EQ(5, (*o.p.contourEnds)[1]);
    EXPECT_EQ(9, (*o.p.contourEnds)[2]);
    // An open chain is no ring: refused, target left empty.
    QV_Poly chain;
    chain.AddPointXY(0, 0, false, 1e-9);
    chain.AddPointXY(5, 0, false, 1e-9);
    chain.AddPointXY(5, 5, false, 1e-9);
    EXPECT_FALSE(chain.ToPolygon2DData(o.p));
    EXPECT_EQ(0, o.p.nVertices);
    rings.Insert(chain);
    EXPECT_FALSE(QV_Poly2DAC::ToPolygon2DData(o.p, rings));
    EXPECT_FALSE(QV_Poly2DAC::ToPolygon2DData(o.p, QV_List<QV_Poly>()));
}

}  // namespace polygon_exchange_test
