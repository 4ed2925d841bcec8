// Camera positions along a path, against the test's own walk along it: position k lies k spacings along the path,
// corners are no positions of their own, and the end comes once.
#include "siteobjects/CameraPath.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace camera_path_test {

// The point `s` along the path, walked segment by segment.
API_Coord Along(const QV_List<API_Coord>& v, double s) {
    for (int32_t i = 0; i + 1 < v.GetCount(); ++i) {
        const double len = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
        if (s <= len || i + 2 == v.GetCount()) {
            const double t = len > 0 ? s / len : 0;
            return {v[i].x + t * (v[i + 1].x - v[i].x), v[i].y + t * (v[i + 1].y - v[i].y)};
        }
        s -= len;
    }
    return v[0];
}

TEST(CameraPath, PositionsAreEquallySpacedAlongThePath) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> coord(-50.0, 50.0);
    for (int run = 0; run < 200; ++run) {
        QV_List<API_Coord> v;
        const int n = 2 + run % 5;
        for (int i = 0; i < n; ++i) v.Insert(API_Coord{coord(gen), coord(gen)});
        const double length = ComputePathLength(v);
        const int count = 1 + run % 13;
        const double d = length / count;
        QV_List<API_Coord3D> pos;
        ComputePositions(v, d, pos);
        ASSERT_GE(pos.GetCount(), count + 1);
        ASSERT_LE(pos.GetCount(), count + 2);
        for (int32_t k = 0; k < pos.GetCount() - 1; ++k) {
            const API_Coord p = Along(v, k * d);
            EXPECT_NEAR(pos[k].x, p.x, 1e-7) << run << " " << k;
            EXPECT_NEAR(pos[k].y, p.y, 1e-7) << run << " " << k;
            EXPECT_EQ(pos[k].z, 0.0);
        }
        EXPECT_NEAR(pos[pos.GetCount() - 1].x, v[n - 1].x, 1e-9);
        EXPECT_NEAR(pos[pos.GetCount() - 1].y, v[n - 1].y, 1e-9);
        // The end appears once.
        const API_Coord3D& a = pos[pos.GetCount() - 2];
        EXPECT_FALSE(std::fabs(a.x - v[n - 1].x) < 1e-7 && std::fabs(a.y - v[n - 1].y) < 1e-7) << run;
    }
}

TEST(CameraPath, ADistanceOfTheWholePathGivesItsEndsOnly) {
    QV_List<API_Coord> v;
    for (API_Coord c : {API_Coord{0, 0}, API_Coord{3, 4}, API_Coord{3, 10}}) v.Insert(c);
    EXPECT_DOUBLE_EQ(ComputePathLength(v), 11.0);
    QV_List<API_Coord3D> pos;
    ComputePositions(v, 11.0, pos);
    ASSERT_EQ(pos.GetCount(), 2);
    EXPECT_EQ(pos[1].x, 3.0);
    EXPECT_EQ(pos[1].y, 10.0);
    ComputePositions(v, 0.0, pos);
    EXPECT_EQ(pos.GetCount(), 0);
}

}  // namespace camera_path_test
