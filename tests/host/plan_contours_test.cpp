// Level lines traced over random height fields: every piece of every crossed triangle lands in exactly one line,
// on its level, and a line only stops at the surface's border.
#include "model3d/PlanContours.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace plan_contours_test {

struct Grid {
    int n = 0;  // cells a side
    std::vector<ModelPoint> points;
    std::vector<std::array<int32_t, 3>> triangles;
};

// An n by n grid of unit cells, two triangles each, the diagonal alternating.
Grid RandomGrid(int n, std::mt19937& random, bool wholeHeights) {
    Grid g;
    g.n = n;
    std::uniform_real_distribution<double> height(0.0, 10.0);
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            g.points.push_back({double(i), double(j), wholeHeights ? std::floor(height(random)) : height(random)});
    const auto at = [&](int i, int j) { return int32_t(j * (n + 1) + i); };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            if ((i + j) % 2 == 0) {
                g.triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
                g.triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
            } else {
                g.triangles.push_back({at(i, j), at(i + 1, j), at(i, j + 1)});
                g.triangles.push_back({at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
            }
        }
    return g;
}

TEST(PlanContours, EveryCrossedTriangleGivesOnePieceOfOneLineOnItsLevel) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        // Whole heights put corners exactly on the levels: the case that splits or doubles pieces when mishandled.
        const Grid g = RandomGrid(3 + round % 9, random, round % 2 == 0);
        const std::vector<double> levels = {0.5, 2.0, 3.0, 4.25, 7.0, 9.0};
        const std::vector<LevelLine> lines = TraceLevelLines(g.points, g.triangles, levels);

        std::vector<size_t> expected(levels.size(), 0), found(levels.size(), 0);
        for (const auto& t : g.triangles) {
            const double lo = std::min({g.points[size_t(t[0])].z, g.points[size_t(t[1])].z, g.points[size_t(t[2])].z});
            const double hi = std::max({g.points[size_t(t[0])].z, g.points[size_t(t[1])].z, g.points[size_t(t[2])].z});
            for (size_t k = 0; k < levels.size(); ++k) expected[k] += lo < levels[k] && levels[k] <= hi ? 1 : 0;
        }
        const auto onBorder = [&](const ModelPoint& p) {
            return p.x == 0.0 || p.y == 0.0 || p.x == double(g.n) || p.y == double(g.n);
        };
        for (const LevelLine& line : lines) {
            ASSERT_GE(line.level, 0);
            ASSERT_LT(size_t(line.level), levels.size());
            ASSERT_GE(line.points.size(), line.closed ? 3u : 2u);
            found[size_t(line.level)] += line.points.size() - (line.closed ? 0 : 1);
            for (size_t i = 0; i < line.points.size(); ++i) {
                const ModelPoint& p = line.points[i];
                EXPECT_EQ(p.z, levels[size_t(line.level)]);
                // Consecutive points lie on sides of one cell.
                const ModelPoint& q = line.points[(i + 1) % line.points.size()];
                if (i + 1 < line.points.size() || line.closed) {
                    EXPECT_LE(std::abs(p.x - q.x), 1.0 + 1e-12);
                    EXPECT_LE(std::abs(p.y - q.y), 1.0 + 1e-12);
                }
            }
            if (!line.closed) {
                EXPECT_TRUE(onBorder(line.points.front())) << "round " << round << " level " << line.level;
                EXPECT_TRUE(onBorder(line.points.back())) << "round " << round << " level " << line.level;
            }
        }
        EXPECT_EQ(found, expected) << "round " << round;
    }
}

TEST(PlanContours, AHillGivesOneClosedRingPerLevelAtItsHeight) {
    // A pyramid on a 10 by 10 grid: height 5 minus the larger distance from the middle, linear along every side.
    Grid g;
    for (int j = 0; j <= 10; ++j)
        for (int i = 0; i <= 10; ++i)
            g.points.push_back({double(i), double(j), 5.0 - std::max(std::abs(i - 5), std::abs(j - 5))});
    const auto at = [](int i, int j) { return int32_t(j * 11 + i); };
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) {
            // Diagonals away from the middle keep every triangle's heights linear in the pyramid's faces.
            const bool down = (i < 5) == (j < 5);
            if (down) {
                g.triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
                g.triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
            } else {
                g.triangles.push_back({at(i, j), at(i + 1, j), at(i, j + 1)});
                g.triangles.push_back({at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
            }
        }
    const std::vector<LevelLine> lines = TraceLevelLines(g.points, g.triangles, {0.5, 1.5, 2.5, 3.5, 4.5});
    ASSERT_EQ(lines.size(), 5u);
    for (const LevelLine& line : lines) {
        EXPECT_TRUE(line.closed);
        const double reach = 5.0 - (0.5 + line.level);  // the ring is the square at this distance from the middle
        for (const ModelPoint& p : line.points)
            EXPECT_NEAR(std::max(std::abs(p.x - 5.0), std::abs(p.y - 5.0)), reach, 1e-12);
    }
}

TEST(PlanContours, CornersThatAreNotNumbersLeaveTheirTrianglesOut) {
    std::vector<ModelPoint> points = {{0, 0, 0}, {1, 0, 2}, {0, 1, 2}, {1, 1, std::nan("")}};
    const std::vector<LevelLine> lines = TraceLevelLines(points, {{0, 1, 2}, {1, 3, 2}, {0, 1, 7}}, {1.0});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points.size(), 2u);
    EXPECT_FALSE(lines[0].closed);
}

}  // namespace plan_contours_test
