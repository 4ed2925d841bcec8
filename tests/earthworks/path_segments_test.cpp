// Path polylines into straight and arc segments: arcs through three points on random circles, chained paths, and
// the paths that once read past their end or divided by zero.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "earthworks/PathSegments.hpp"

namespace path_segments_test {

QV_List<QV_Coord3DLong> Path(std::initializer_list<QV_Coord3DLong> points) {
    QV_List<QV_Coord3DLong> list;
    for (const QV_Coord3DLong& p : points) list.Insert(p);
    return list;
}

TEST(PathSegments, ThreePointsOnACircleGiveItsCentreAndRadius) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> centre(-1e4, 1e4), radius(0.5, 500.0), angle(0.0, 2 * M_PI);
    for (int run = 0; run < 300; ++run) {
        const double cx = centre(rng), cy = centre(rng), r = radius(rng);
        const double a0 = angle(rng), a1 = a0 + 0.2 + angle(rng) / 3, a2 = a1 + 0.2 + angle(rng) / 3;
        auto at = [&](double a, int32_t code) {
            return QV_Coord3DLong{cx + r * std::cos(a), cy + r * std::sin(a), 5.0, code};
        };
        QV_List<PrimPoly> segs;
        PolylineToSegments(Path({at(a0, 0), at(a1, 2), at(a2, 0)}), segs);
        ASSERT_EQ(segs.GetCount(), 1) << run;
        EXPECT_EQ(segs[0].isLine, 0);
        EXPECT_NEAR(segs[0].centre.x, cx, 1e-6 * (1e4 + r)) << run;
        EXPECT_NEAR(segs[0].centre.y, cy, 1e-6 * (1e4 + r)) << run;
        EXPECT_NEAR(segs[0].radius, r, 1e-6 * (1e4 + r)) << run;
        EXPECT_DOUBLE_EQ(segs[0].mid.x, at(a1, 2).x);

        PolylineToSegments(Path({at(a0, 0), at(a1, 0), at(a2, 0)}), segs);
        ASSERT_EQ(segs.GetCount(), 2);
        EXPECT_TRUE(segs[0].isLine && segs[1].isLine);
        EXPECT_DOUBLE_EQ(segs[0].end.x, segs[1].begin.x);
    }
}

TEST(PathSegments, ChainedPathsJoinUpFromFirstToLastVertex) {
    const auto path =
        Path({{0, 0, 0, 0}, {10, 0, 0, 0}, {15, 5, 0, 2}, {20, 0, 0, 0}, {30, 0, 0, 0}, {35, -5, 0, 2}, {40, 0, 0, 0}});
    QV_List<PrimPoly> segs;
    PolylineToSegments(path, segs);
    ASSERT_EQ(segs.GetCount(), 4);
    EXPECT_EQ(segs[1].isLine, 0);
    EXPECT_EQ(segs[3].isLine, 0);
    EXPECT_NEAR(segs[1].centre.x, 15.0, 1e-12);
    EXPECT_NEAR(segs[1].radius, 5.0, 1e-12);
    for (int32_t i = 0; i + 1 < segs.GetCount(); ++i) EXPECT_EQ(segs[i].end.x, segs[i + 1].begin.x);
    EXPECT_EQ(segs[3].end.x, 40.0);

    PolylineToSegments(Path({{1, 1, 0, 0}}), segs);
    EXPECT_EQ(segs.GetCount(), 0);
    PolylineToSegments(QV_List<QV_Coord3DLong>(), segs);
    EXPECT_EQ(segs.GetCount(), 0);
}

TEST(PathSegments, AnArcMiddleOnTheLastVertexOrOnALineGivesStraightSegments) {
    QV_List<PrimPoly> segs;
    PolylineToSegments(Path({{0, 0, 0, 0}, {10, 0, 0, 0}, {15, 5, 0, 2}}), segs);  // no third arc point
    ASSERT_EQ(segs.GetCount(), 2);
    EXPECT_TRUE(segs[0].isLine && segs[1].isLine);
    EXPECT_EQ(segs[1].end.y, 5.0);

    for (double far : {0.0, 1e6}) {
        PolylineToSegments(Path({{far, far, 0, 0}, {far + 5, far + 5, 0, 2}, {far + 10, far + 10, 0, 0}}), segs);
        ASSERT_EQ(segs.GetCount(), 2) << far;
        for (int32_t i = 0; i < 2; ++i) {
            EXPECT_EQ(segs[i].isLine, 1);
            EXPECT_TRUE(std::isfinite(segs[i].radius) && std::isfinite(segs[i].centre.x));
        }
        EXPECT_EQ(segs[1].end.x, far + 10);
    }
    API_Coord c{7, 7};
    EXPECT_FALSE(CircleCentreThrough({0, 0}, {1, 1}, {2, 2}, c));
    EXPECT_EQ(c.x, 7.0);
}

}  // namespace path_segments_test
