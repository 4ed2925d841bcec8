// Scan-beam clipper: results of the four operations on small outlines whose answers are known exactly, the group
// structure and orientation of the result, and failure handling.
#include "geometry/ScanlinePolygons.hpp"

#include "MemoryDriver.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace scanline_test {

using Points = std::vector<API_Coord>;

QV_Poly Ring(const Points& points, bool close = true) {
    QV_List<API_Coord> list;
    for (const API_Coord& p : points) list.Insert(p);
    QV_Poly poly;
    poly.SetFromCoords(list, close);
    return poly;
}

QV_Poly Square(double x0, double y0, double x1, double y1) { return Ring({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}); }

QV_List<QV_Poly> Set(std::initializer_list<QV_Poly> polys) {
    QV_List<QV_Poly> list;
    for (const QV_Poly& p : polys) list.Insert(p);
    return list;
}

using Result = QV_List<QV_List<QV_Poly>>;

Result Clip(const QV_List<QV_Poly>& subject, uint32_t op, const QV_List<QV_Poly>& clip) {
    Result result;
    EXPECT_TRUE(ScanlinePolygons(subject, op, clip, result));
    return result;
}

Points Vertices(const QV_Poly& poly) {
    Points p;
    for (int32_t i = 0; i < poly.vertices.GetCount(); ++i) p.push_back(poly.vertices[i]);
    return p;
}

// Vertices in a canonical order, to compare contours regardless of their start vertex.
std::vector<std::pair<double, double>> Sorted(const Points& points) {
    std::vector<std::pair<double, double>> v;
    for (const API_Coord& p : points) v.emplace_back(p.x, p.y);
    std::sort(v.begin(), v.end());
    return v;
}

// Area of a result: outer contours minus holes (the first contour of a group is its outer one).
double Area(const Result& result) {
    double area = 0.0;
    for (int32_t g = 0; g < result.GetCount(); ++g)
        for (int32_t k = 0; k < result[g].GetCount(); ++k)
            area += (k == 0 ? 1.0 : -1.0) * std::fabs(result[g][k].SignedArea());
    return area;
}

API_Box BoxOf(const QV_Poly& poly) {
    API_Box box;
    poly.GetBoundBox(box);
    return box;
}

bool StrictlyInside(const API_Box& inner, const API_Box& outer) {
    return inner.xMin > outer.xMin && inner.xMax < outer.xMax && inner.yMin > outer.yMin && inner.yMax < outer.yMax;
}

int32_t ContourCount(const Result& result) {
    int32_t n = 0;
    for (int32_t g = 0; g < result.GetCount(); ++g) n += result[g].GetCount();
    return n;
}

// Every contour a closed ring of at least 3 vertices; outer contours counter-clockwise, holes clockwise.
void ExpectWellFormed(const Result& result) {
    for (int32_t g = 0; g < result.GetCount(); ++g) {
        ASSERT_GT(result[g].GetCount(), 0);
        for (int32_t k = 0; k < result[g].GetCount(); ++k) {
            const QV_Poly& c = result[g][k];
            EXPECT_GE(c.vertices.GetCount(), 3);
            EXPECT_EQ(c.codes.GetCount(), c.vertices.GetCount());
            EXPECT_EQ(c.arcs.GetCount(), 0);
            EXPECT_EQ(c.clockwise, k == 0 ? 0 : 1) << "group " << g << " contour " << k;
        }
    }
}

// ---- The four operations on two squares -------------------------------------------------------------------------

TEST(ScanlineOperations, OverlappingSquares) {
    const auto a = Set({Square(0, 0, 2, 2)});
    const auto b = Set({Square(1, 1, 3, 3)});

    const Result uni = Clip(a, ScanlineUnion, b);
    ExpectWellFormed(uni);
    ASSERT_EQ(uni.GetCount(), 1);
    ASSERT_EQ(uni[0].GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(uni[0][0])), Sorted({{0, 0}, {2, 0}, {2, 1}, {3, 1}, {3, 3}, {1, 3}, {1, 2}, {0, 2}}));

    const Result inter = Clip(a, ScanlineIntersection, b);
    ExpectWellFormed(inter);
    ASSERT_EQ(inter.GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(inter[0][0])), Sorted({{1, 1}, {2, 1}, {2, 2}, {1, 2}}));

    const Result diff = Clip(a, ScanlineDifference, b);
    ExpectWellFormed(diff);
    ASSERT_EQ(diff.GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(diff[0][0])), Sorted({{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}));

    const Result x = Clip(a, ScanlineExclusiveOr, b);
    ExpectWellFormed(x);
    EXPECT_EQ(x.GetCount(), 2);
    EXPECT_DOUBLE_EQ(Area(x), 6.0);
}

TEST(ScanlineOperations, DisjointSquaresUnionGivesTwoGroups) {
    const Result r = Clip(Set({Square(0, 0, 1, 1)}), ScanlineUnion, Set({Square(2, 2, 3, 3)}));
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 2);
    EXPECT_EQ(r[0].GetCount(), 1);
    EXPECT_EQ(r[1].GetCount(), 1);
    EXPECT_DOUBLE_EQ(Area(r), 2.0);
    EXPECT_EQ(Clip(Set({Square(0, 0, 1, 1)}), ScanlineIntersection, Set({Square(2, 2, 3, 3)})).GetCount(), 0);
}

TEST(ScanlineOperations, SquareInsideSquare) {
    const auto outer = Set({Square(0, 0, 4, 4)});
    const auto inner = Set({Square(1, 1, 2, 2)});

    const Result uni = Clip(outer, ScanlineUnion, inner);
    ASSERT_EQ(uni.GetCount(), 1);
    ASSERT_EQ(uni[0].GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(uni[0][0])), Sorted({{0, 0}, {4, 0}, {4, 4}, {0, 4}}));

    // The difference is the one group with a hole: outer first, then the hole.
    const Result diff = Clip(outer, ScanlineDifference, inner);
    ExpectWellFormed(diff);
    ASSERT_EQ(diff.GetCount(), 1);
    ASSERT_EQ(diff[0].GetCount(), 2);
    EXPECT_EQ(Sorted(Vertices(diff[0][1])), Sorted({{1, 1}, {2, 1}, {2, 2}, {1, 2}}));
    EXPECT_DOUBLE_EQ(Area(diff), 15.0);

    EXPECT_EQ(Clip(inner, ScanlineDifference, outer).GetCount(), 0);
    EXPECT_DOUBLE_EQ(Area(Clip(inner, ScanlineIntersection, outer)), 1.0);
}

// Coincident edges form one bundle: shared sides vanish from unions and cancel in exclusive-or.
TEST(ScanlineOperations, SharedSidesBundle) {
    const Result uni = Clip(Set({Square(0, 0, 1, 1)}), ScanlineUnion, Set({Square(1, 0, 2, 1)}));
    ExpectWellFormed(uni);
    ASSERT_EQ(uni.GetCount(), 1);
    ASSERT_EQ(uni[0].GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(uni[0][0])), Sorted({{0, 0}, {2, 0}, {2, 1}, {0, 1}}));

    // A shared horizontal side: one contour; the side's end points stay as vertices on the long sides, where the
    // lower square's bounds end and the upper one's start.
    const Result stacked = Clip(Set({Square(0, 0, 1, 1)}), ScanlineUnion, Set({Square(0, 1, 1, 2)}));
    ExpectWellFormed(stacked);
    ASSERT_EQ(stacked.GetCount(), 1);
    ASSERT_EQ(stacked[0].GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(stacked[0][0])), Sorted({{0, 0}, {1, 0}, {1, 1}, {1, 2}, {0, 2}, {0, 1}}));

    const auto same = Set({Square(0, 0, 2, 2)});
    EXPECT_EQ(Clip(same, ScanlineExclusiveOr, same).GetCount(), 0);
    EXPECT_EQ(Clip(same, ScanlineDifference, same).GetCount(), 0);
    const Result both = Clip(same, ScanlineIntersection, same);
    ASSERT_EQ(both.GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(both[0][0])), Sorted({{0, 0}, {2, 0}, {2, 2}, {0, 2}}));

    // Coincident sides of different lengths: the shorter one ends while the longer goes on, and the outline
    // carries on along the longer one as one contour.
    for (uint32_t op : {ScanlineUnion, ScanlineDifference, ScanlineIntersection, ScanlineExclusiveOr}) {
        const Result r = Clip(Set({Square(0, 0, 2, 4)}), op, Set({Square(0, 0, 1, 2)}));
        ExpectWellFormed(r);
        ASSERT_EQ(r.GetCount(), 1) << op;
        ASSERT_EQ(r[0].GetCount(), 1) << op;
        EXPECT_DOUBLE_EQ(Area(r), op == ScanlineUnion ? 8.0 : op == ScanlineIntersection ? 2.0 : 6.0) << op;
    }

    // Sides touching only: nothing in common, not even a sliver.
    EXPECT_EQ(Clip(Set({Square(0, 0, 1, 1)}), ScanlineIntersection, Set({Square(1, 0, 2, 1)})).GetCount(), 0);
    EXPECT_EQ(Clip(Set({Square(0, 0, 1, 1)}), ScanlineIntersection, Set({Square(1, 1, 2, 2)})).GetCount(), 0);
}

// ---- Empty inputs ------------------------------------------------------------------------------------------------

TEST(ScanlineEmptyInputs, PerOperation) {
    const QV_List<QV_Poly> none;
    const auto two = Set({Square(0, 0, 1, 1), Square(5, 5, 7, 6)});
    for (uint32_t op = 0; op < 4; ++op) EXPECT_EQ(Clip(none, op, none).GetCount(), 0) << op;

    EXPECT_EQ(Clip(two, ScanlineIntersection, none).GetCount(), 0);
    EXPECT_EQ(Clip(none, ScanlineIntersection, two).GetCount(), 0);
    EXPECT_EQ(Clip(none, ScanlineDifference, two).GetCount(), 0);
    // The other input's contours come back unchanged.
    for (const auto& [subject, op, clip] :
         {std::make_tuple(&two, ScanlineDifference, &none), std::make_tuple(&two, ScanlineUnion, &none),
          std::make_tuple(&none, ScanlineUnion, &two), std::make_tuple(&two, ScanlineExclusiveOr, &none),
          std::make_tuple(&none, ScanlineExclusiveOr, &two)}) {
        const Result r = Clip(*subject, op, *clip);
        ExpectWellFormed(r);
        ASSERT_EQ(r.GetCount(), 2) << op;
        EXPECT_DOUBLE_EQ(Area(r), 3.0) << op;
    }
}

// A result is emptied before it is filled.
TEST(ScanlineEmptyInputs, ResultIsClearedFirst) {
    Result r = Clip(Set({Square(0, 0, 1, 1)}), ScanlineUnion, Set({Square(3, 3, 4, 4)}));
    ASSERT_EQ(r.GetCount(), 2);
    EXPECT_TRUE(ScanlinePolygons(Set({Square(0, 0, 1, 1)}), ScanlineIntersection, QV_List<QV_Poly>(), r));
    EXPECT_EQ(r.GetCount(), 0);
}

// ---- Box skip test -----------------------------------------------------------------------------------------------

// Contours whose box meets nothing of the other input take no part; contours whose boxes only touch do.
TEST(ScanlineBoxSkip, FarContoursTakeNoPart) {
    const auto clip = Set({Square(0, 0, 2, 2)});
    const Result alone = Clip(Set({Square(1, 1, 3, 3)}), ScanlineIntersection, clip);
    const Result withFar =
        Clip(Set({Square(10, 10, 11, 11), Square(1, 1, 3, 3), Square(-5, 0, -4, 1)}), ScanlineIntersection, clip);
    ASSERT_EQ(withFar.GetCount(), 1);
    EXPECT_EQ(Sorted(Vertices(withFar[0][0])), Sorted(Vertices(alone[0][0])));

    // Far clip contours do not reach into a difference.
    const Result diff =
        Clip(Set({Square(0, 0, 2, 2)}), ScanlineDifference, Set({Square(20, 20, 21, 21), Square(1, 1, 3, 3)}));
    ASSERT_EQ(diff.GetCount(), 1);
    EXPECT_DOUBLE_EQ(Area(diff), 3.0);

    // A subject box touching the clip box at one corner takes part; the result is still empty.
    EXPECT_EQ(Clip(Set({Square(2, 2, 3, 3)}), ScanlineIntersection, clip).GetCount(), 0);
    // Many subject contours against many clip contours, half of them far apart.
    QV_List<QV_Poly> subjects, clips;
    for (int i = 0; i < 50; ++i) {
        subjects.Insert(Square(3 * i, 0, 3 * i + 2, 2));
        clips.Insert(Square(3 * i + 1, (i % 2) ? 1 : 100, 3 * i + 3, (i % 2) ? 3 : 101));
    }
    const Result many = Clip(subjects, ScanlineIntersection, clips);
    EXPECT_EQ(many.GetCount(), 25);
    EXPECT_DOUBLE_EQ(Area(many), 25.0);
}

// ---- Input forms -------------------------------------------------------------------------------------------------

// The inner vertices of a horizontal run drop out: the outline behaves as the plain square.
TEST(ScanlineInput, HorizontalRunsBehaveAsOneEdge) {
    const auto runs = Set({Ring({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 3}, {2, 3}, {1, 3}, {0, 3}})});
    const auto plain = Set({Square(0, 0, 3, 3)});
    const auto clip = Set({Square(1, 1, 5, 2)});
    for (uint32_t op = 0; op < 4; ++op) {
        const Result a = Clip(runs, op, clip);
        const Result b = Clip(plain, op, clip);
        ASSERT_EQ(a.GetCount(), b.GetCount()) << op;
        for (int32_t g = 0; g < a.GetCount(); ++g) {
            ASSERT_EQ(a[g].GetCount(), b[g].GetCount());
            for (int32_t k = 0; k < a[g].GetCount(); ++k)
                EXPECT_EQ(Sorted(Vertices(a[g][k])), Sorted(Vertices(b[g][k]))) << op;
        }
    }
}

// Direction, closing form and an open chain do not matter: every contour is taken as a ring.
TEST(ScanlineInput, OrientationAndClosingDoNotMatter) {
    const auto clip = Set({Square(1, 1, 3, 3)});
    const Points ccw{{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    const Points cw{{0, 0}, {0, 2}, {2, 2}, {2, 0}};
    const Points repeated{{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}};
    for (uint32_t op = 0; op < 4; ++op) {
        const double expected = Area(Clip(Set({Ring(ccw)}), op, clip));
        EXPECT_DOUBLE_EQ(Area(Clip(Set({Ring(cw)}), op, clip)), expected) << op;
        EXPECT_DOUBLE_EQ(Area(Clip(Set({Ring(repeated)}), op, clip)), expected) << op;
        EXPECT_DOUBLE_EQ(Area(Clip(Set({Ring(ccw, false)}), op, clip)), expected) << op;
    }
}

// Contours of one input combine by the even-odd rule: a contour inside another makes a hole.
TEST(ScanlineInput, NestedContoursOfOneInputMakeHoles) {
    const auto ring = Set({Square(0, 0, 10, 10), Square(2, 2, 8, 8)});
    const Result r = Clip(ring, ScanlineIntersection, Set({Square(-1, -1, 11, 11)}));
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 1);
    EXPECT_EQ(r[0].GetCount(), 2);
    EXPECT_DOUBLE_EQ(Area(r), 64.0);
    // A clip filling the hole closes it under union.
    const Result filled = Clip(ring, ScanlineUnion, Set({Square(2, 2, 8, 8)}));
    ASSERT_EQ(filled.GetCount(), 1);
    EXPECT_EQ(filled[0].GetCount(), 1);
    EXPECT_DOUBLE_EQ(Area(filled), 100.0);
}

// Only vertices are read: an arc edge counts as its chord.
TEST(ScanlineInput, ArcsCountAsChords) {
    // A unit square whose top edge is an arc bulging upwards through (0.5, 1.4).
    QV_List<QV_CoordLong> coded;
    for (const QV_CoordLong& c : {QV_CoordLong{0, 0, 0}, QV_CoordLong{1, 0, 0}, QV_CoordLong{1, 1, 0},
                                  QV_CoordLong{0.5, 1.4, 2}, QV_CoordLong{0, 1, -1}})
        coded.Insert(c);
    QV_Poly bulged;
    bulged.SetFromCoordLongs(coded, 1);
    ASSERT_EQ(bulged.arcs.GetCount(), 1);
    const Result r = Clip(Set({bulged}), ScanlineIntersection, Set({Square(-1, -1, 2, 2)}));
    ASSERT_EQ(r.GetCount(), 1);
    EXPECT_DOUBLE_EQ(Area(r), 1.0);
}

// The inputs are left as they were.
TEST(ScanlineInput, InputsUnchanged) {
    const auto subject = Set({Square(0, 0, 2, 2), Ring({{5, 5}, {6, 5}, {6, 5}, {5, 6}})});
    const auto clip = Set({Square(1, 1, 3, 3)});
    const QV_List<QV_Poly> subjectCopy(subject), clipCopy(clip);
    for (uint32_t op = 0; op < 4; ++op) Clip(subject, op, clip);
    ASSERT_EQ(subject.GetCount(), subjectCopy.GetCount());
    for (int32_t i = 0; i < subject.GetCount(); ++i) {
        EXPECT_EQ(Sorted(Vertices(subject[i])), Sorted(Vertices(subjectCopy[i])));
        EXPECT_EQ(subject[i].codes.GetCount(), subjectCopy[i].codes.GetCount());
    }
    EXPECT_EQ(Sorted(Vertices(clip[0])), Sorted(Vertices(clipCopy[0])));
}

// ---- Degenerate results ------------------------------------------------------------------------------------------

TEST(ScanlineDegenerate, ContoursOfTwoVerticesOrFewerAreDropped) {
    // An outline with a zero-width spike along x = 2: its intersection with the triangle leaves only a
    // contour of two vertices or fewer, which is dropped.
    const Result r = Clip(Set({Ring({{2, 2}, {0, 3}, {2, 3}, {2, 0}})}), ScanlineIntersection,
                          Set({Ring({{2, 0}, {3, 3}, {0, 0}})}));
    EXPECT_EQ(r.GetCount(), 0);

    // Flat and two-vertex inputs give nothing on their own.
    EXPECT_EQ(Clip(Set({Ring({{0, 0}, {1, 1}, {2, 2}})}), ScanlineUnion, QV_List<QV_Poly>()).GetCount(), 0);
    EXPECT_EQ(Clip(Set({Ring({{0, 0}, {4, 1}})}), ScanlineUnion, QV_List<QV_Poly>()).GetCount(), 0);
    EXPECT_EQ(Clip(Set({QV_Poly()}), ScanlineUnion, Set({QV_Poly()})).GetCount(), 0);
}

// ---- Groups ------------------------------------------------------------------------------------------------------

// Each hole joins the outer contour that holds it, also when the sweep hands the holes over before their outer
// contours (outer contours starting at different heights, holes above both bottoms).
TEST(ScanlineGroups, HolesJoinTheOuterContourHoldingThem) {
    const Result r = Clip(Set({Square(0, 0, 10, 10), Square(20, 5, 30, 15)}), ScanlineDifference,
                          Set({Square(2, 6, 4, 8), Square(22, 6, 24, 8)}));
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 2);
    for (int32_t g = 0; g < 2; ++g) {
        ASSERT_EQ(r[g].GetCount(), 2);
        EXPECT_TRUE(StrictlyInside(BoxOf(r[g][1]), BoxOf(r[g][0])));
    }
}

// An island inside a hole is a group of its own; the hole stays with the large outer contour around it.
TEST(ScanlineGroups, IslandInsideAHole) {
    const Result r =
        Clip(Set({Square(0, 0, 10, 10), Square(2, 2, 8, 8), Square(4, 4, 6, 6)}), ScanlineUnion, QV_List<QV_Poly>());
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 2);
    int32_t big = std::fabs(r[0][0].SignedArea()) > 50.0 ? 0 : 1;
    ASSERT_EQ(r[big].GetCount(), 2);
    EXPECT_DOUBLE_EQ(std::fabs(r[big][1].SignedArea()), 36.0);
    ASSERT_EQ(r[1 - big].GetCount(), 1);
    EXPECT_DOUBLE_EQ(std::fabs(r[1 - big][0].SignedArea()), 4.0);
    EXPECT_DOUBLE_EQ(Area(r), 68.0);
}

// A grid of holes in several outer contours: every hole lands in its own outer contour's group.
TEST(ScanlineGroups, ManyHolesInManyOuterContours) {
    QV_List<QV_Poly> outers, holes;
    for (int i = 0; i < 4; ++i) outers.Insert(Square(20 * i, 3 * i, 20 * i + 15, 3 * i + 15));
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            holes.Insert(Square(20 * i + 1 + 4 * j, 3 * i + 5 - j, 20 * i + 3 + 4 * j, 3 * i + 9));
    const Result r = Clip(outers, ScanlineDifference, holes);
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 4);
    for (int32_t g = 0; g < 4; ++g) {
        ASSERT_EQ(r[g].GetCount(), 4);
        for (int32_t k = 1; k < 4; ++k) EXPECT_TRUE(StrictlyInside(BoxOf(r[g][k]), BoxOf(r[g][0]))) << g << " " << k;
    }
    EXPECT_EQ(ContourCount(r), 16);
}

// Many holes in a large outer contour (the point tests against it then go through its height buckets), beside a
// second outer contour whose box holds some of those holes too.
TEST(ScanlineGroups, ManyHolesInALargeOuterContour) {
    Points circle;
    for (int i = 0; i < 200; ++i) {
        const double t = 2.0 * M_PI * i / 200.0;
        circle.push_back(API_Coord{50.0 + 50.0 * std::cos(t), 50.0 + 50.0 * std::sin(t)});
    }
    // A U-shaped outer contour around the circle's right half: its box holds holes it does not hold.
    const QV_Poly u = Ring({{40, -10}, {120, -10}, {120, 110}, {40, 110}, {40, 105}, {115, 105}, {115, -5}, {40, -5}});
    QV_List<QV_Poly> holes;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j) holes.Insert(Square(30 + 9 * i, 30 + 9 * j, 34 + 9 * i, 34 + 9 * j));
    const Result r = Clip(Set({Ring(circle), u}), ScanlineDifference, holes);
    ExpectWellFormed(r);
    ASSERT_EQ(r.GetCount(), 2);
    const int32_t big = r[0].GetCount() > 1 ? 0 : 1;
    EXPECT_EQ(r[big][0].vertices.GetCount(), 200);
    EXPECT_EQ(r[big].GetCount(), 21);
    EXPECT_EQ(r[1 - big].GetCount(), 1);
}

// ---- Touching rings ----------------------------------------------------------------------------------------------

// Each connected piece of the inside is one group; rings are simple and touch only at single points.
TEST(ScanlineGroups, TouchingPiecesAndHoles) {
    // Two squares meeting at a corner: two groups, whatever the operation that yields them.
    const auto a = Set({Square(0, 0, 2, 2)}), b = Set({Square(2, 2, 4, 4)});
    for (uint32_t op : {ScanlineUnion, ScanlineExclusiveOr}) {
        const Result r = Clip(a, op, b);
        ExpectWellFormed(r);
        EXPECT_EQ(r.GetCount(), 2) << op;
        EXPECT_DOUBLE_EQ(Area(r), 8.0);
    }
    // Exclusive-or of two crossing squares: four pieces meeting at the crossing points.
    const Result x = Clip(Set({Square(0, 0, 4, 4)}), ScanlineExclusiveOr, Set({Square(2, 2, 6, 6)}));
    ExpectWellFormed(x);
    EXPECT_EQ(x.GetCount(), 2);
    EXPECT_DOUBLE_EQ(Area(x), 24.0);
    // A square with a notch whose tip touches the far side (a vertex on an edge): one piece around a hole that
    // touches the outer contour at one point.
    const QV_Poly c = Ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const QV_Poly notch = Ring({{3, 3}, {7, 3}, {5, 10}});
    const Result h = Clip(Set({c}), ScanlineDifference, Set({notch}));
    ExpectWellFormed(h);
    ASSERT_EQ(h.GetCount(), 1);
    ASSERT_EQ(h[0].GetCount(), 2);
    EXPECT_DOUBLE_EQ(Area(h), 86.0);
    // A hole touching the outer contour at two points cuts the piece in two.
    const Result cut = Clip(Set({c}), ScanlineDifference, Set({Ring({{5, 0}, {8, 5}, {5, 10}, {2, 5}})}));
    ExpectWellFormed(cut);
    EXPECT_EQ(cut.GetCount(), 2);
    EXPECT_DOUBLE_EQ(Area(cut), 70.0);
    // The union of two overlapping outlines that also touch elsewhere, closing a pocket: one group with a hole.
    const QV_Poly u1 = Ring({{0, 0}, {10, 0}, {10, 2}, {2, 2}, {2, 8}, {5, 8}, {5, 10}, {0, 10}});
    const QV_Poly u2 = Ring({{8, 1}, {12, 1}, {12, 10}, {5, 10}, {5, 8}, {10, 8}, {10, 1.5}, {8, 1.5}});
    const Result u = Clip(Set({u1}), ScanlineUnion, Set({u2}));
    ExpectWellFormed(u);
    ASSERT_EQ(u.GetCount(), 1);
    EXPECT_EQ(u[0].GetCount(), 2);
}

// Area of a contour summed about its first vertex (survey coordinates keep their digits).
double LocalArea(const QV_Poly& c) {
    double sum = 0.0;
    const API_Coord o = c.vertices[0];
    for (int32_t i = 1; i + 1 < c.vertices.GetCount(); ++i)
        sum += (c.vertices[i].x - o.x) * (c.vertices[i + 1].y - o.y) -
            (c.vertices[i + 1].x - o.x) * (c.vertices[i].y - o.y);
    return 0.5 * sum;
}

// Result vertices are kept as the sweep gives them: only an exact repeat of the first one closes a contour, so a
// sliver whose vertices lie 5e-8 apart keeps its area; overlaps along a line leave no empty group.
TEST(ScanlineGroups, NearCoincidentVerticesAndCollinearOverlaps) {
    const double x0 = 500000.0, y0 = 6500000.0;
    for (const API_Coord& o : {API_Coord{0.0, 0.0}, API_Coord{x0, y0}}) {
        const double expected = 0.5 * ((o.x + 5e-8) - o.x) * 10.0;  // as the coordinates hold it
        const QV_Poly sliver = Ring({{o.x, o.y}, {o.x + 5e-8, o.y}, {o.x, o.y + 10}});
        const Result r = Clip(Set({sliver}), ScanlineUnion, QV_List<QV_Poly>());
        ExpectWellFormed(r);
        ASSERT_EQ(r.GetCount(), 1);
        EXPECT_EQ(r[0][0].vertices.GetCount(), 3);
        EXPECT_NEAR(LocalArea(r[0][0]), expected, 1e-15);
        // Cut from a square: one piece (the sliver's corridor stays open), area to the last digits.
        const Result d = Clip(Set({Square(o.x, o.y, o.x + 10, o.y + 10)}), ScanlineDifference,
                              Set({Ring({{o.x + 5e-8, o.y}, {o.x + 10, o.y}, {o.x + 10, o.y + 10}, {o.x, o.y + 10}})}));
        ExpectWellFormed(d);
        ASSERT_EQ(d.GetCount(), 1);
        EXPECT_NEAR(LocalArea(d[0][0]), expected, 1e-15);
    }
    // Two rectangles sharing part of a side, and a third lying along it: one group, no empty one.
    const Result c = Clip(Set({Square(0, 0, 4, 2), Square(4, 0, 6, 2)}), ScanlineUnion, Set({Square(2, 2, 5, 3)}));
    ExpectWellFormed(c);
    ASSERT_EQ(c.GetCount(), 1);
    EXPECT_DOUBLE_EQ(Area(c), 15.0);
}

// ---- Failures ----------------------------------------------------------------------------------------------------

TEST(ScanlineFailures, UnknownOperationAndNonFiniteVertices) {
    const auto a = Set({Square(0, 0, 2, 2)});
    Result r = Clip(a, ScanlineUnion, a);
    ASSERT_EQ(r.GetCount(), 1);
    EXPECT_FALSE(ScanlinePolygons(a, 4, a, r));
    EXPECT_EQ(r.GetCount(), 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ScanlinePolygons(a, ScanlineUnion, Set({Ring({{0, 0}, {1, nan}, {1, 1}})}), r));
    EXPECT_EQ(r.GetCount(), 0);
    EXPECT_FALSE(ScanlinePolygons(Set({Ring({{0, 0}, {inf, 0}, {1, 1}})}), ScanlineDifference, a, r));
    EXPECT_EQ(r.GetCount(), 0);
}

// Running out of memory while the result is built never leaves a partial result: either the whole answer and
// true, or nothing and false; no handle is left behind.
TEST(ScanlineFailures, AllocationFailureGivesEmptyResult) {
    const auto a = Set({Square(0, 0, 10, 10), Square(20, 5, 30, 15)});
    const auto b = Set({Square(2, 6, 4, 8), Square(22, 6, 24, 8), Square(5, -1, 25, 1)});
    const Result expected = Clip(a, ScanlineDifference, b);
    ASSERT_GT(ContourCount(expected), 3);

    MemoryDriver::ScopedReset reset;
    bool succeeded = false;
    for (int64_t allowed = 0; allowed < 200 && !succeeded; ++allowed) {
        const int64_t handlesBefore = MemoryDriver::LiveHandleCount();
        {
            Result r;
            MemoryDriver::FailAllocationsAfter(allowed);
            succeeded = ScanlinePolygons(a, ScanlineDifference, b, r);
            MemoryDriver::Reset();
            if (succeeded) {
                EXPECT_EQ(ContourCount(r), ContourCount(expected));
                EXPECT_DOUBLE_EQ(Area(r), Area(expected));
            } else {
                EXPECT_EQ(r.GetCount(), 0) << "allowed " << allowed;
            }
        }
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesBefore) << "allowed " << allowed;
    }
    EXPECT_TRUE(succeeded);
}

// The sweep keeps its working arrays with the thread between clips: clips of very different sizes one after the
// other, and the same clips on several threads at once, give exactly the answers of each clip on its own.
TEST(ScanlineWorkspace, ClipsInAnyOrderAndOnSeveralThreadsGiveTheSameAnswers) {
    std::mt19937 rng(7u);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto star = [&](int n, double cx, double cy) {
        Scanline::Contour c;
        for (int i = 0; i < n; ++i) {
            const double t = 2.0 * M_PI * (i + 0.5 * u(rng)) / n, r = 20.0 + 80.0 * u(rng);
            c.points.push_back(API_Coord{cx + r * std::cos(t), cy + r * std::sin(t)});
        }
        c.box = Scanline::PointsBox(c.points);
        return std::vector<Scanline::Contour>{c};
    };
    struct Case {
        std::vector<Scanline::Contour> a, b;
        uint32_t op;
    };
    std::vector<Case> cases;
    for (int k = 0; k < 24; ++k) {
        const int n = k % 3 == 0 ? 3000 : 5 + k * 7;
        cases.push_back(Case{star(n, 0.0, 0.0), star(n / 2 + 3, 30.0 * u(rng), 30.0 * u(rng)), uint32_t(k % 4)});
    }
    auto run = [](const Case& c) {
        std::vector<Scanline::Group> groups;
        EXPECT_TRUE(Scanline::Clip(c.a, c.op, c.b, groups));
        std::vector<double> flat;
        for (const Scanline::Group& g : groups)
            for (const Scanline::OutContour& contour : g) {
                flat.push_back(contour.hole ? -1.0 : 1.0);
                for (const API_Coord& p : contour.points) flat.insert(flat.end(), {p.x, p.y});
            }
        return flat;
    };
    // Each clip alone on a fresh thread.
    std::vector<std::vector<double>> alone(cases.size());
    for (size_t k = 0; k < cases.size(); ++k) std::thread([&, k] { alone[k] = run(cases[k]); }).join();
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (size_t i = 0; i < cases.size(); ++i) {
                const size_t k = t % 2 == 0 ? i : cases.size() - 1 - i;
                if (run(cases[k]) != alone[k]) ++mismatches[t];
            }
        });
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
    for (const std::vector<double>& r : alone) EXPECT_FALSE(r.empty());
}

}  // namespace scanline_test
