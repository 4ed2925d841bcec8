// The outline search's geometry: corridor sides at general, collinear and near-parallel corners, loops cut at
// sharp corners, the rectangle fitted to the points, the clicked-path check, and the nodes taken edge by edge
// with the direction window that does not wrap round 2 pi.
#include "terrain/OutlineCorridor.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace outline_corridor_test {

double LineDistance(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / std::hypot(dx, dy);
}

double Cross(const API_Coord& a, const API_Coord& b, const API_Coord& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// A convex polygon, clockwise and closed, from random angles on an ellipse.
PlanPoints RandomConvexPath(std::mt19937& rng) {
    std::uniform_real_distribution<double> angle(0.0, 2 * M_PI);
    std::vector<double> angles(3 + rng() % 6);
    for (double& a : angles) a = angle(rng);
    std::sort(angles.rbegin(), angles.rend());  // decreasing angle: clockwise
    PlanPoints path;
    for (double a : angles) path.push_back({100 * std::cos(a), 60 * std::sin(a)});
    path.push_back(path.front());
    return path;
}

TEST(OutlineCorridorTest, SidesKeepTheHalfWidthFromBothEdgesOfEveryCorner) {
    std::mt19937 rng(11);
    int corners = 0;
    for (int run = 0; run < 300; ++run) {
        const PlanPoints path = RandomConvexPath(rng);
        const double h = 0.5 + (rng() % 40) / 10.0;
        std::vector<int16_t> index;
        const PlanPoints inner = BuildCorridorSide(path, h, 1, &index);
        const PlanPoints outer = BuildCorridorSide(path, h, 0, nullptr);
        const size_t n = path.size() - 1;
        ASSERT_EQ(inner.size(), n + 1);
        ASSERT_EQ(index.size(), n + 1);
        for (size_t i = 0; i < n; ++i) {
            const API_Coord &prev = path[(i + n - 1) % n], &c = path[i], &next = path[(i + 1) % n];
            EXPECT_EQ(index[i], int16_t(i + 1));
            const double turn = std::fabs(Cross(prev, c, next)) /
                (std::hypot(c.x - prev.x, c.y - prev.y) * std::hypot(next.x - c.x, next.y - c.y));
            // Nearly straight or nearly vertical corners take the guarded paths, tested below.
            if (turn < 0.05 || std::fabs(c.x - prev.x) < 1 || std::fabs(next.x - c.x) < 1) continue;
            for (const API_Coord& v : {inner[i], outer[i]}) {
                EXPECT_NEAR(LineDistance(v, prev, c), h, 1e-6 * (1 + h));
                EXPECT_NEAR(LineDistance(v, c, next), h, 1e-6 * (1 + h));
            }
            // Clockwise travel: the inner side lies right of both edges, the outer side left.
            EXPECT_LT(Cross(prev, c, inner[i]), 0.0);
            EXPECT_GT(Cross(prev, c, outer[i]), 0.0);
            ++corners;
        }
    }
    EXPECT_GT(corners, 500);
}

TEST(OutlineCorridorTest, CollinearDoubledAndNearParallelCornersStayNearTheCorner) {
    // Three collinear vertices on a sloping line: the side vertex lies at the half-width, perpendicular to the
    // next edge.
    const API_Coord mid = OffsetCorner({0, 0}, {10, 5}, {20, 10}, 2.0, 1);
    EXPECT_NEAR(LineDistance(mid, {10, 5}, {20, 10}), 2.0, 1e-9);
    EXPECT_NEAR(std::hypot(mid.x - 10, mid.y - 5), 2.0, 1e-9);
    // A vertical pair and a horizontal pair are parallel too.
    const API_Coord up = OffsetCorner({0, 0}, {0, 5}, {0.00001, 10}, 1.0, 1);
    EXPECT_NEAR(up.x, 1.0, 1e-4);
    EXPECT_NEAR(up.y, 5.0, 1e-4);
    // A doubled vertex: only the other edge counts.
    const API_Coord doubled = OffsetCorner({0, 0}, {10, 0}, {10, 0}, 1.0, 0);
    EXPECT_NEAR(doubled.x, 10.0, 1e-12);
    EXPECT_NEAR(doubled.y, 1.0, 1e-12);
    // Nearly parallel edges that are not taken as parallel: the guarded determinant keeps the vertex finite.
    for (double slope : {1e-6, -1e-6, 3e-5, -3e-5}) {
        const API_Coord v = OffsetCorner({0, 0}, {10, 0}, {20, 10 * slope}, 1.0, 1);
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << slope;
        EXPECT_LT(std::fabs(v.y), 2e5) << slope;
    }
}

TEST(OutlineCorridorTest, LoopsAtSharpCornersAreCutUntilNoTwoEdgesCross) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> c(-50.0, 50.0);
    for (int run = 0; run < 200; ++run) {
        PlanPoints side;
        const size_t n = 4 + rng() % 8;
        for (size_t i = 0; i < n; ++i) side.push_back({c(rng), c(rng)});
        side.push_back(side.front());
        RemoveCorridorLoops(side);
        ASSERT_EQ(side.size(), n + 1);
        for (size_t i = 0; i + 1 < side.size(); ++i)
            for (size_t j = i + 2; j + 1 < side.size(); ++j) {
                const auto same = [](const API_Coord& a, const API_Coord& b) {
                    return std::fabs(a.x - b.x) < 1e-7 && std::fabs(a.y - b.y) < 1e-7;
                };
                if (same(side[i], side[j]) || same(side[i], side[j + 1]) || same(side[i + 1], side[j]) ||
                    same(side[i + 1], side[j + 1]))
                    continue;
                ASSERT_FALSE(SegmentsIntersect(side[i], side[i + 1], side[j], side[j + 1], nullptr))
                    << run << ": " << i << " " << j;
            }
    }
}

TEST(OutlineCorridorTest, RectangleFitsThePointsOnAndInsideThePath) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> c(-20.0, 120.0);
    for (int run = 0; run < 100; ++run) {
        PlanPoints points;
        for (int i = 0; i < 30; ++i) points.push_back({c(rng), c(rng)});
        points.push_back({0, 50});  // on the path's edge
        PlanPoints path = {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}};
        ASSERT_TRUE(FitRectangleToPoints(path, points));
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const API_Coord& p : points) {
            if (p.x < 0 || p.x > 100 || p.y < 0 || p.y > 100) continue;
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
        const PlanPoints expected = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(path[i].x, expected[i].x);
            EXPECT_DOUBLE_EQ(path[i].y, expected[i].y);
        }
    }
    PlanPoints path = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    EXPECT_FALSE(FitRectangleToPoints(path, {{5, 5}, {50, 50}}));
    EXPECT_EQ(path[1].y, 10.0);
}

TEST(OutlineCorridorTest, ClickedPathsMustBeSimpleAndTurnClockwise) {
    PlanPoints counter = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    ASSERT_TRUE(CheckClickedPath(counter));
    ASSERT_EQ(counter.size(), 5u);
    double area = 0;
    for (size_t i = 0; i + 1 < counter.size(); ++i)
        area += counter[i].x * counter[i + 1].y - counter[i + 1].x * counter[i].y;
    EXPECT_LT(area, 0.0);  // clockwise
    PlanPoints close = {{0, 0}, {10, 0}, {10, 1e-8}, {0, 10}, {0, 0}};
    EXPECT_FALSE(CheckClickedPath(close));
    PlanPoints bowTie = {{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}};
    EXPECT_FALSE(CheckClickedPath(bowTie));
    PlanPoints overlapping = {{0, 0}, {10, 0}, {5, 0}, {5, 5}, {0, 0}};
    EXPECT_FALSE(CheckClickedPath(overlapping));
}

// The place told for a refused ring lies on two edges that do not follow each other, or is a vertex where the ring
// turns straight back; every ring refused gets one. Rings on a small grid of integers, so that touches, overlaps
// and folds come often.
bool OnEdge(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len == 0.0) return std::hypot(p.x - a.x, p.y - a.y) < 1e-9;
    const double t = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / (len * len);
    return LineDistance(p, a, b) < 1e-9 && t >= -1e-12 && t <= 1 + 1e-12;
}
bool FaultPlace(const PlanPoints& open, const API_Coord& p) {
    const size_t n = open.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            const bool neighbours = j == i + 1 || (i == 0 && j == n - 1);
            if (!neighbours && OnEdge(p, open[i], open[(i + 1) % n]) && OnEdge(p, open[j], open[(j + 1) % n]))
                return true;
        }
    for (size_t i = 0; i < n; ++i) {
        const API_Coord &a = open[(i + n - 1) % n], &b = open[i], &c = open[(i + 1) % n];
        if (p.x == b.x && p.y == b.y && std::fabs(Cross(a, b, c)) < 1e-12 &&
            (a.x - b.x) * (c.x - b.x) + (a.y - b.y) * (c.y - b.y) > 0)
            return true;
        if (p.x == b.x && p.y == b.y)
            for (size_t j = 0; j < n; ++j)
                if (j != i && open[j].x == b.x && open[j].y == b.y) return true;
    }
    return false;
}

TEST(OutlineCorridorTest, ARefusedRingOrPathIsToldWhereItCrossesItself) {
    std::mt19937 random(53);
    std::uniform_int_distribution<int> coordinate(0, 4), count(3, 7);
    int refused = 0;
    for (int run = 0; run < 4000; ++run) {
        PlanPoints open(size_t(count(random)));
        for (API_Coord& p : open) p = {double(coordinate(random)), double(coordinate(random))};
        PlanPoints closed = open;
        closed.push_back(open.front());
        if (RingCrossesItself(closed)) {
            ++refused;
            API_Coord at = {};
            ASSERT_TRUE(RingCrossing(closed, at)) << run;
            EXPECT_TRUE(FaultPlace(open, at)) << run << " at " << at.x << ", " << at.y;
        }
        PlanPoints path = closed;
        API_Coord fault = {};
        if (!CheckClickedPath(path, &fault)) {
            EXPECT_TRUE(FaultPlace(open, fault)) << run << " at " << fault.x << ", " << fault.y;
            for (size_t i = 0; i < path.size() && path.size() == closed.size(); ++i)
                EXPECT_TRUE(path[i].x == closed[i].x && path[i].y == closed[i].y) << run;
            EXPECT_EQ(path.size(), closed.size());
        }
    }
    EXPECT_GT(refused, 1000);
}

// A 20 m grid of points and a clockwise path near its outer points: the outline takes the eight outer points in
// order; a point slightly below an edge along +x is dropped because the window does not wrap round 2 pi.
TEST(OutlineCorridorTest, NodesFollowThePathThroughTheOuterPoints) {
    PlanPoints grid;
    for (double x : {0.0, 20.0, 40.0})
        for (double y : {0.0, 20.0, 40.0}) grid.push_back({x, y});
    const PlanPoints path = {{0.5, 0.3}, {0.2, 39.6}, {39.7, 40.0}, {40.3, 0.4}, {0.5, 0.3}};
    const double h = std::hypot(40, 40) / 25;
    PlanPoints inner = BuildCorridorSide(path, h, 1, nullptr), outer = BuildCorridorSide(path, h, 0, nullptr);
    RemoveCorridorLoops(inner);
    RemoveCorridorLoops(outer);
    PlanPoints found = FindCorridorPoints(outer, inner, grid);
    EXPECT_EQ(found.size(), 8u);  // the middle point lies inside the inner side
    const PlanPoints nodes = CollectNodesAlongEdges(outer, inner, found, M_PI / 6);
    const PlanPoints expected = {{0, 0}, {0, 20}, {0, 40}, {20, 40}, {40, 40}, {40, 20}, {40, 0}, {20, 0}};
    ASSERT_EQ(nodes.size(), expected.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i].x, expected[i].x) << i;
        EXPECT_EQ(nodes[i].y, expected[i].y) << i;
    }

    // The top edge runs along +x: a point 0.1 below its line, after (20, 40), makes a direction just under 2 pi
    // and is dropped; wrapped, the window would take it.
    PlanPoints sagging = grid;
    sagging.push_back({30.0, 39.9});
    PlanPoints again = FindCorridorPoints(outer, inner, sagging);
    EXPECT_EQ(again.size(), 9u);
    const PlanPoints same = CollectNodesAlongEdges(outer, inner, again, M_PI / 6);
    ASSERT_EQ(same.size(), expected.size());
    for (const API_Coord& p : same) EXPECT_NE(p.x, 30.0);
    EXPECT_NEAR(PlanDirection({0, 40}, {20, 39.9}), 2 * M_PI - 0.005, 1e-4);
}

// Any path, however tangled or short, and any points: the search ends, and every node is one of the points,
// taken once.
TEST(OutlineCorridorTest, TangledShortAndEmptyPathsGiveNodesFromThePointsOnly) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> c(-10.0, 10.0);
    for (int run = 0; run < 300; ++run) {
        PlanPoints path;
        const size_t n = rng() % 7;
        for (size_t i = 0; i < n; ++i) path.push_back({c(rng), c(rng)});
        if (!path.empty() && rng() % 2 == 0) path.push_back(path.front());
        if (n > 2 && rng() % 3 == 0) path[1] = path[0];  // a doubled vertex
        PlanPoints points;
        for (int i = 0; i < 40; ++i) points.push_back({c(rng), c(rng)});
        const double h = (rng() % 30) / 10.0;
        PlanPoints inner = BuildCorridorSide(path, h, 1, nullptr), outer = BuildCorridorSide(path, h, 0, nullptr);
        RemoveCorridorLoops(inner);
        RemoveCorridorLoops(outer);
        PlanPoints found = FindCorridorPoints(outer, inner, points);
        const size_t before = found.size();
        const PlanPoints nodes = CollectNodesAlongEdges(outer, inner, found, M_PI / 6);
        ASSERT_LE(nodes.size() + found.size(), before);
        for (const API_Coord& node : nodes) {
            size_t matches = 0;
            for (const API_Coord& p : points) matches += p.x == node.x && p.y == node.y;
            ASSERT_EQ(matches, 1u);
        }
        PlanPoints check = path;
        CheckClickedPath(check);
        PlanPoints rect = path;
        FitRectangleToPoints(rect, points);
    }
}

}  // namespace outline_corridor_test
