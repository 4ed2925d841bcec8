// The point grid answers as a scan of the list: the lowest index the caller accepts among the points within the
// tolerance, for crowded, repeated and far-apart points, and queries that hit, miss or lie between cells; a grid
// over the caller's own list finds what a scan finds; the distance test answers as a scan while points are taken
// away, also for coordinates far off, huge or beside zero, and for distances wider than all the points.
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

// A grid over the caller's list: the points within a square of half-side r, as a scan finds them.
TEST(PointGridTest, AGridOverTheCallersListFindsWhatAScanFinds) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(-50.0, 50.0);
    std::vector<P> points;
    BasicPointGrid<ListPlaces<P>> grid(4.0, ListPlaces<P>(points));
    grid.Reserve(2000);
    for (int i = 0; i < 2000; ++i) {
        points.push_back(i % 5 == 0 && i > 0 ? points[rng() % points.size()] : P{at(rng), at(rng)});
        grid.Add(points.back().x, points.back().y, i);
        if (i % 97 != 0) continue;
        for (const double r : {0.0, 0.3, 2.0, 7.5, 400.0}) {
            const P q = {at(rng), at(rng)};
            std::vector<uint8_t> seen(points.size(), 0);
            grid.Near(q.x, q.y, r, [&](int32_t k) { ++seen[size_t(k)]; });
            for (size_t k = 0; k < points.size(); ++k) {
                if (std::fabs(points[k].x - q.x) <= r && std::fabs(points[k].y - q.y) <= r) {
                    EXPECT_EQ(seen[k], 1) << k;
                }
                EXPECT_LE(seen[k], 1) << k;
            }
        }
    }
}

TEST(PointGridTest, TheDistanceTestAnswersAsAScanWhilePointsGo) {
    std::mt19937 rng(23);
    for (const double scale : {1e-300, 1e-3, 1.0, 1e6, 1e300}) {
        std::uniform_real_distribution<double> at(-scale, scale);
        const double d = scale * 0.01;
        PointGrid grid(4.0 * d);
        std::vector<P> live;
        for (int step = 0; step < 3000; ++step) {
            const int what = int(rng() % 4);
            if (what == 0 && !live.empty()) {
                const size_t k = rng() % live.size();
                ASSERT_TRUE(grid.RemoveAt(live[k].x, live[k].y));
                live.erase(live.begin() + long(k));
            } else if (what == 1) {
                const P p = live.empty() || rng() % 2 == 0 ? P{at(rng), at(rng)} : live[rng() % live.size()];
                grid.Add(p.x, p.y);
                live.push_back(p);
            } else {
                const P q = !live.empty() && rng() % 2 == 0
                    ? P{live[rng() % live.size()].x + d * 0.9, live[rng() % live.size()].y}
                    : P{at(rng), at(rng)};
                for (const double distance : {d, d * 1e-3, scale * 4.0}) {
                    bool scan = false;
                    for (const P& p : live)
                        scan = scan || (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) < distance * distance;
                    ASSERT_EQ(grid.AnyWithin(q.x, q.y, distance), scan) << scale << " " << distance;
                }
            }
            ASSERT_EQ(grid.Count(), live.size());
        }
        EXPECT_FALSE(grid.RemoveAt(2.5 * scale, 2.5 * scale));
    }
}

}  // namespace point_grid_test
