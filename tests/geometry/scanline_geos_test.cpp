// Differential test of the scan-beam clipper against GEOS: seeded, generated pairs of valid polygon sets (with
// holes), all four operations. Compared: the result's area, and whether random sample points lie inside; every
// result contour must also be free of edges crossing each other.
//
// Area tolerance: |ours - GEOS| <= 1e-9 * max(|ours|, |GEOS|), with an absolute floor of 1e-9 square units for
// areas near zero (coordinates lie in [0, 120], so the floor is about 1e-13 of the frame's area). Sample points
// closer than 1e-6 to an input's boundary (which holds the result's boundary) are not compared.
#include "geometry/ScanlinePolygons.hpp"

#include <gtest/gtest.h>

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <random>
#include <utility>
#include <vector>

namespace {

struct Pt {
    double x, y;
};
using Ring = std::vector<Pt>;
struct Polygon {
    Ring outer;
    std::vector<Ring> holes;
};
using PolygonSet = std::vector<Polygon>;

// Pair kinds: free coordinates; stars snapped to a coarse grid; grid rectangles and L shapes; a second set that
// repeats rings of the first exactly (shared edges and vertices in free coordinates); spiky stars of many vertices
// (many crossings inside one beam).
enum Kind { Free, SnappedStars, GridBlocks, SharedRings, Spiky, KindCount };

class Generator {
public:
    explicit Generator(uint32_t seed) : m_rng(seed) {}

    int I(int a, int b) { return std::uniform_int_distribution<int>(a, b)(m_rng); }
    double U(double a, double b) { return std::uniform_real_distribution<double>(a, b)(m_rng); }

    PolygonSet Set(Kind kind) {
        PolygonSet set;
        const int count = I(1, 3);
        const double grid = I(0, 1) ? 10.0 : 5.0;
        for (int k = 0; k < count; ++k)
            set.push_back(kind == GridBlocks ? Block() : Star(kind == SnappedStars ? grid : 0, kind == Spiky));
        return set;
    }

    // A second set that takes rings of the first as they are.
    PolygonSet Shared(const PolygonSet& first) {
        PolygonSet set = first;
        switch (I(0, 2)) {
            case 0: break;  // the very same set
            case 1:
                for (Polygon& p : set) p.holes.clear();
                break;
            default: {
                set.resize(1);
                set[0].holes.clear();
                const PolygonSet more = Set(Free);
                set.insert(set.end(), more.begin(), more.end());
            }
        }
        return set;
    }

private:
    std::mt19937 m_rng;

    Ring StarRing(Pt c, double rMin, double rMax, int n) {
        std::vector<double> angles(static_cast<size_t>(n));
        for (double& a : angles) a = U(0, 2 * M_PI);
        std::sort(angles.begin(), angles.end());
        Ring r;
        for (double a : angles) {
            const double radius = U(rMin, rMax);
            r.push_back({c.x + radius * std::cos(a), c.y + radius * std::sin(a)});
        }
        return r;
    }

    static Ring Snap(const Ring& ring, double g) {
        Ring out;
        for (const Pt& p : ring) {
            const Pt q{std::round(p.x / g) * g, std::round(p.y / g) * g};
            if (out.empty() || q.x != out.back().x || q.y != out.back().y) out.push_back(q);
        }
        while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) out.pop_back();
        return out;
    }

    Polygon Star(double grid, bool spiky) {
        Polygon p;
        const Pt c{U(15, 85), U(15, 85)};
        const double r = U(8, 35);
        p.outer = spiky ? StarRing(c, 0.15 * r, r, I(20, 60)) : StarRing(c, 0.45 * r, r, I(3, 12));
        const int holes = I(0, 2);
        for (int h = 0; h < holes; ++h) {
            const double d = U(0, 0.2 * r), a = U(0, 2 * M_PI), rh = U(0.05 * r, 0.4 * r - d);
            p.holes.push_back(StarRing({c.x + d * std::cos(a), c.y + d * std::sin(a)}, 0.3 * rh, rh, I(3, 8)));
        }
        if (grid > 0) {
            p.outer = Snap(p.outer, grid);
            for (Ring& h : p.holes) h = Snap(h, grid);
        }
        return p;
    }

    Polygon Block() {
        const double x0 = I(0, 8) * 10, y0 = I(0, 8) * 10;
        const double x1 = x0 + I(1, 4) * 10, y1 = y0 + I(1, 4) * 10;
        Polygon p;
        if (I(0, 2) == 0) {
            p.outer = {{x0, y0}, {x1, y0}, {x1, y1}, {x0 + 10, y1}, {x0 + 10, y0 + 10}, {x0, y0 + 10}};
            return p;
        }
        p.outer = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        if (x1 - x0 >= 30 && y1 - y0 >= 30 && I(0, 1))
            p.holes.push_back({{x0 + 10, y0 + 10}, {x1 - 10, y0 + 10}, {x1 - 10, y1 - 10}, {x0 + 10, y1 - 10}});
        return p;
    }
};

class Geos {
public:
    Geos() : h(GEOS_init_r()) {}
    ~Geos() { GEOS_finish_r(h); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSContextHandle_t h;

    GEOSGeometry* RingOf(const Ring& r) const {
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, static_cast<unsigned>(r.size() + 1), 2);
        for (size_t i = 0; i <= r.size(); ++i)
            GEOSCoordSeq_setXY_r(h, s, static_cast<unsigned>(i), r[i % r.size()].x, r[i % r.size()].y);
        return GEOSGeom_createLinearRing_r(h, s);
    }

    // A multipolygon of the set, or nullptr when it is no valid one.
    GEOSGeometry* ValidSet(const PolygonSet& set) const {
        for (const Polygon& p : set) {
            if (p.outer.size() < 3) return nullptr;
            for (const Ring& r : p.holes)
                if (r.size() < 3) return nullptr;
        }
        std::vector<GEOSGeometry*> polys;
        for (const Polygon& p : set) {
            std::vector<GEOSGeometry*> holes;
            for (const Ring& r : p.holes) holes.push_back(RingOf(r));
            polys.push_back(
                GEOSGeom_createPolygon_r(h, RingOf(p.outer), holes.data(), static_cast<unsigned>(holes.size())));
        }
        GEOSGeometry* g =
            GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, polys.data(), static_cast<unsigned>(polys.size()));
        if (GEOSisValid_r(h, g) != 1) {
            GEOSGeom_destroy_r(h, g);
            return nullptr;
        }
        return g;
    }

    GEOSGeometry* Operation(GEOSGeometry* a, GEOSGeometry* b, uint32_t op) const {
        return op == ScanlineDifference  ? GEOSDifference_r(h, a, b)
            : op == ScanlineIntersection ? GEOSIntersection_r(h, a, b)
            : op == ScanlineExclusiveOr  ? GEOSSymDifference_r(h, a, b)
                                         : GEOSUnion_r(h, a, b);
    }
};

// Even-odd membership of a point in all contours of a result.
bool Inside(const QV_List<QV_List<QV_Poly>>& result, double x, double y) {
    bool inside = false;
    for (int32_t g = 0; g < result.GetCount(); ++g)
        for (int32_t k = 0; k < result[g].GetCount(); ++k) {
            const QV_List<API_Coord>& v = result[g][k].vertices;
            for (int32_t i = 0, n = v.GetCount(); i < n; ++i) {
                const API_Coord& a = v[i];
                const API_Coord& b = v[(i + 1) % n];
                if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
            }
        }
    return inside;
}

// Every ring of the set as one contour (holes are contours too: the clipper combines them by the even-odd rule).
QV_List<QV_Poly> Contours(const PolygonSet& set) {
    QV_List<QV_Poly> list;
    auto add = [&list](const Ring& r) {
        QV_List<API_Coord> points;
        for (const Pt& p : r) points.Insert(API_Coord{p.x, p.y});
        QV_Poly poly;
        poly.SetFromCoords(points, true);
        list.Insert(poly);
    };
    for (const Polygon& p : set) {
        add(p.outer);
        for (const Ring& h : p.holes) add(h);
    }
    return list;
}

struct ResultArea {
    double groups = 0.0;     // outer minus holes, group by group
    double signedSum = 0.0;  // sum of signed areas (outer contours counter-clockwise, holes clockwise)
};

ResultArea AreaOf(const QV_List<QV_List<QV_Poly>>& result) {
    ResultArea a;
    for (int32_t g = 0; g < result.GetCount(); ++g)
        for (int32_t k = 0; k < result[g].GetCount(); ++k) {
            const double s = result[g][k].SignedArea();  // positive for clockwise
            a.groups += (k == 0 ? 1.0 : -1.0) * std::fabs(s);
            a.signedSum -= s;
        }
    return a;
}

double Cross(const API_Coord& o, const API_Coord& a, const API_Coord& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Number of result contours in which two edges cross properly: each passes through the other by more than rounding
// (contours may touch themselves where a vertex of one input lies on an edge of the other).
int TwistedContours(const QV_List<QV_List<QV_Poly>>& result) {
    int twisted = 0;
    for (int32_t g = 0; g < result.GetCount(); ++g)
        for (int32_t k = 0; k < result[g].GetCount(); ++k) {
            const QV_List<API_Coord>& v = result[g][k].vertices;
            const int32_t n = v.GetCount();
            bool crossing = false;
            for (int32_t i = 0; i < n && !crossing; ++i)
                for (int32_t j = i + 2; j < n && !crossing; ++j) {
                    if (i == 0 && j == n - 1) continue;
                    const API_Coord &a = v[i], &b = v[(i + 1) % n], &c = v[j], &d = v[(j + 1) % n];
                    const double d1 = Cross(a, b, c), d2 = Cross(a, b, d), d3 = Cross(c, d, a), d4 = Cross(c, d, b);
                    const double e = 1e-7;  // cross products here are of order 1e2 to 1e4
                    crossing =
                        ((d1 > e && d2 < -e) || (d1 < -e && d2 > e)) && ((d3 > e && d4 < -e) || (d3 < -e && d4 > e));
                }
            if (crossing) ++twisted;
        }
    return twisted;
}

// Polygons of a GEOS result (0 for an empty one).
int PolygonCount(GEOSContextHandle_t h, const GEOSGeometry* g) {
    if (GEOSisEmpty_r(h, g) == 1) return 0;
    int count = 0;
    for (int i = 0, n = GEOSGetNumGeometries_r(h, g); i < n; ++i) {
        const GEOSGeometry* part = GEOSGetGeometryN_r(h, g, i);
        if (GEOSGeomTypeId_r(h, part) == GEOS_POLYGON && GEOSisEmpty_r(h, part) != 1) ++count;
    }
    return count;
}

bool Close(double a, double b) {
    return std::fabs(a - b) <= std::max(1e-9 * std::max(std::fabs(a), std::fabs(b)), 1e-9);
}

TEST(ScanlineGeos, AreasAgreeWithGeos) {
    constexpr int kPairs = 2500;
    Geos geos;
    Generator gen(20240611u);
    std::mt19937 sampler(7u);
    int compared = 0, snapped = 0, regenerated = 0, withHoles = 0, nonEmpty = 0, points = 0;
    int failures = 0, groupMismatches = 0;
    for (int pair = 0; pair < kPairs; ++pair) {
        const Kind kind = static_cast<Kind>(pair % KindCount);
        PolygonSet a, b;
        GEOSGeometry* ga = nullptr;
        GEOSGeometry* gb = nullptr;
        const Kind first = kind == SharedRings ? Free : kind;
        while (!(ga = geos.ValidSet(a = gen.Set(first)))) ++regenerated;
        while (!(gb = geos.ValidSet(b = kind == SharedRings ? gen.Shared(a) : gen.Set(kind)))) ++regenerated;
        if (kind == SnappedStars || kind == GridBlocks) ++snapped;
        for (const PolygonSet* s : {&a, &b})
            for (const Polygon& p : *s)
                if (!p.holes.empty()) {
                    ++withHoles;
                    break;
                }

        const QV_List<QV_Poly> subject = Contours(a), clip = Contours(b);
        GEOSGeometry* boundaryA = GEOSBoundary_r(geos.h, ga);
        GEOSGeometry* boundaryB = GEOSBoundary_r(geos.h, gb);
        ASSERT_TRUE(boundaryA && boundaryB);
        std::vector<std::pair<double, double>> samples;
        std::uniform_real_distribution<double> coord(-5.0, 125.0);
        while (samples.size() < 12) {
            const double x = coord(sampler), y = coord(sampler);
            GEOSGeometry* pt = GEOSGeom_createPointFromXY_r(geos.h, x, y);
            double da = 0.0, db = 0.0;
            GEOSDistance_r(geos.h, boundaryA, pt, &da);
            GEOSDistance_r(geos.h, boundaryB, pt, &db);
            GEOSGeom_destroy_r(geos.h, pt);
            if (da > 1e-6 && db > 1e-6) samples.emplace_back(x, y);
        }
        GEOSGeom_destroy_r(geos.h, boundaryA);
        GEOSGeom_destroy_r(geos.h, boundaryB);
        for (uint32_t op = 0; op < 4; ++op) {
            QV_List<QV_List<QV_Poly>> result;
            ASSERT_TRUE(ScanlinePolygons(subject, op, clip, result));
            const ResultArea ours = AreaOf(result);
            GEOSGeometry* theirs = geos.Operation(ga, gb, op);
            ASSERT_NE(theirs, nullptr) << "GEOS failed on pair " << pair << " operation " << op;
            double expected = 0.0;
            GEOSArea_r(geos.h, theirs, &expected);
            const int polygons = PolygonCount(geos.h, theirs);
            ++compared;
            if (result.GetCount() > 0) ++nonEmpty;
            bool ok = Close(ours.groups, expected) && Close(ours.signedSum, expected);

            const GEOSPreparedGeometry* prepared = GEOSPrepare_r(geos.h, theirs);
            int wrongPoints = 0;
            for (const auto& [x, y] : samples) {
                GEOSGeometry* pt = GEOSGeom_createPointFromXY_r(geos.h, x, y);
                if ((GEOSPreparedContains_r(geos.h, prepared, pt) == 1) != Inside(result, x, y)) ++wrongPoints;
                GEOSGeom_destroy_r(geos.h, pt);
                ++points;
            }
            GEOSPreparedGeom_destroy_r(geos.h, prepared);
            const int twisted = TwistedContours(result);
            ok = ok && wrongPoints == 0 && twisted == 0;
            if (result.GetCount() != polygons) ++groupMismatches;
            GEOSGeom_destroy_r(geos.h, theirs);
            if (!ok && ++failures <= 10)
                ADD_FAILURE() << "pair " << pair << " kind " << kind << " operation " << op << ": ours " << ours.groups
                              << " (signed sum " << ours.signedSum << "), GEOS " << expected
                              << ", sample points on the wrong side " << wrongPoints
                              << ", contours crossing themselves " << twisted;
        }
        GEOSGeom_destroy_r(geos.h, ga);
        GEOSGeom_destroy_r(geos.h, gb);
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(groupMismatches, 0);
    EXPECT_EQ(compared, 4 * kPairs);
    EXPECT_GE(3 * snapped, kPairs);
    RecordProperty("pairs", kPairs);
    RecordProperty("comparisons", compared);
    RecordProperty("snapped_pairs", snapped);
    std::cout << "pairs " << kPairs << ", comparisons " << compared << " (non-empty results " << nonEmpty
              << "), snapped pairs " << snapped << ", sets with holes " << withHoles << ", invalid sets regenerated "
              << regenerated << ", sample points compared " << points << ", disagreements " << failures
              << ", group counts unlike GEOS's polygon counts " << groupMismatches << "\n";
}

}  // namespace

#else
TEST(ScanlineGeos, AreasAgreeWithGeos) { GTEST_SKIP() << "GEOS is not available"; }
#endif
