// The offset of random simple chains of lines and arcs, checked against GEOS's distance to the path (densified
// to chords that stray at most 1e-8 from the arcs), near the origin and moved to survey coordinates:
// - every point of the result lies at the distance from the path, or beyond it on a moved carrier (a mitred
//   outside corner);
// - every point of a moved segment that lies at the distance from the whole path (a true offset point) is on the
//   result;
// - the moved chain's offset is the offset moved, segment for segment.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "OffsetTestUtil.hpp"
#include "geometry/OutlineOffset.hpp"

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>
#endif

namespace outline_offset_property_test {

using namespace OffsetTest;

QV_List<PrimPoly> Offset(const QV_List<PrimPoly>& path, uint8_t side, double d) {
    QV_List<PrimPoly> result;
    OffsetPolygonWithArcs(path, side, d, result, 1);
    return result;
}

QV_List<PrimPoly> Moved(const QV_List<PrimPoly>& chain, double tx, double ty) {
    QV_List<PrimPoly> out(chain);
    for (PrimPoly& p : out) {
        p.begin = API_Coord{p.begin.x + tx, p.begin.y + ty};
        p.end = API_Coord{p.end.x + tx, p.end.y + ty};
        if (p.isLine == 0) {
            p.mid = API_Coord{p.mid.x + tx, p.mid.y + ty};
            p.centre = API_Coord{p.centre.x + tx, p.centre.y + ty};
        }
    }
    return out;
}

// The segment moved sideways by d, as the offset moves it before joining; false when an arc shrinks below 0.
bool MovedSegment(const PrimPoly& p, uint8_t side, double d, PrimPoly& out) {
    out = p;
    if (p.isLine != 0) {
        const double dx = p.end.x - p.begin.x, dy = p.end.y - p.begin.y, l = std::hypot(dx, dy);
        const double k = (side == 0 ? d : -d) / l;
        out.begin = API_Coord{p.begin.x - k * dy, p.begin.y + k * dx};
        out.end = API_Coord{p.end.x - k * dy, p.end.y + k * dx};
        return true;
    }
    double start, sweep;
    ArcSpan(p, start, sweep);
    const bool towardCentre = (sweep > 0) == (side == 0);
    out.radius = towardCentre ? p.radius - d : p.radius + d;
    if (out.radius <= 0.0) return false;
    auto at = [&](double a) {
        return API_Coord{p.centre.x + out.radius * std::cos(a), p.centre.y + out.radius * std::sin(a)};
    };
    out.begin = at(start);
    out.end = at(start + sweep);
    out.mid = at(start + sweep / 2);
    return true;
}

// Turtle-built simple paths of several kinds, with the distance to offset by.
class Paths {
public:
    explicit Paths(uint32_t seed) : m_rng(seed) {}

    double U(double a, double b) { return std::uniform_real_distribution<double>(a, b)(m_rng); }
    int I(int a, int b) { return std::uniform_int_distribution<int>(a, b)(m_rng); }

    enum Kind { Kinks, TightArcs, UTurns, NearRings, ShortPieces, Mixed, KindCount };

    QV_List<PrimPoly> Make(Kind kind, double& d) {
        m_path.Clear();
        m_at = API_Coord{U(-50, 50), U(-50, 50)};
        m_heading = U(0, 2 * M_PI);
        d = U(0.5, 3.0);
        switch (kind) {
            case Kinks:
                for (int i = I(2, 6); i > 0; --i) {
                    Straight(U(2, 20));
                    m_heading += U(-2.6, 2.6);
                }
                break;
            case TightArcs:
                Straight(U(3, 15));
                Turn(U(0.2, 1.5) * d, U(0.3, 2.6) * (I(0, 1) ? 1 : -1));
                if (I(0, 2)) Straight(U(3, 15));
                break;
            case UTurns: {
                const double leg = U(5, 20);
                Straight(leg);
                Turn(U(0.4, 3.0) * d, M_PI * (I(0, 1) ? 1 : -1));
                Straight(U(0.3, 1.2) * leg);
                break;
            }
            case NearRings: {
                const double r = U(8, 20), gap = U(0.2, 0.9);
                const double sign = I(0, 1) ? 1 : -1;
                for (int i = 0; i < 3; ++i) {
                    Straight(U(2, 6));
                    Turn(r, sign * M_PI / 2);
                }
                Straight(U(2, 6));
                Turn(r, sign * (M_PI / 2 - gap));
                break;
            }
            case ShortPieces: {
                d = U(0.3, 1.5);
                const double bend = U(-5, 5) * M_PI / 180;
                for (int i = I(20, 120); i > 0; --i) {
                    Straight(U(0.01, 0.05));
                    m_heading += bend * U(0.5, 1.5);
                }
                break;
            }
            default:
                for (int i = I(2, 7); i > 0; --i) {
                    if (I(0, 1))
                        Straight(U(1, 12));
                    else
                        Turn(U(0.3, 15), U(-2.5, 2.5));
                    if (I(0, 2) == 0) m_heading += U(-2, 2);
                }
        }
        return m_path;
    }

private:
    std::mt19937 m_rng;
    QV_List<PrimPoly> m_path;
    API_Coord m_at{};
    double m_heading = 0.0;

    void Straight(double len) {
        const API_Coord to{m_at.x + len * std::cos(m_heading), m_at.y + len * std::sin(m_heading)};
        m_path.Insert(Line(m_at.x, m_at.y, to.x, to.y));
        m_at = to;
    }

    // A tangent arc of radius r turning by sweep (positive: left).
    void Turn(double r, double sweep) {
        const double side = sweep > 0 ? 1.0 : -1.0;
        const API_Coord c{m_at.x - side * r * std::sin(m_heading), m_at.y + side * r * std::cos(m_heading)};
        const double a1 = std::atan2(m_at.y - c.y, m_at.x - c.x) * 180 / M_PI;
        PrimPoly p = Arc(c.x, c.y, r, a1, a1 + sweep * 180 / M_PI);
        p.begin = m_at;
        m_path.Insert(p);
        m_at = p.end;
        m_heading += sweep;
    }
};

#ifdef LODRAVIX_HAVE_GEOS

class GeosPath {
public:
    GeosPath() : h(GEOS_init_r()) {}
    ~GeosPath() {
        Reset();
        GEOS_finish_r(h);
    }
    GeosPath(const GeosPath&) = delete;
    GeosPath& operator=(const GeosPath&) = delete;

    // The path as one line string, arcs cut into chords of at most 1e-8 sagitta. False when it is not simple.
    bool Set(const QV_List<PrimPoly>& path) {
        Reset();
        std::vector<API_Coord> pts{path[0].begin};
        for (const PrimPoly& p : path) {
            if (p.isLine == 0) {
                double start, sweep;
                ArcSpan(p, start, sweep);
                const double step = std::sqrt(8e-8 / p.radius);
                const int n = std::max(4, int(std::ceil(std::fabs(sweep) / step)));
                for (int k = 1; k < n; ++k) pts.push_back(PointAt(p, double(k) / n));
            }
            pts.push_back(p.end);
        }
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, unsigned(pts.size()), 2);
        for (size_t i = 0; i < pts.size(); ++i) GEOSCoordSeq_setXY_r(h, s, unsigned(i), pts[i].x, pts[i].y);
        m_line = GEOSGeom_createLineString_r(h, s);
        if (GEOSisSimple_r(h, m_line) != 1) return false;
        m_prepared = GEOSPrepare_r(h, m_line);
        return true;
    }

    double Distance(const API_Coord& q) const {
        GEOSGeometry* pt = GEOSGeom_createPointFromXY_r(h, q.x, q.y);
        double d = -1.0;
        GEOSPreparedDistance_r(h, m_prepared, pt, &d);
        GEOSGeom_destroy_r(h, pt);
        return d;
    }

private:
    GEOSContextHandle_t h;
    GEOSGeometry* m_line = nullptr;
    const GEOSPreparedGeometry* m_prepared = nullptr;

    void Reset() {
        if (m_prepared) GEOSPreparedGeom_destroy_r(h, m_prepared);
        if (m_line) GEOSGeom_destroy_r(h, m_line);
        m_prepared = nullptr;
        m_line = nullptr;
    }
};

bool OnSomeMovedCarrier(const QV_List<PrimPoly>& path, const API_Coord& q, double d, double tolerance) {
    for (const PrimPoly& p : path)
        if (std::fabs(DistanceToCarrier(p, q) - d) < tolerance) return true;
    return false;
}

// Findings of one offset against the property; empty when it holds.
struct Findings {
    int tooClose = 0, strayBeyond = 0, missing = 0;
    double worst = 0.0;
    bool Any() const { return tooClose + strayBeyond + missing > 0; }
};

Findings Check(const QV_List<PrimPoly>& path, uint8_t side, double d, const QV_List<PrimPoly>& result,
               const GeosPath& geos) {
    const double tolerance = 1e-6;
    Findings f;
    for (const API_Coord& q : Samples(result, 24)) {
        const double dist = geos.Distance(q);
        if (dist < d - tolerance) {
            ++f.tooClose;
            f.worst = std::max(f.worst, d - dist);
        } else if (dist > d + tolerance) {
            if (!OnSomeMovedCarrier(path, q, d, tolerance)) ++f.strayBeyond;
        }
    }
    // True offset points: runs of samples of the moved segments at the distance from the whole path; the inner
    // samples of each run must be on the result.
    for (const PrimPoly& p : path) {
        PrimPoly m;
        if (!MovedSegment(p, side, d, m)) continue;
        const int n = 48;
        std::vector<char> genuine(n + 1);
        for (int k = 0; k <= n; ++k) genuine[k] = geos.Distance(PointAt(m, double(k) / n)) >= d - 1e-7;
        for (int k = 1; k < n; ++k) {
            if (!(genuine[k - 1] && genuine[k] && genuine[k + 1])) continue;
            const API_Coord q = PointAt(m, double(k) / n);
            if (result.IsEmpty() || DistanceTo(result, q) > tolerance) ++f.missing;
        }
    }
    return f;
}

TEST(OutlineOffsetProperty, RandomSimpleChainsAreTrueOffsetsInBothFrames) {
    Paths paths(20261207u);
    GeosPath geos;
    std::mt19937 moves(99u);
    int checked = 0, failures = 0, empty = 0, notSimple = 0;
    for (int round = 0; round < 96; ++round) {
        const auto kind = static_cast<Paths::Kind>(round % Paths::KindCount);
        double d;
        QV_List<PrimPoly> path = paths.Make(kind, d);
        if (!geos.Set(path)) {
            ++notSimple;
            continue;
        }
        const double tx = round % 2 ? 500000.0 + paths.U(0, 1000) : paths.U(-1e7, 1e7);
        const double ty = round % 2 ? 6500000.0 + paths.U(0, 1000) : paths.U(-1e7, 1e7);
        const QV_List<PrimPoly> far = Moved(path, tx, ty);
        GeosPath geosFar;
        ASSERT_TRUE(geosFar.Set(far));
        for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
            const QV_List<PrimPoly> near = Offset(path, side, d);
            const QV_List<PrimPoly> moved = Offset(far, side, d);
            ++checked;
            if (near.IsEmpty()) ++empty;
            const Findings a = Check(path, side, d, near, geos);
            const Findings b = Check(far, side, d, moved, geosFar);
            bool same = near.GetCount() == moved.GetCount();
            const double scale = 1e-9 * std::max(std::fabs(tx), std::fabs(ty));
            for (int32_t i = 0; same && i < near.GetCount(); ++i) {
                same = std::fabs(near[i].begin.x + tx - moved[i].begin.x) <= scale &&
                    std::fabs(near[i].begin.y + ty - moved[i].begin.y) <= scale &&
                    std::fabs(near[i].end.x + tx - moved[i].end.x) <= scale &&
                    std::fabs(near[i].end.y + ty - moved[i].end.y) <= scale && near[i].isLine == moved[i].isLine;
            }
            if ((a.Any() || b.Any() || !same) && ++failures <= 8)
                ADD_FAILURE() << "round " << round << " kind " << kind << " side " << int(side) << " d " << d
                              << ": near frame too close " << a.tooClose << " (worst " << a.worst << "), beyond "
                              << a.strayBeyond << ", missing " << a.missing << "; moved frame too close " << b.tooClose
                              << ", beyond " << b.strayBeyond << ", missing " << b.missing << "; segments "
                              << near.GetCount() << " and " << moved.GetCount()
                              << (same ? "" : " (the moved result differs)");
        }
    }
    EXPECT_EQ(0, failures);
    EXPECT_GE(checked, 170);
    std::cout << "offsets checked " << checked << " (empty " << empty << "), paths not simple " << notSimple
              << ", failures " << failures << "\n";
}

#endif

TEST(OutlineOffsetProperty, SurveyCoordinatesKeepTheirDigits) {
    // One 44 m segment: no longer empty, at the distance.
    const QV_List<PrimPoly> one = Chain({Line(500518.519, 6500499.607, 500539.129, 6500460.904)});
    for (uint8_t regularize : {uint8_t(0), uint8_t(1)}) {
        QV_List<PrimPoly> r;
        OffsetPolygonWithArcs(one, 1, 1.0, r, regularize);
        ASSERT_EQ(1, r.GetCount());
        for (const API_Coord& q : Samples(r)) EXPECT_NEAR(1.0, DistanceTo(one, q), 1e-8);
    }
    // A road: 30 m east, a quarter arc of radius 50 to the left, 30 m north.
    const double x0 = 500000.123, y0 = 6500000.456;
    const QV_List<PrimPoly> road =
        Chain({Line(x0, y0, x0 + 30, y0), Arc(x0 + 30, y0 + 50, 50, -90, 0), Line(x0 + 80, y0 + 50, x0 + 80, y0 + 80)});
    for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
        const QV_List<PrimPoly> r = Offset(road, side, 2.5);
        ASSERT_EQ(3, r.GetCount());
        for (const API_Coord& q : Samples(r)) EXPECT_NEAR(2.5, DistanceTo(road, q), 1e-8);
    }
}

TEST(OutlineOffsetProperty, ShortPiecesMeetAtTheirTrueCorner) {
    // Two 3 cm pieces turning by 2 degrees: the left offset's corner lies on the bisector, 1 / cos(1 degree) out.
    const double c = std::cos(2 * M_PI / 180), s = std::sin(2 * M_PI / 180);
    const QV_List<PrimPoly> path = Chain({Line(10, 10, 10.03, 10), Line(10.03, 10, 10.03 + 0.03 * c, 10 + 0.03 * s)});
    const QV_List<PrimPoly> r = Offset(path, 0, 1.0);
    ASSERT_EQ(2, r.GetCount());
    EXPECT_NEAR(10.03 - std::tan(M_PI / 180), r[0].end.x, 1e-9);
    EXPECT_NEAR(11.0, r[0].end.y, 1e-9);
}

TEST(OutlineOffsetProperty, NeighbourOfATightEndArcIsCutBackNotLeftClose) {
    // The end arc (radius 0.5) vanishes offset inwards by 2; the straight before it is cut where it comes within
    // 2 of the arc, and what is left lies at the distance.
    const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0), Arc(10, 0.5, 0.5, -90, 0)});
    const QV_List<PrimPoly> r = Offset(path, 0, 2.0);
    ASSERT_EQ(1, r.GetCount());
    EXPECT_NEAR(0.0, r[0].begin.x, 1e-12);
    for (const API_Coord& q : Samples(r)) EXPECT_NEAR(2.0, DistanceTo(path, q), 1e-9);
    // The cut is where the circle of radius 2 about the arc's end (10.5, 0.5) meets y = 2.
    EXPECT_NEAR(10.5 - std::sqrt(4.0 - 1.5 * 1.5), r[0].end.x, 1e-9);
}

TEST(OutlineOffsetProperty, TrueOffsetRoundTheEndOfAVanishedTightArcIsKept) {
    // A straight and four tangent arcs; the second arc (radius 1.17) vanishes offset 1.53 to the left, and its
    // neighbours' direct join would cut off a stretch of the first arc's true offset that runs round its end.
    auto arc = [](double bx, double by, double ex, double ey, double mx, double my, double cx, double cy) {
        PrimPoly p = Line(bx, by, ex, ey);
        p.isLine = 0;
        p.mid = API_Coord{mx, my};
        p.centre = API_Coord{cx, cy};
        p.radius = std::hypot(bx - cx, by - cy);
        return p;
    };
    const QV_List<PrimPoly> path = Chain({
        Line(4.258405745, -14.587403043, 15.853514429, -13.154244799),
        arc(15.853514429, -13.154244799, 23.956001278, -17.157243146, 20.504046873, -13.942720389, 16.862109402,
            -21.314382303),
        arc(23.956001278, -17.157243146, 24.292633315, -19.220690404, 23.484163510, -18.293401852, 24.635645034,
            -18.105548458),
        arc(24.292633315, -19.220690404, 36.879840327, -16.797806412, 30.888205727, -19.578017336, 28.307183473,
            -6.169260864),
        arc(36.879840327, -16.797806412, 40.910773642, -4.971608267, 40.607059743, -11.468154457, 29.538043509,
            -7.695304911),
    });
    const double d = 1.5345964935287362;
    const QV_List<PrimPoly> r = Offset(path, 0, d);
    ASSERT_FALSE(r.IsEmpty());
    for (const API_Coord& q : Samples(r)) EXPECT_GT(DistanceTo(path, q), d - 1e-6);
    int genuine = 0, missing = 0;
    for (const PrimPoly& p : path) {
        PrimPoly m;
        if (!MovedSegment(p, 0, d, m)) continue;
        for (int k = 0; k <= 400; ++k) {
            const API_Coord q = PointAt(m, k / 400.0);
            if (DistanceTo(path, q) < d - 1e-7) continue;
            ++genuine;
            if (DistanceTo(r, q) > 1e-6) ++missing;
        }
    }
    EXPECT_GT(genuine, 1000);
    EXPECT_EQ(0, missing);
}

}  // namespace outline_offset_property_test
