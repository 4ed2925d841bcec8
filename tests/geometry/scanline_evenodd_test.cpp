// The clipper on contours that cross themselves and each other, checked point by point against the even-odd rule
// evaluated on the inputs directly: a point is in the result when op(in subject, in clip) holds, where "in" counts
// boundary crossings of all contours of that input. Half of the pairs sit on a coarse grid, so collinear overlaps,
// shared vertices and horizontal edges within one input occur often.
#include "geometry/ScanlinePolygons.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Contour = std::vector<API_Coord>;
using Input = std::vector<Contour>;

bool EvenOdd(const std::vector<const std::vector<API_Coord>*>& rings, double x, double y) {
    bool inside = false;
    for (const std::vector<API_Coord>* ring : rings) {
        const size_t n = ring->size();
        for (size_t i = 0; i < n; ++i) {
            const API_Coord& a = (*ring)[i];
            const API_Coord& b = (*ring)[(i + 1) % n];
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
        }
    }
    return inside;
}

double SegmentDistance(const API_Coord& a, const API_Coord& b, double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = dx * dx + dy * dy;
    double t = len > 0.0 ? ((x - a.x) * dx + (y - a.y) * dy) / len : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

bool NearAnyEdge(const Input& input, double x, double y) {
    for (const Contour& c : input)
        for (size_t i = 0; i < c.size(); ++i)
            if (SegmentDistance(c[i], c[(i + 1) % c.size()], x, y) < 1e-6) return true;
    return false;
}

QV_List<QV_Poly> ToList(const Input& input) {
    QV_List<QV_Poly> list;
    for (const Contour& c : input) {
        QV_List<API_Coord> points;
        for (const API_Coord& p : c) points.Insert(p);
        QV_Poly poly;
        poly.SetFromCoords(points, true);
        list.Insert(poly);
    }
    return list;
}

bool Expected(uint32_t op, bool s, bool c) {
    switch (op) {
        case ScanlineDifference: return s && !c;
        case ScanlineIntersection: return s && c;
        case ScanlineExclusiveOr: return s != c;
        default: return s || c;
    }
}

TEST(ScanlineEvenOdd, SelfCrossingContoursFollowTheEvenOddRule) {
    constexpr int kPairs = 2000;
    constexpr int kPoints = 16;
    std::mt19937 rng(31337u);
    auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto integer = [&rng](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    auto makeInput = [&](bool grid) {
        Input input(static_cast<size_t>(integer(1, 3)));
        for (Contour& c : input) {
            const double cx = uniform(20, 80), cy = uniform(20, 80), r = uniform(10, 40);
            const int n = integer(3, 10);
            for (int k = 0; k < n; ++k) {
                API_Coord p{cx + uniform(-r, r), cy + uniform(-r, r)};
                if (grid) p = API_Coord{std::round(p.x / 10) * 10, std::round(p.y / 10) * 10};
                c.push_back(p);
            }
        }
        return input;
    };

    int wrong = 0, compared = 0;
    for (int pair = 0; pair < kPairs; ++pair) {
        const bool grid = pair % 2 == 1;
        const Input subject = makeInput(grid), clip = makeInput(grid);
        std::vector<const std::vector<API_Coord>*> subjectRings, clipRings;
        for (const Contour& c : subject) subjectRings.push_back(&c);
        for (const Contour& c : clip) clipRings.push_back(&c);
        const QV_List<QV_Poly> s = ToList(subject), c = ToList(clip);

        std::vector<API_Coord> samples;
        while (samples.size() < kPoints) {
            const double x = uniform(-5, 105), y = uniform(-5, 105);
            if (!NearAnyEdge(subject, x, y) && !NearAnyEdge(clip, x, y)) samples.push_back(API_Coord{x, y});
        }
        for (uint32_t op = 0; op < 4; ++op) {
            QV_List<QV_List<QV_Poly>> result;
            ASSERT_TRUE(ScanlinePolygons(s, op, c, result));
            std::vector<const std::vector<API_Coord>*> resultRings;
            std::vector<std::vector<API_Coord>> storage;
            for (int32_t g = 0; g < result.GetCount(); ++g)
                for (int32_t k = 0; k < result[g].GetCount(); ++k) {
                    std::vector<API_Coord> ring;
                    for (int32_t v = 0; v < result[g][k].vertices.GetCount(); ++v)
                        ring.push_back(result[g][k].vertices[v]);
                    storage.push_back(std::move(ring));
                }
            for (const auto& ring : storage) resultRings.push_back(&ring);
            for (const API_Coord& p : samples) {
                ++compared;
                const bool expected = Expected(op, EvenOdd(subjectRings, p.x, p.y), EvenOdd(clipRings, p.x, p.y));
                if (EvenOdd(resultRings, p.x, p.y) != expected && ++wrong <= 10)
                    ADD_FAILURE() << "pair " << pair << " operation " << op << " point (" << p.x << ", " << p.y
                                  << "): expected " << (expected ? "inside" : "outside");
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(compared, kPairs * 4 * kPoints);
}

}  // namespace
