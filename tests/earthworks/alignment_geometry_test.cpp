// The road's and railway's edge lines: tessellation checked against the lines and circles they come from, the
// object placement round trip, and draping on a stand-in terrain on the plane z = 100 + 0.1x + 0.05y.
#include "ProjectHost.hpp"
#include "TerrainMeshes.hpp"
#include "earthworks/AlignmentGeometry.hpp"

#include <array>
#include <cmath>
#include <random>

namespace alignment_geometry_test {

QV_List<QV_Coord3DLong> Edge(const std::vector<QV_Coord3DLong>& points) {
    QV_List<QV_Coord3DLong> list;
    for (const QV_Coord3DLong& p : points) list.Insert(p);
    return list;
}

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The signed side of (x, y) relative to the chord a -> b.
double Side(const QV_Coord3DLong& a, const QV_Coord3DLong& b, double x, double y) {
    return Cross(b.x - a.x, b.y - a.y, x - a.x, y - a.y);
}

TEST(EdgeTessellation, StraightSegmentsDivideIntoEightEqualPartsInEitherDirection) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-500.0, 500.0);
    for (int run = 0; run < 200; ++run) {
        QV_Coord3DLong a{u(rng), u(rng), 3.5, 0};
        QV_Coord3DLong b{u(rng), u(rng), -2.0, 0};
        // Axis-parallel lines running down or left are where a lost sign would show.
        if (run % 4 == 1) b.x = a.x;
        if (run % 4 == 2) b.y = a.y;
        QV_List<API_Coord3D> out;
        ASSERT_TRUE(TessellateEdgeLine(Edge({a, b}), out));
        ASSERT_EQ(out.GetCount(), 9);
        EXPECT_EQ(out[0].z, 3.5);
        EXPECT_EQ(out[8].z, -2.0);
        for (int k = 0; k <= 8; ++k) {
            EXPECT_NEAR(out[k].x, a.x + (b.x - a.x) * k / 8.0, 1e-9);
            EXPECT_NEAR(out[k].y, a.y + (b.y - a.y) * k / 8.0, 1e-9);
            if (k > 0 && k < 8) {
                EXPECT_EQ(out[k].z, 0.0);
            }
        }
    }
}

TEST(EdgeTessellation, ArcPointsLieOnTheCircleOnTheMiddlePointsSide) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586), radius(0.5, 200.0), u(-300.0, 300.0);
    for (int run = 0; run < 300; ++run) {
        const double cx = u(rng), cy = u(rng), r = radius(rng);
        const double a0 = angle(rng), a1 = angle(rng), a2 = angle(rng);
        auto at = [&](double a, int32_t code) {
            return QV_Coord3DLong{cx + r * std::cos(a), cy + r * std::sin(a), 1.0, code};
        };
        const QV_Coord3DLong p0 = at(a0, 0), p1 = at(a1, 2), p2 = at(a2, 0);
        const double chord = std::hypot(p2.x - p0.x, p2.y - p0.y);
        const double midSide = Side(p0, p2, p1.x, p1.y);
        if (chord < 1e-3 * r || std::fabs(midSide) < 1e-3 * r * chord) continue;
        QV_List<API_Coord3D> out;
        ASSERT_TRUE(TessellateEdgeLine(Edge({p0, p1, p2}), out));
        ASSERT_EQ(out.GetCount(), 9);
        double previous = std::atan2(out[0].y - cy, out[0].x - cx);
        double turned = 0.0;
        for (int k = 1; k < 8; ++k) {
            EXPECT_NEAR(std::hypot(out[k].x - cx, out[k].y - cy), r, 1e-6 * r);
            // Interior points stay on the middle point's side of the chord, also for sweeps over pi.
            EXPECT_GT(Side(p0, p2, out[k].x, out[k].y) * midSide, 0.0) << "run " << run << " k " << k;
            const double now = std::atan2(out[k].y - cy, out[k].x - cx);
            turned += std::remainder(now - previous, 6.283185307179586);
            previous = now;
        }
        // Equal steps: the eighth of the sweep between neighbours.
        EXPECT_NEAR(std::fabs(std::remainder(std::atan2(out[2].y - cy, out[2].x - cx) -
                                                 std::atan2(out[1].y - cy, out[1].x - cx),
                                             6.283185307179586)),
                    std::fabs(turned) / 7.0, 1e-9);
        EXPECT_NEAR(out[8].x, p2.x, 1e-12);
    }
}

TEST(EdgeTessellation, CountsAndEdgeCases) {
    QV_List<API_Coord3D> out;
    out.Insert(API_Coord3D{9, 9, 9});
    ASSERT_TRUE(TessellateEdgeLine(Edge({}), out));
    EXPECT_EQ(out.GetCount(), 0);
    ASSERT_TRUE(TessellateEdgeLine(Edge({{4, 5, 6, 0}}), out));
    ASSERT_EQ(out.GetCount(), 1);
    EXPECT_EQ(out[0].z, 6.0);
    // A line, then an arc: 1 + 7 + 1 + 7 + 1.
    ASSERT_TRUE(TessellateEdgeLine(Edge({{0, 0, 0, 0}, {10, 0, 0, 0}, {15, 5, 0, 2}, {20, 0, 0, 0}}), out));
    EXPECT_EQ(out.GetCount(), 17);
    EXPECT_NEAR(out[8].x, 10.0, 1e-12);
    EXPECT_NEAR(out[12].x, 15.0, 1e-9);  // the arc's middle by angle is its middle point here
    EXPECT_NEAR(out[12].y, 5.0, 1e-9);
    // An arc code on the last point has no end point: a plain segment, nothing read past the list.
    ASSERT_TRUE(TessellateEdgeLine(Edge({{0, 0, 0, 0}, {8, 0, 0, 0}, {16, 8, 0, 2}}), out));
    ASSERT_EQ(out.GetCount(), 17);
    EXPECT_NEAR(out[12].x, 12.0, 1e-12);
    EXPECT_NEAR(out[12].y, 4.0, 1e-12);
    // Arcs without a circle (collinear, end on start) run straight to their end point, never to the origin.
    for (const auto& pts :
         std::vector<std::vector<QV_Coord3DLong>>{{{100, 100, 0, 0}, {104, 102, 0, 2}, {108, 104, 0, 0}},
                                                  {{100, 100, 0, 0}, {110, 100, 0, 2}, {100, 100, 0, 0}},
                                                  {{100, 100, 0, 0}, {100, 100, 0, 2}, {108, 100, 0, 0}}}) {
        ASSERT_TRUE(TessellateEdgeLine(Edge(pts), out));
        ASSERT_EQ(out.GetCount(), 9);
        for (int k = 0; k < 9; ++k) {
            EXPECT_NEAR(out[k].x, pts[0].x + (pts[2].x - pts[0].x) * k / 8.0, 1e-9);
            EXPECT_NEAR(out[k].y, pts[0].y + (pts[2].y - pts[0].y) * k / 8.0, 1e-9);
        }
    }
}

TEST(ObjectPlacementTransform, WorldLocalRoundTripForAnyAngleAndMirror) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-1000.0, 1000.0), angle(-7.0, 7.0);
    for (int run = 0; run < 200; ++run) {
        API_Element object = {};
        object.object.pos = {u(rng), u(rng)};
        object.object.angle = run % 10 == 0 ? 0.0 : angle(rng);
        object.object.reflected = run % 2;
        QV_List<API_Coord3D> points;
        QV_List<QV_CoordLong> plan;
        for (int i = 0; i < 5; ++i) {
            points.Insert(API_Coord3D{u(rng), u(rng), u(rng)});
            plan.Insert(QV_CoordLong{points[i].x, points[i].y, i % 3});
        }
        QV_List<API_Coord3D> moved = points;
        WorldToObjectLocal3D(object, moved);
        TransformCoordsByPlacement(object, plan, false);
        for (int i = 0; i < 5; ++i) {
            // Local distances to the origin are the world distances to the position.
            EXPECT_NEAR(std::hypot(moved[i].x, moved[i].y),
                        std::hypot(points[i].x - object.object.pos.x, points[i].y - object.object.pos.y), 1e-9);
            EXPECT_NEAR(plan[i].x, moved[i].x, 1e-12);
            EXPECT_EQ(plan[i].code, i % 3);
        }
        ObjectLocalToWorld3D(object, moved);
        TransformCoordsByPlacement(object, plan, true);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(moved[i].x, points[i].x, 1e-9);
            EXPECT_NEAR(moved[i].y, points[i].y, 1e-9);
            EXPECT_EQ(moved[i].z, points[i].z);
            EXPECT_NEAR(plan[i].y, points[i].y, 1e-9);
        }
    }
    // Mirror before rotation: local (1, 0) on a mirrored object turned by 90 degrees lands at (0, -1).
    API_Element object = {};
    object.object.pos = {10, 20};
    object.object.angle = 1.5707963267948966;
    object.object.reflected = 1;
    QV_List<API_Coord3D> one;
    one.Insert(API_Coord3D{1, 0, 7});
    ObjectLocalToWorld3D(object, one);
    EXPECT_NEAR(one[0].x, 10.0, 1e-12);
    EXPECT_NEAR(one[0].y, 19.0, 1e-12);
}

TEST(OutlineConversion, SegmentsBecomeCodedPoints) {
    QV_List<PrimPoly> outline;
    QV_List<QV_Coord3DLong> coded;
    ASSERT_TRUE(PrimPolyToCodedPoints(outline, coded));
    EXPECT_EQ(coded.GetCount(), 0);
    outline.Insert(PrimPoly{{0, 0}, {10, 0}, 1, {}, {}, 0});
    outline.Insert(PrimPoly{{10, 0}, {20, 0}, 0, {15, 5}, {15, 0}, 5});
    ASSERT_TRUE(PrimPolyToCodedPoints(outline, coded));
    QV_List<QV_CoordLong> plan;
    ASSERT_TRUE(PrimPolyToCoord3D(outline, plan));
    const std::vector<std::array<double, 3>> want{{0, 0, 0}, {10, 0, 0}, {15, 5, 2}, {20, 0, 0}};
    ASSERT_EQ(coded.GetCount(), 4);
    ASSERT_EQ(plan.GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(coded[i].x, want[i][0]);
        EXPECT_EQ(coded[i].y, want[i][1]);
        EXPECT_EQ(coded[i].code, int32_t(want[i][2]));
        EXPECT_EQ(plan[i].code, int32_t(want[i][2]));
    }
    // Inserting: a negative or too large index appends; an empty source changes nothing.
    QV_List<PrimPoly> target = outline;
    ASSERT_TRUE(InsertPrimPolyList(target, QV_List<PrimPoly>(), 0));
    EXPECT_EQ(target.GetCount(), 2);
    ASSERT_TRUE(InsertPrimPolyList(target, outline, 99));
    ASSERT_TRUE(InsertPrimPolyList(target, outline, -5));
    ASSERT_TRUE(InsertPrimPolyList(target, outline, 1));
    ASSERT_EQ(target.GetCount(), 8);
    EXPECT_EQ(target[1].isLine, 1);
    EXPECT_EQ(target[2].isLine, 0);
    EXPECT_EQ(target[7].end.x, 20.0);
}

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

class EdgeDrapingTest : public ProjectHostTest {
protected:
    API_Element PlacePlane() {
        std::vector<API_Coord3D> ring;
        for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{200, 0}, API_Coord{200, 120}, API_Coord{0, 120}})
            ring.push_back(API_Coord3D{c.x, c.y, Plane(c.x, c.y)});
        API_Element mesh;
        EXPECT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, {}, {}, &mesh); }), NoError);
        return mesh;
    }
};

TEST_F(EdgeDrapingTest, StraightAndArcEdgesTakeThePlanesHeightInBothDirections) {
    const API_Element mesh = PlacePlane();
    const std::vector<QV_Coord3DLong> left{{20, 30, 0, 0}, {90, 30, 0, 0}, {120, 60, 0, 2}, {150, 30, 0, 0}};
    const std::vector<QV_Coord3DLong> right{{150, 22, 0, 0}, {120, 69.5, 0, 2}, {90, 22, 0, 0}, {20, 22, 0, 0}};
    for (bool reversed : {false, true}) {
        std::vector<QV_Coord3DLong> l = reversed ? std::vector<QV_Coord3DLong>(right.rbegin(), right.rend()) : left;
        std::vector<QV_Coord3DLong> r = reversed ? std::vector<QV_Coord3DLong>(left.rbegin(), left.rend()) : right;
        // Reversed, the arc middle keeps its code on the same point.
        QV_List<API_Coord3D> left3D, right3D;
        bool ok = false;
        Command([&] {
            ok = DrapeEdgeLines(mesh, Edge(l), Edge(r), left3D, right3D);
            return NoError;
        });
        ASSERT_TRUE(ok);
        EXPECT_EQ(left3D.GetCount() + right3D.GetCount(), 17 + 17);
        for (const QV_List<API_Coord3D>* edge : {&left3D, &right3D})
            for (int32_t i = 0; i < edge->GetCount(); ++i)
                EXPECT_NEAR((*edge)[i].z, Plane((*edge)[i].x, (*edge)[i].y), 1e-6) << i;
    }
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);
}

TEST_F(EdgeDrapingTest, AnEdgeOffTheTerrainLeavesTheEdgesUnset) {
    const API_Element mesh = PlacePlane();
    QV_List<API_Coord3D> left3D, right3D;
    bool ok = true;
    Command([&] {
        ok = DrapeEdgeLines(mesh, Edge({{10, 10, 0, 0}, {50, 10, 0, 0}}), Edge({{10, 10, 0, 0}, {500, 10, 0, 0}}),
                            left3D, right3D);
        return NoError;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(left3D.GetCount(), 0);
    EXPECT_EQ(right3D.GetCount(), 0);
}

}  // namespace alignment_geometry_test
