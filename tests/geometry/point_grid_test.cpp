// The point grid answers as a scan of the list: the lowest index the caller accepts among the points within the
// tolerance, for crowded, repeated and far-apart points, and queries that hit, miss or lie between cells.
#include "geometry/PointGrid.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace point_grid_test {

struct P {
    double x, y;
};

TEST(PointGridTest, AnswersAsAScanOfTheList) {
    std::mt19937 rng(11);
    for (const double tolerance : {1e-7, 5e-5, 0.5}) {
        for (const double spread : {10 * tolerance, 1000 * tolerance, 5e6}) {
            std::uniform_real_distribution<double> at(-spread, spread);
            std::vector<P> points;
            for (int i = 0; i < 3000; ++i) {
                // Some points repeat earlier ones exactly or within the tolerance.
                if (i > 0 && rng() % 4 == 0) {
                    const P& q = points[rng() % points.size()];
                    points.push_back({q.x + tolerance * 0.5 * (rng() % 3 - 1.0), q.y});
                } else {
                    points.push_back({at(rng), at(rng)});
                }
            }
            PointGrid grid(4.0 * tolerance);
            for (int i = 0; i < int(points.size()); ++i) grid.Add(points[size_t(i)].x, points[size_t(i)].y, i);
            for (int n = 0; n < 3000; ++n) {
                P q = n % 2 == 0 ? points[rng() % points.size()] : P{at(rng), at(rng)};
                q.x += tolerance * (rng() % 5 - 2.0) * 0.4;
                const int32_t skip = int32_t(rng() % points.size());  // a caller that refuses one point
                const auto near = [&](int32_t i) {
                    return i != skip && std::fabs(points[size_t(i)].x - q.x) < tolerance &&
                        std::fabs(points[size_t(i)].y - q.y) < tolerance;
                };
                int32_t scan = -1;
                for (int32_t i = 0; i < int32_t(points.size()) && scan < 0; ++i)
                    if (near(i)) scan = i;
                ASSERT_EQ(grid.First(q.x, q.y, near), scan) << "tolerance " << tolerance << ", spread " << spread;
            }
        }
    }
    // An empty grid finds nothing.
    EXPECT_EQ(PointGrid(1.0).First(0, 0, [](int32_t) { return true; }), -1);
}

}  // namespace point_grid_test
