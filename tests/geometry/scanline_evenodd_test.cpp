// The clipper on contours that cross themselves and each other, checked point by point against the even-odd rule
// evaluated on the inputs directly: a point is in the result when op(in subject, in clip) holds, where "in" counts
// boundary crossings of all contours of that input. Half of the pairs sit on a coarse grid, so collinear overlaps,
// shared vertices and horizontal edges within one input occur often.
#include "geometry/ScanlinePolygons.hpp"

#include <gtest/gtest.h>
#ifdef LODRAVIX_HAVE_GMP
#include "ExactArea.hpp"
#endif

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace scanline_evenodd_test {

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

// A ring of one input repeated among the other's rings, and a hole of the other through three of its vertices (as
// when an outline is snapped to the terrain's or another object's): coincident edges of the two inputs form one
// bundle, and an edge that ends next to such a bundle must still find its crossings with it. Each case runs in a
// local frame and at survey coordinates; the area is checked against the exact one and every point of a grid
// against the even-odd rule.
TEST(ScanlineEvenOdd, RingsSharedAcrossTheInputs) {
    struct Case {
        const char* name;
        Input subject, clip;
        uint32_t op;
        double area;  // to two decimals, as GEOS has it
    };
    const std::vector<Case> cases = {
        {"union with a repeated ring",
         {{{38.367, 56.479}, {36.298, 46.598}, {24.61, 55.218}}},
         {{{29.049, 47.062}, {34.919, 50.918}, {37.76, 48.027}},
          {{38.367, 56.479}, {36.298, 46.598}, {24.61, 55.218}},
          {{33.312, 46.368}, {34.022, 47.571}, {32.472, 35.967}}},
         ScanlineUnion,
         76.00},
        {"difference with a hole through three vertices",
         {{{57.152, 57.608}, {45.102, 41.815}, {59.276, 41.705}}},
         {{{78.689, 61.988}, {23.099, 26.861}, {86.49, 46.979}},
          {{57.152, 57.608}, {45.102, 41.815}, {58.031, 42.381}, {59.276, 41.705}}},
         ScanlineDifference,
         41.70},
    };
    for (const Case& c : cases)
        for (const API_Coord shift : {API_Coord{0.0, 0.0}, API_Coord{600000.0, 6600000.0}}) {
            SCOPED_TRACE(std::string(c.name) + (shift.x > 0 ? " at survey coordinates" : ""));
            Input subject = c.subject, clip = c.clip;
            for (Input* in : {&subject, &clip})
                for (Contour& ring : *in)
                    for (API_Coord& p : ring) p = API_Coord{p.x + shift.x, p.y + shift.y};
            QV_List<QV_List<QV_Poly>> result;
            ASSERT_TRUE(ScanlinePolygons(ToList(subject), c.op, ToList(clip), result));
            std::vector<std::vector<API_Coord>> rings;
            double area = 0.0;
            for (int32_t g = 0; g < result.GetCount(); ++g)
                for (int32_t k = 0; k < result[g].GetCount(); ++k) {
                    rings.emplace_back();
                    for (const API_Coord& p : result[g][k].vertices)
                        rings.back().push_back(API_Coord{p.x - shift.x, p.y - shift.y});
                    const std::vector<API_Coord>& r = rings.back();
                    double sum = 0.0;  // counter-clockwise outer contours, clockwise holes
                    for (size_t i = 0; i < r.size(); ++i)
                        sum += r[i].x * r[(i + 1) % r.size()].y - r[(i + 1) % r.size()].x * r[i].y;
                    area += 0.5 * sum;
                    EXPECT_EQ(sum<0.0, k> 0) << "group " << g << " contour " << k;
                }
            EXPECT_NEAR(area, c.area, 0.005);
#ifdef LODRAVIX_HAVE_GMP
            const double exact = ExactArea::Of(subject, c.op, clip).get_d();
            EXPECT_NEAR(area, exact, 1e-9 * exact);
#endif
            std::vector<const std::vector<API_Coord>*> s, k, r;
            Input local[2] = {c.subject, c.clip};
            for (const Contour& ring : local[0]) s.push_back(&ring);
            for (const Contour& ring : local[1]) k.push_back(&ring);
            for (const auto& ring : rings) r.push_back(&ring);
            int wrong = 0;
            for (double y = 20.05; y < 70.0; y += 0.25)
                for (double x = 20.05; x < 90.0; x += 0.25) {
                    if (NearAnyEdge(local[0], x, y) || NearAnyEdge(local[1], x, y)) continue;
                    if (EvenOdd(r, x, y) != Expected(c.op, EvenOdd(s, x, y), EvenOdd(k, x, y))) ++wrong;
                }
            EXPECT_EQ(wrong, 0);
        }
}

}  // namespace scanline_evenodd_test
