// The plane geometry of the retaining wall's faces: arcs cut into chords and arcs located in their own
// direction, terrain vertices merged and used to split the near face, and far-face points opposite the near
// face's vertices.
#include "earthworks/WallProfile.hpp"

#include "geometry/OutlineOffset.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace wall_profile_test {

PrimPoly Line(double x0, double y0, double x1, double y1) {
    PrimPoly s{};
    s.begin = {x0, y0};
    s.end = {x1, y1};
    s.isLine = 1;
    return s;
}

// The arc about (cx, cy) of radius r from angle a0 over `sweep` (positive: counter-clockwise).
PrimPoly Arc(double cx, double cy, double r, double a0, double sweep) {
    PrimPoly s{};
    const auto at = [&](double a) { return API_Coord{cx + r * std::cos(a), cy + r * std::sin(a)}; };
    s.begin = at(a0);
    s.end = at(a0 + sweep);
    s.mid = at(a0 + sweep / 2);
    s.centre = {cx, cy};
    s.radius = r;
    s.isLine = 0;
    return s;
}

TEST(WallProfile, ArcsBecomeContiguousChordsOnTheCircleInTheArcsDirection) {
    std::mt19937 rng(151);
    std::uniform_real_distribution<double> angle(-3.0, 3.0), sweep(0.2, 6.0);
    for (int run = 0; run < 200; ++run) {
        const double s = run % 2 == 0 ? sweep(rng) : -sweep(rng);
        const int32_t resolution = run % 9;  // 0 too: the arc must not leave a gap
        QV_List<PrimPoly> path;
        path.Insert(Line(-5, 0, 3 * std::cos(1.0), 3 * std::sin(1.0)));
        const PrimPoly arc = Arc(0, 0, 3, angle(rng), s);
        path[0].end = arc.begin;
        path.Insert(arc);
        path.Insert(Line(arc.end.x, arc.end.y, 9, 9));
        SegmentArcs(path, resolution);
        const int32_t chords = resolution < 1 ? 1 : resolution;
        ASSERT_EQ(path.GetCount(), chords + 2) << run;
        for (int32_t k = 1; k <= chords; ++k) {
            const PrimPoly& c = path[k];
            EXPECT_EQ(c.isLine, 1);
            EXPECT_EQ(c.begin.x, path[k - 1].end.x);
            EXPECT_EQ(c.begin.y, path[k - 1].end.y);
            EXPECT_NEAR(std::hypot(c.end.x, c.end.y), 3.0, 1e-9);
            // Each chord turns the way the arc does, by an equal step.
            const double turn =
                std::atan2(c.begin.x * c.end.y - c.begin.y * c.end.x, c.begin.x * c.end.x + c.begin.y * c.end.y);
            EXPECT_NEAR(std::remainder(turn - s / chords, 2 * M_PI), 0.0, 1e-9) << run;
        }
        EXPECT_EQ(path[chords].end.x, arc.end.x);
        EXPECT_EQ(path[chords].end.y, arc.end.y);
    }
}

TEST(WallProfile, PointsOnArcsAreFoundOnTheSpanTheArcRunsOverEitherWay) {
    std::mt19937 rng(5120);
    std::uniform_real_distribution<double> angle(-3.0, 3.0), sweep(0.3, 5.5), u(0.02, 0.98);
    for (int run = 0; run < 300; ++run) {
        const double s = run % 2 == 0 ? sweep(rng) : -sweep(rng);
        const PrimPoly arc = Arc(2, -1, 4, angle(rng), s);
        const double a0 = std::atan2(arc.begin.y + 1, arc.begin.x - 2);
        const double in = a0 + u(rng) * s;
        // The rest of the circle lies off the arc.
        const double out = a0 + s + u(rng) * ((s > 0 ? 2 * M_PI : -2 * M_PI) - s);
        EXPECT_TRUE(PointOnSegment(arc, 2 + 4 * std::cos(in), -1 + 4 * std::sin(in))) << run;
        EXPECT_FALSE(PointOnSegment(arc, 2 + 4 * std::cos(out), -1 + 4 * std::sin(out))) << run;
        EXPECT_FALSE(PointOnSegment(arc, 2 + 4.001 * std::cos(in), -1 + 4.001 * std::sin(in)));
        EXPECT_TRUE(PointOnSegment(arc, arc.begin.x, arc.begin.y));
        EXPECT_TRUE(PointOnSegment(arc, arc.end.x, arc.end.y));
    }
    const PrimPoly seg = Line(0, 0, 10, 2);
    EXPECT_TRUE(PointOnSegment(seg, 5, 1));
    EXPECT_FALSE(PointOnSegment(seg, 5, 1.001));
    EXPECT_FALSE(PointOnSegment(seg, 15, 3));
    EXPECT_FALSE(PointOnSegment(Line(1, 1, 1, 1), 1, 1));
}

// Each point, in list order, absorbs every later one closer than 0.01 in x and in y, keeping the higher z:
// clusters around survey coordinates, far-off and non-finite points included.
TEST(WallProfile, MergingFollowsTheListOrderWhereverThePointsLie) {
    std::mt19937 rng(5045);
    std::uniform_real_distribution<double> near(-0.015, 0.015), z(0.0, 10.0);
    for (const double base : {0.0, 6.5e6, -3e16}) {
        QV_List<API_Coord3D> points;
        for (int i = 0; i < 400; ++i) points.Insert({base + 0.05 * (i % 7) + near(rng), base + near(rng), z(rng)});
        points.Insert({NAN, 0.0, 1.0});
        std::vector<API_Coord3D> want;
        std::vector<bool> gone(size_t(points.GetCount()), false);
        for (int32_t i = 0; i < points.GetCount(); ++i) {
            if (gone[size_t(i)]) continue;
            API_Coord3D p = points[i];
            for (int32_t j = i + 1; j < points.GetCount(); ++j)
                if (!gone[size_t(j)] && std::fabs(p.x - points[j].x) < 0.01 && std::fabs(p.y - points[j].y) < 0.01) {
                    p.z = std::max(p.z, points[j].z);
                    gone[size_t(j)] = true;
                }
            want.push_back(p);
        }
        MergeClosePoints(points);
        ASSERT_EQ(size_t(points.GetCount()), want.size()) << base;
        for (size_t i = 0; i + 1 < want.size(); ++i) {
            EXPECT_EQ(points[int32_t(i)].x, want[i].x);
            EXPECT_EQ(points[int32_t(i)].z, want[i].z);
        }
    }
}

TEST(WallProfile, SplitsFollowTheDistanceFromTheBeginAndKeepTheHeights) {
    QV_List<PrimPoly> path;
    path.Insert(Line(0, 0, 10, 0));
    path.Insert(Arc(10, 5, 5, -M_PI / 2, M_PI));  // from (10, 0) round to (10, 10)
    path.Insert(Line(10, 10, 0, 10));
    QV_List<QV_Coord3DLong> vertices;
    BuildFaceVertices(path, vertices);
    ASSERT_EQ(vertices.GetCount(), 5);
    EXPECT_EQ(vertices[2].code, 2);
    for (int32_t i = 0; i < vertices.GetCount(); ++i) vertices[i].z = 100.0 + i;

    QV_List<API_Coord3D> terrain;
    terrain.Insert({3, 0, 53});
    terrain.Insert({1, 0, 51});
    terrain.Insert({1.005, 0.005, 58});  // merged into the one before, which takes the higher z
    terrain.Insert({1.0, 0.012, 0});     // too far to merge, and off the segment
    terrain.Insert({10, 0, 99});         // a vertex already: no empty piece
    terrain.Insert({5, 5, 0});           // inside, on no segment
    terrain.Insert({4, 10, 54});
    MergeClosePoints(terrain);
    ASSERT_EQ(terrain.GetCount(), 6);
    QV_List<int32_t> index;
    ASSERT_TRUE(AssignPointsToSegments(terrain, path, index));
    EXPECT_EQ(index[0], 0);
    EXPECT_EQ(index[2], -1);
    EXPECT_EQ(index[4], -1);
    EXPECT_EQ(index[5], 2);
    SplitPathAtPoints(terrain, vertices, path, index);
    ASSERT_EQ(path.GetCount(), 6);
    const double xs[] = {0, 1, 3, 10};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(path[k].begin.x, xs[k]);
        EXPECT_EQ(path[k].end.x, xs[k + 1]);
    }
    EXPECT_EQ(path[3].isLine, 0);
    ASSERT_EQ(vertices.GetCount(), 8);
    const double zs[] = {100, 58, 53, 101, 102, 103, 54, 104};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(vertices[i].z, zs[i]) << i;
    EXPECT_EQ(vertices[4].code, 2);
    EXPECT_EQ(vertices[6].x, 4.0);
}

TEST(WallProfile, FarPointsLieOnTheOffsetFaceAndLiftOrSplitIt) {
    for (const bool onLeft : {true, false}) {
        QV_List<PrimPoly> near;
        near.Insert(Line(0, 0, 20, 0));
        near.Insert(Line(20, 0, 20, 10));
        // The far face is offset from the near face before the terrain splits it.
        QV_List<PrimPoly> far;
        OffsetPolygonWithArcs(near, onLeft ? 0 : 1, 0.5, far, 1);
        if (!onLeft) ReverseSegmentList(far);
        QV_List<QV_Coord3DLong> farVertices;
        BuildFaceVertices(far, farVertices);
        QV_List<QV_Coord3DLong> nearVertices;
        BuildFaceVertices(near, nearVertices);
        QV_List<API_Coord3D> terrain;
        terrain.Insert({7, 0, 17});
        QV_List<int32_t> index;
        for (int32_t i = 0; i < nearVertices.GetCount(); ++i) nearVertices[i].z = 10.0 * (i + 1);
        ASSERT_TRUE(AssignPointsToSegments(terrain, near, index));
        SplitPathAtPoints(terrain, nearVertices, near, index);
        const int32_t before = farVertices.GetCount();
        MatchFarFace(near, nearVertices, 0.5, onLeft, far, farVertices);
        // A new vertex opposite the split (and, on the outer side, one opposite the corner); the far vertices
        // facing near ones carry their heights.
        ASSERT_EQ(farVertices.GetCount(), before + (onLeft ? 1 : 2)) << onLeft;
        const double side = onLeft ? 0.5 : -0.5;
        EXPECT_NEAR(farVertices[0].y, side, 1e-12);
        EXPECT_NEAR(farVertices[1].x, 7.0, 1e-12);
        EXPECT_NEAR(farVertices[1].y, side, 1e-12);
        EXPECT_EQ(farVertices[0].z, 10.0);
        EXPECT_EQ(farVertices[1].z, 17.0);
        EXPECT_EQ(farVertices[farVertices.GetCount() - 1].z, 30.0);
        EXPECT_NEAR(farVertices[farVertices.GetCount() - 1].x, 20.0 - side, 1e-12);
    }
}

}  // namespace wall_profile_test
