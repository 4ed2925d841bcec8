#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <vector>

#include "GeometryPolygon2D.hpp"
#include "MemoryDriver.hpp"

namespace geometry_polygon2d_test {

using namespace Geometry;

const double kPi = M_PI;

// Test-side description of a contour: edge i runs from points[i] to points[i + 1] (wrapping), turning by arc[i]
// (0 for a straight edge).
struct Contour {
    std::vector<API_Coord> points;
    std::vector<double> arc;
};

Contour Straight(std::vector<API_Coord> pts) {
    Contour c;
    c.arc.assign(pts.size(), 0.0);
    c.points = std::move(pts);
    return c;
}

// Builds a polygon record; user data: vertex v -> 1000 + v, edge v -> 2000 + v, side 3000 + v, contour 4000 + k.
Polygon2DData Make(const std::vector<Contour>& contours) {
    Polygon2DData p;
    InitPolygon2DData(&p);
    int32_t nv = 0, na = 0;
    for (const Contour& c : contours) {
        nv += static_cast<int32_t>(c.points.size()) + 1;
        for (double a : c.arc) na += a != 0.0 ? 1 : 0;
    }
    EXPECT_EQ(NoError, AllocatePolygon2DData(&p, nv, na, static_cast<int32_t>(contours.size())));
    int32_t at = 0, arc = 0;
    for (size_t k = 0; k < contours.size(); ++k) {
        const Contour& c = contours[k];
        const int32_t first = at + 1;
        for (size_t i = 0; i < c.points.size(); ++i) {
            ++at;
            (*p.vertices)[at] = c.points[i];
            if (c.arc[i] != 0.0) (*p.arcs)[++arc] = PolyArcRec{at, at + 1, c.arc[i]};
        }
        ++at;
        (*p.vertices)[at] = (*p.vertices)[first];
        (*p.contourEnds)[k + 1] = at;
    }
    for (int32_t v = 0; v <= nv; ++v) {
        const uint32_t vd = 1000 + v, ed = 2000 + v, sd = 3000 + v;
        std::memcpy(*p.vertexUserData + 4 * v, &vd, 4);
        std::memcpy(*p.edgeUserData + 4 * v, &ed, 4);
        std::memcpy(*p.edgeSideUserData + 4 * v, &sd, 4);
    }
    for (int32_t k = 0; k <= p.nContours; ++k) {
        const uint32_t cd = 4000 + k;
        std::memcpy(*p.contourUserData + 4 * k, &cd, 4);
    }
    return p;
}

uint32_t User(GSHandle h, int32_t index) {
    uint32_t v;
    std::memcpy(&v, *h + 4 * index, 4);
    return v;
}

// Reads a polygon record back into test-side contours.
std::vector<Contour> Read(const Polygon2DData& p) {
    std::vector<Contour> out;
    for (int32_t k = 1; k <= p.nContours; ++k) {
        Contour c;
        const int32_t first = (*p.contourEnds)[k - 1] + 1, last = (*p.contourEnds)[k];
        for (int32_t i = first; i < last; ++i) {
            c.points.push_back((*p.vertices)[i]);
            const PolyArcRec* a = FindArc(p, i);
            c.arc.push_back(a != nullptr ? a->arcAngle : 0.0);
        }
        out.push_back(c);
    }
    return out;
}

struct CircleInfo {
    API_Coord c;
    double r;
};

CircleInfo CircleOf(const API_Coord& a, const API_Coord& b, double angle) {
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    const double r = chord / (2.0 * std::fabs(std::sin(angle / 2.0)));
    // Distance from the chord middle to the centre, signed towards the left of a -> b.
    const double h = chord / 2.0 / std::tan(angle / 2.0);
    const double ux = -(b.y - a.y) / chord, uy = (b.x - a.x) / chord;
    return CircleInfo{API_Coord{(a.x + b.x) / 2.0 + h * ux, (a.y + b.y) / 2.0 + h * uy}, r};
}

// Dense polyline of a contour (closed), independent of the library's own segmentation.
std::vector<API_Coord> Dense(const Contour& c) {
    std::vector<API_Coord> out;
    const size_t n = c.points.size();
    for (size_t i = 0; i < n; ++i) {
        const API_Coord& a = c.points[i];
        const API_Coord& b = c.points[(i + 1) % n];
        out.push_back(a);
        if (c.arc[i] == 0.0) continue;
        const CircleInfo ci = CircleOf(a, b, c.arc[i]);
        const double s = std::atan2(a.y - ci.c.y, a.x - ci.c.x);
        const int steps = std::max(8, static_cast<int>(std::ceil(std::fabs(c.arc[i]) / 0.004)));
        for (int k = 1; k < steps; ++k) {
            const double t = s + c.arc[i] * k / steps;
            out.push_back(API_Coord{ci.c.x + ci.r * std::cos(t), ci.c.y + ci.r * std::sin(t)});
        }
    }
    out.push_back(c.points[0]);
    return out;
}

// Winding number by summed angles.
int WindingOf(const std::vector<API_Coord>& ring, const API_Coord& p) {
    double total = 0.0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const double ax = ring[i].x - p.x, ay = ring[i].y - p.y;
        const double bx = ring[i + 1].x - p.x, by = ring[i + 1].y - p.y;
        total += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    }
    return static_cast<int>(std::lround(total / (2.0 * kPi)));
}

double DistanceToSegment(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0.0;
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double DistanceToRing(const std::vector<API_Coord>& ring, const API_Coord& p) {
    double d = 1e300;
    for (size_t i = 0; i + 1 < ring.size(); ++i) d = std::fmin(d, DistanceToSegment(p, ring[i], ring[i + 1]));
    return d;
}

// Exact area: the chords' shoelace sum plus each arc's circular segment.
double Area(const std::vector<Contour>& contours) {
    double a = 0.0;
    for (const Contour& c : contours) {
        const size_t n = c.points.size();
        for (size_t i = 0; i < n; ++i) {
            const API_Coord& p = c.points[i];
            const API_Coord& q = c.points[(i + 1) % n];
            a += 0.5 * (p.x * q.y - q.x * p.y);
            if (c.arc[i] != 0.0) {
                const double r = CircleOf(p, q, c.arc[i]).r;
                a += 0.5 * r * r * (c.arc[i] - std::sin(c.arc[i]));
            }
        }
    }
    return a;
}

double Area(const Polygon2DData& p) { return Area(Read(p)); }

void FreeAll(GS::VAArray<Polygon2DData>& result) {
    for (Polygon2DData& p : result) FreePolygon2DData(&p);
    result.Clear();
}

// Compares the regularised result with the input's area rule at grid points away from every boundary.
void ExpectSameAreaPointwise(const std::vector<Contour>& input, const GS::VAArray<Polygon2DData>& result,
                             bool unionOverlaps, double x0, double y0, double x1, double y1, int steps) {
    std::vector<std::vector<API_Coord>> in, out;
    for (const Contour& c : input) in.push_back(Dense(c));
    for (const Polygon2DData& p : result)
        for (const Contour& c : Read(p)) out.push_back(Dense(c));
    int compared = 0, inside = 0;
    for (int i = 0; i <= steps; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const API_Coord p{x0 + (x1 - x0) * (i + 0.37) / steps, y0 + (y1 - y0) * (j + 0.61) / steps};
            bool nearEdge = false;
            for (const auto& r : in) nearEdge = nearEdge || DistanceToRing(r, p) < 1e-3;
            for (const auto& r : out) nearEdge = nearEdge || DistanceToRing(r, p) < 1e-3;
            if (nearEdge) continue;
            bool expected;
            if (unionOverlaps) {
                expected = WindingOf(in[0], p) != 0;
                for (size_t k = 1; k < in.size(); ++k) expected = expected && WindingOf(in[k], p) == 0;
            } else {
                int sum = 0;
                for (const auto& r : in) sum += WindingOf(r, p);
                expected = sum % 2 != 0;
            }
            int got = 0;
            for (const auto& r : out) got += WindingOf(r, p);
            ASSERT_TRUE(got == 0 || got == 1) << p.x << "," << p.y << ": result winds " << got;
            EXPECT_EQ(expected, got == 1) << "at " << p.x << ", " << p.y;
            ++compared;
            inside += expected ? 1 : 0;
        }
    }
    EXPECT_GT(compared, steps * steps / 2);
    EXPECT_GT(inside, 0);
}

// Every arc of the result lies on the circle of one of the given arcs (centre and radius).
void ExpectArcsOn(const Polygon2DData& p, const std::vector<CircleInfo>& circles, int minimumArcs) {
    EXPECT_GE(p.nArcs, minimumArcs);
    for (int32_t k = 1; k <= p.nArcs; ++k) {
        const PolyArcRec& a = (*p.arcs)[k];
        const CircleInfo ci = CircleOf((*p.vertices)[a.begIndex], (*p.vertices)[a.endIndex], a.arcAngle);
        bool found = false;
        for (const CircleInfo& c : circles)
            found = found || (std::hypot(ci.c.x - c.c.x, ci.c.y - c.c.y) < 1e-7 && std::fabs(ci.r - c.r) < 1e-7);
        EXPECT_TRUE(found) << "arc " << k << " centre " << ci.c.x << "," << ci.c.y << " radius " << ci.r;
    }
}

API_Coord Polar(double r, double degrees, API_Coord c = API_Coord{0.0, 0.0}) {
    const double t = degrees * kPi / 180.0;
    return API_Coord{c.x + r * std::cos(t), c.y + r * std::sin(t)};
}

// A band wound 1.25 times around the origin: outer radius 8 counter-clockwise over 450 degrees (two arcs),
// a cap, inner radius 5 back (two arcs), a cap.
Contour Spiral() {
    Contour c;
    c.points = {Polar(8, 0), Polar(8, 240), Polar(8, 450), Polar(5, 450), Polar(5, 240), Polar(5, 0)};
    c.arc = {240 * kPi / 180, 210 * kPi / 180, 0.0, -210 * kPi / 180, -240 * kPi / 180, 0.0};
    return c;
}

class AbortAlways : public AbortQuery {
public:
    bool ShouldAbort() const override { return true; }
};

TEST(Polygon2DRecord, InitAllocateCopyFreeKeepHandlesBalanced) {
    const int64_t before = MemoryDriver::LiveHandleCount();
    {
        const uint32_t blanks = 0x20202020;
        Polygon2DData p;
        InitPolygon2DData(&p, 4, &blanks);
        EXPECT_EQ(0, p.nVertices);
        EXPECT_EQ(nullptr, p.vertices);
        ASSERT_EQ(NoError, AllocatePolygon2DData(&p, 5, 1, 1));
        EXPECT_EQ(blanks, User(p.vertexUserData, 3));
        EXPECT_EQ(blanks, User(p.contourUserData, 1));
        EXPECT_EQ(0, (*p.contourEnds)[0]);

        Polygon2DData q = Make({Straight({{0, 0}, {4, 0}, {4, 3}})});
        Polygon2DData copy;
        InitPolygon2DData(&copy);
        ASSERT_EQ(NoError, CopyPolygon2DData(&copy, q));
        EXPECT_EQ(4, copy.nVertices);
        EXPECT_EQ(1003u, User(copy.vertexUserData, 3));
        EXPECT_EQ(4001u, User(copy.contourUserData, 1));
        EXPECT_NE(*copy.vertices, *q.vertices);
        EXPECT_EQ(NoError, CheckPolygon2DDataIntegrity(copy));
        // Copying over a filled target replaces it without leaking.
        ASSERT_EQ(NoError, CopyPolygon2DData(&copy, p));
        EXPECT_EQ(5, copy.nVertices);
        FreePolygon2DData(&copy);
        FreePolygon2DData(&q);
        FreePolygon2DData(&p);
        FreePolygon2DData(&p);  // twice is harmless
        FreePolygon2DData(nullptr);
    }
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

TEST(Polygon2DRecord, FailedAllocationLeavesEmptyPolygon) {
    MemoryDriver::ScopedReset reset;
    const int64_t before = MemoryDriver::LiveHandleCount();
    Polygon2DData source = Make({Straight({{0, 0}, {4, 0}, {4, 3}})});
    for (int64_t ok = 0; ok < 7; ++ok) {
        Polygon2DData p;
        InitPolygon2DData(&p);
        MemoryDriver::FailAllocationsAfter(ok);
        EXPECT_EQ(PolygonErrMemory, AllocatePolygon2DData(&p, 10, 2, 1)) << ok;
        EXPECT_EQ(PolygonErrMemory, CopyPolygon2DData(&p, source)) << ok;
        MemoryDriver::Reset();
        EXPECT_EQ(0, p.nVertices);
        EXPECT_EQ(nullptr, p.vertices);
        EXPECT_EQ(nullptr, p.contourUserData);
    }
    FreePolygon2DData(&source);
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

TEST(Polygon2DRecord, BoundBoxReachesArcExtremes) {
    // Half disc above the x axis, turning counter-clockwise from (1,0) over the top to (-1,0).
    Contour c;
    c.points = {{1, 0}, {-1, 0}};
    c.arc = {kPi, 0.0};
    Polygon2DData p = Make({c});
    ASSERT_EQ(NoError, GetPolygon2DDataBoundBox(&p));
    EXPECT_TRUE(p.status & Polygon2DBoxValid);
    EXPECT_NEAR(-1.0, p.boundBox.xMin, 1e-12);
    EXPECT_NEAR(1.0, p.boundBox.xMax, 1e-12);
    EXPECT_NEAR(0.0, p.boundBox.yMin, 1e-12);
    EXPECT_NEAR(1.0, p.boundBox.yMax, 1e-12);
    // The same edge turning the other way bulges downwards.
    (*p.arcs)[1].arcAngle = -kPi / 2;
    ASSERT_EQ(NoError, GetPolygon2DDataBoundBox(&p));
    EXPECT_NEAR(0.0, p.boundBox.yMax, 1e-12);
    EXPECT_NEAR(1.0 - std::sqrt(2.0), p.boundBox.yMin, 1e-12);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRecord, OrientTurnsOuterCounterClockwiseAndHolesClockwise) {
    // Outer contour clockwise with an arc on its second edge; hole counter-clockwise.
    Contour outer;
    outer.points = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    outer.arc = {0.0, -kPi / 3, 0.0, 0.0};
    Polygon2DData p = Make({outer, Straight({{3, 3}, {7, 3}, {7, 7}, {3, 7}})});
    ASSERT_EQ(NoError, OrientPolygon2DData(&p));
    EXPECT_TRUE(p.status & Polygon2DOriented);
    const std::vector<Contour> c = Read(p);
    // First vertex kept, the rest reversed.
    ASSERT_EQ(4u, c[0].points.size());
    EXPECT_EQ(0.0, c[0].points[0].x);
    EXPECT_EQ(10.0, c[0].points[1].x);
    EXPECT_EQ(0.0, c[0].points[1].y);
    EXPECT_EQ(10.0, c[0].points[2].y);
    EXPECT_EQ(0.0, c[0].points[3].x);
    EXPECT_EQ(10.0, c[0].points[3].y);
    // The arc edge (0,10)->(10,10) is now (10,10)->(0,10), edge 3, turning the other way.
    EXPECT_EQ(1, p.nArcs);
    EXPECT_EQ(3, (*p.arcs)[1].begIndex);
    EXPECT_DOUBLE_EQ(kPi / 3, (*p.arcs)[1].arcAngle);
    EXPECT_GT(Area({c[0]}), 0.0);
    EXPECT_LT(Area({c[1]}), 0.0);
    // User data follows: the vertex (10,0) was vertex 4, the edge (0,10)->(10,10) was edge 2.
    EXPECT_EQ(1004u, User(p.vertexUserData, 2));
    EXPECT_EQ(1001u, User(p.vertexUserData, 1));
    EXPECT_EQ(2002u, User(p.edgeUserData, 3));
    EXPECT_EQ(3002u, User(p.edgeSideUserData, 3));
    // Orienting again changes nothing.
    ASSERT_EQ(NoError, OrientPolygon2DData(&p));
    EXPECT_EQ(10.0, (*p.vertices)[2].x);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRecord, IntegrityRefusesBrokenRecords) {
    auto square = [] { return Make({Straight({{0, 0}, {4, 0}, {4, 4}, {0, 4}})}); };
    Polygon2DData p = square();
    EXPECT_EQ(NoError, CheckPolygon2DDataIntegrity(p));
    struct Breakage {
        const char* what;
        void (*apply)(Polygon2DData&);
    };
    const Breakage breakages[] = {
        {"open contour", [](Polygon2DData& q) { (*q.vertices)[5].x = 1.0; }},
        {"contour end short of the vertex count", [](Polygon2DData& q) { (*q.contourEnds)[1] = 4; }},
        {"contour end 0 not zero", [](Polygon2DData& q) { (*q.contourEnds)[0] = 1; }},
        {"vertex count beyond the handle",
         [](Polygon2DData& q) {
             q.nVertices = 50;
             (*q.contourEnds)[1] = 50;
         }},
        {"negative count", [](Polygon2DData& q) { q.nArcs = -1; }},
        {"arc count without arcs", [](Polygon2DData& q) { q.nArcs = 3; }},
        {"NaN coordinate", [](Polygon2DData& q) { (*q.vertices)[2].y = std::nan(""); }},
        {"box that misses a vertex",
         [](Polygon2DData& q) {
             q.status |= Polygon2DBoxValid;
             q.boundBox = API_Box{0, 0, 3, 3};
         }},
        {"no contours", [](Polygon2DData& q) { q.nContours = 0; }},
    };
    for (const Breakage& b : breakages) {
        Polygon2DData q = square();
        b.apply(q);
        EXPECT_NE(NoError, CheckPolygon2DDataIntegrity(q)) << b.what;
        EXPECT_NE(NoError, OrientPolygon2DData(&q)) << b.what;
        GS::VAArray<Polygon2DData> result;
        EXPECT_NE(NoError, RegularizePolygon2DData(q, result, nullptr, true, RegularizeKeepHoles)) << b.what;
        EXPECT_TRUE(result.IsEmpty());
        q.nVertices = 5;
        q.nArcs = 0;
        q.nContours = 1;
        FreePolygon2DData(&q);
    }
    // Arcs: on the closing position, across a contour end, between non-neighbours, zero or a full turn,
    // two on one edge.
    const PolyArcRec badArcs[][2] = {
        {{5, 6, 1.0}, {0, 0, 0}}, {{4, 6, 1.0}, {0, 0, 0}},     {{1, 3, 1.0}, {0, 0, 0}},
        {{1, 2, 0.0}, {0, 0, 0}}, {{1, 2, 2 * kPi}, {0, 0, 0}}, {{2, 3, 1.0}, {2, 3, -1.0}},
    };
    for (const auto& arcs : badArcs) {
        Polygon2DData q;
        InitPolygon2DData(&q);
        const int32_t n = arcs[1].begIndex != 0 ? 2 : 1;
        ASSERT_EQ(NoError, AllocatePolygon2DData(&q, 5, n, 1));
        const API_Coord pts[] = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
        std::memcpy(*q.vertices, pts, sizeof pts);
        (*q.contourEnds)[1] = 5;
        for (int32_t k = 0; k < n; ++k) (*q.arcs)[k + 1] = arcs[k];
        EXPECT_EQ(PolygonErrBadData, CheckPolygon2DDataIntegrity(q)) << arcs[0].begIndex << " " << arcs[0].endIndex;
        FreePolygon2DData(&q);
    }
    Polygon2DData empty;
    InitPolygon2DData(&empty);
    EXPECT_EQ(PolygonErrEmpty, CheckPolygon2DDataIntegrity(empty));
    FreePolygon2DData(&p);
}

TEST(Polygon2DRecord, FindArcAnswersByStartVertex) {
    Contour c;
    c.points = {{0, 0}, {4, 0}, {4, 4}};
    c.arc = {0.0, 0.5, -0.25};
    Polygon2DData p = Make({c});
    EXPECT_EQ(nullptr, FindArc(p, 1));
    ASSERT_NE(nullptr, FindArc(p, 2));
    EXPECT_DOUBLE_EQ(0.5, FindArc(p, 2)->arcAngle);
    ASSERT_NE(nullptr, FindArc(p, 3));
    EXPECT_DOUBLE_EQ(-0.25, FindArc(p, 3)->arcAngle);
    EXPECT_EQ(nullptr, FindArc(p, 4));
    EXPECT_EQ(nullptr, FindArc(p, 0));
    EXPECT_EQ(nullptr, FindArc(p, -3));
    p.nArcs = 40;  // more than the handle holds
    EXPECT_EQ(nullptr, FindArc(p, 2));
    p.nArcs = 2;
    FreePolygon2DData(&p);
}

TEST(Polygon2DRegularize, SimpleRingComesBackOrientedFromItsFirstVertex) {
    const int64_t before = MemoryDriver::LiveHandleCount();
    Polygon2DData p = Make({Straight({{2, 0}, {0, 0}, {0, 3}, {2, 3}})});  // clockwise
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    const Polygon2DData& r = result[0];
    EXPECT_EQ(NoError, CheckPolygon2DDataIntegrity(r));
    EXPECT_EQ(Polygon2DBoxValid | Polygon2DOriented, r.status & 3);
    const std::vector<Contour> c = Read(r);
    ASSERT_EQ(1u, c.size());
    ASSERT_EQ(4u, c[0].points.size());
    EXPECT_EQ(2.0, c[0].points[0].x);
    EXPECT_EQ(0.0, c[0].points[0].y);
    EXPECT_EQ(2.0, c[0].points[1].x);
    EXPECT_EQ(3.0, c[0].points[1].y);
    EXPECT_NEAR(6.0, Area(r), 1e-9);
    // Input vertex data stays with its vertex: (2,3) was vertex 4.
    EXPECT_EQ(1004u, User(r.vertexUserData, 2));
    EXPECT_EQ(4001u, User(r.contourUserData, 1));
    FreeAll(result);
    FreePolygon2DData(&p);
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

TEST(Polygon2DRegularize, BowTieGivesBothLobesWithAnExactCrossing) {
    Polygon2DData p = Make({Straight({{0, 0}, {2, 2}, {2, 0}, {0, 2}})});
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(2u, result.GetSize());
    for (const Polygon2DData& r : result) {
        EXPECT_NEAR(1.0, Area(r), 1e-12);
        bool crossing = false;
        const std::vector<Contour> c = Read(r);
        for (const API_Coord& v : c[0].points) crossing = crossing || (v.x == 1.0 && v.y == 1.0);
        EXPECT_TRUE(crossing);
        EXPECT_EQ(3u, c[0].points.size());
    }
    FreeAll(result);
    // Even-odd gives the same lobes.
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, false, RegularizeKeepHoles));
    EXPECT_EQ(2u, result.GetSize());
    FreeAll(result);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRegularize, OverlappingSpiralBandUnitesIntoAnnulusWithArcs) {
    const int64_t before = MemoryDriver::LiveHandleCount();
    const Contour spiral = Spiral();
    Polygon2DData p = Make({spiral});
    const std::vector<CircleInfo> circles = {{{0, 0}, 8.0}, {{0, 0}, 5.0}};

    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    const Polygon2DData& r = result[0];
    ASSERT_EQ(2, r.nContours);
    EXPECT_EQ(NoError, CheckPolygon2DDataIntegrity(r));
    EXPECT_NEAR(kPi * (64.0 - 25.0), Area(r), 1e-6);
    // Every edge an arc on one of the two circles; every vertex on its circle.
    const std::vector<Contour> c = Read(r);
    for (size_t k = 0; k < 2; ++k) {
        const double radius = k == 0 ? 8.0 : 5.0;
        for (size_t i = 0; i < c[k].points.size(); ++i) {
            EXPECT_NEAR(radius, std::hypot(c[k].points[i].x, c[k].points[i].y), 1e-9);
            EXPECT_NE(0.0, c[k].arc[i]);
        }
    }
    ExpectArcsOn(r, circles, 4);
    ExpectSameAreaPointwise({spiral}, result, true, -9, -9, 9, 9, 60);
    FreeAll(result);

    // Holes dropped: the full disc. Holes separate: the disc and the hole's disc.
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeDropHoles));
    ASSERT_EQ(1u, result.GetSize());
    EXPECT_EQ(1, result[0].nContours);
    EXPECT_NEAR(kPi * 64.0, Area(result[0]), 1e-6);
    FreeAll(result);
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeHolesSeparate));
    ASSERT_EQ(2u, result.GetSize());
    EXPECT_NEAR(kPi * 64.0, Area(result[0]), 1e-6);
    EXPECT_NEAR(kPi * 25.0, Area(result[1]), 1e-6);
    FreeAll(result);

    // Even-odd: the doubly covered quarter is left out.
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, false, RegularizeKeepHoles));
    double total = 0.0;
    for (const Polygon2DData& q : result) total += Area(q);
    EXPECT_NEAR(kPi * 39.0 * 0.75, total, 1e-6);
    ExpectSameAreaPointwise({spiral}, result, false, -9, -9, 9, 9, 60);
    for (const Polygon2DData& q : result) ExpectArcsOn(q, circles, 2);
    FreeAll(result);
    FreePolygon2DData(&p);
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

TEST(Polygon2DRegularize, BandWithLoopKeepsArcsAndCutsAtExactCrossings) {
    // A band along a path that runs right, turns back over a half circle and crosses its own first leg,
    // joined to an offset side that loops the other way: the ring overlaps itself in several places.
    Contour band;
    band.points = {{0, 0}, {10, 0}, {10, 4}, {2, -3}, {2, -5}, {12, -5}, {12, 6}, {0, 2}};
    band.arc = {kPi, 0.0, 0.0, 0.0, 0.0, 1.2, 0.0, 0.0};
    Polygon2DData p = Make({band});
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_FALSE(result.IsEmpty());
    std::vector<CircleInfo> circles = {CircleOf(band.points[0], band.points[1], band.arc[0]),
                                       CircleOf(band.points[5], band.points[6], band.arc[5])};
    double total = 0.0;
    int arcs = 0;
    for (const Polygon2DData& r : result) {
        EXPECT_EQ(NoError, CheckPolygon2DDataIntegrity(r));
        ExpectArcsOn(r, circles, 0);
        arcs += r.nArcs;
        total += Area(r);
        // Every vertex lies on an input edge (exact crossings, no chord points).
        for (const Contour& c : Read(r)) {
            for (const API_Coord& v : c.points) {
                const std::vector<API_Coord> ring = Dense(band);
                double d = DistanceToRing(ring, v);
                for (const CircleInfo& ci : circles)
                    d = std::fmin(d, std::fabs(std::hypot(v.x - ci.c.x, v.y - ci.c.y) - ci.r));
                EXPECT_LT(d, 1e-9) << v.x << "," << v.y;
            }
        }
    }
    EXPECT_GE(arcs, 2);
    ExpectSameAreaPointwise({band}, result, true, -1, -7, 14, 8, 80);
    // The area agrees with a fine independent estimate by sampling the input's winding.
    double estimate = 0.0;
    const std::vector<API_Coord> ring = Dense(band);
    const int n = 300;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const API_Coord q{-1 + 15.0 * (i + 0.5) / n, -7 + 15.0 * (j + 0.5) / n};
            estimate += WindingOf(ring, q) != 0 ? 1.0 : 0.0;
        }
    estimate *= 15.0 * 15.0 / (n * n);
    EXPECT_NEAR(estimate, total, 0.01 * total);
    FreeAll(result);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRegularize, HoleContoursAreTakenAway) {
    Polygon2DData p =
        Make({Straight({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), Straight({{3, 3}, {3, 7}, {7, 7}, {7, 3}})});
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    ASSERT_EQ(2, result[0].nContours);
    EXPECT_NEAR(84.0, Area(result[0]), 1e-9);
    const std::vector<Contour> c = Read(result[0]);
    EXPECT_LT(Area({c[1]}), 0.0);
    EXPECT_EQ(4u, c[1].points.size());
    // The hole starts at its earliest input vertex, (3,3) = vertex 6, and keeps its contour data.
    EXPECT_EQ(3.0, c[1].points[0].x);
    EXPECT_EQ(3.0, c[1].points[0].y);
    EXPECT_EQ(4002u, User(result[0].contourUserData, 2));
    FreeAll(result);
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeDropHoles));
    ASSERT_EQ(1u, result.GetSize());
    EXPECT_NEAR(100.0, Area(result[0]), 1e-9);
    FreeAll(result);
    FreePolygon2DData(&p);

    // A hole reaching out of the outer contour cuts a notch; the hole's direction does not matter.
    Polygon2DData notch =
        Make({Straight({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), Straight({{8, 3}, {12, 3}, {12, 7}, {8, 7}})});
    ASSERT_EQ(NoError, RegularizePolygon2DData(notch, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    EXPECT_EQ(1, result[0].nContours);
    EXPECT_NEAR(92.0, Area(result[0]), 1e-9);
    EXPECT_EQ(9, result[0].nVertices);  // 8 corners and the closing repeat
    FreeAll(result);
    FreePolygon2DData(&notch);
}

TEST(Polygon2DRegularize, EdgeDataFollowsTheEdgesThatSurvive) {
    // A square whose right edge is an outward arc.
    Contour c;
    c.points = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    c.arc = {0.0, kPi / 2, 0.0, 0.0};
    Polygon2DData p = Make({c});
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    const Polygon2DData& r = result[0];
    ASSERT_EQ(1, r.nArcs);
    const PolyArcRec& a = (*r.arcs)[1];
    EXPECT_NEAR(kPi / 2, a.arcAngle, 1e-12);
    EXPECT_EQ(10.0, (*r.vertices)[a.begIndex].x);
    EXPECT_EQ(0.0, (*r.vertices)[a.begIndex].y);
    EXPECT_EQ(2002u, User(r.edgeUserData, a.begIndex));
    EXPECT_EQ(3002u, User(r.edgeSideUserData, a.begIndex));
    FreeAll(result);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRegularize, NoAreaAbortAndBadParameters) {
    Polygon2DData flat = Make({Straight({{0, 0}, {1, 0}, {2, 0}})});
    GS::VAArray<Polygon2DData> result;
    EXPECT_EQ(NoError, RegularizePolygon2DData(flat, result, nullptr, true, RegularizeKeepHoles));
    EXPECT_TRUE(result.IsEmpty());
    FreePolygon2DData(&flat);

    Polygon2DData p = Make({Spiral()});
    AbortAlways abort;
    EXPECT_EQ(PolygonErrCancelled, RegularizePolygon2DData(p, result, &abort, true, RegularizeKeepHoles));
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(PolygonErrBadParameter, RegularizePolygon2DData(p, result, nullptr, true, 3));
    EXPECT_EQ(PolygonErrBadParameter, RegularizePolygon2DData(p, result, nullptr, true, -1));
    EXPECT_TRUE(result.IsEmpty());

    // Results are appended to what the array holds.
    Polygon2DData square = Make({Straight({{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    ASSERT_EQ(NoError, RegularizePolygon2DData(square, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(NoError, RegularizePolygon2DData(square, result, nullptr, true, RegularizeKeepHoles));
    EXPECT_EQ(2u, result.GetSize());
    FreeAll(result);
    FreePolygon2DData(&square);
    FreePolygon2DData(&p);
}

TEST(Polygon2DRegularize, SurveySizedCoordinates) {
    // The spiral band moved far from the origin: same area, arcs on the same circles, vertices exact.
    const API_Coord o{6543210.5, 1234567.25};
    Contour spiral = Spiral();
    for (API_Coord& p : spiral.points) p = API_Coord{p.x + o.x, p.y + o.y};
    Polygon2DData p = Make({spiral});
    GS::VAArray<Polygon2DData> result;
    ASSERT_EQ(NoError, RegularizePolygon2DData(p, result, nullptr, true, RegularizeKeepHoles));
    ASSERT_EQ(1u, result.GetSize());
    EXPECT_EQ(2, result[0].nContours);
    EXPECT_NEAR(kPi * 39.0, Area(result[0]), 1e-4);
    ExpectArcsOn(result[0], {{o, 8.0}, {o, 5.0}}, 4);
    for (const Contour& c : Read(result[0]))
        for (const API_Coord& v : c.points) {
            const double r = std::hypot(v.x - o.x, v.y - o.y);
            EXPECT_LT(std::fmin(std::fabs(r - 8.0), std::fabs(r - 5.0)), 1e-8);
        }
    FreeAll(result);
    FreePolygon2DData(&p);
}

}  // namespace geometry_polygon2d_test
