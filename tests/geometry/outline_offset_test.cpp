#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "MemoryDriver.hpp"
#include "OffsetTestUtil.hpp"
#include "SvgPicture.hpp"
#include "TestSupport.hpp"
#include "geometry/ElementOutline.hpp"
#include "geometry/OutlineOffset.hpp"

namespace outline_offset_test {

using namespace OffsetTest;

QV_List<PrimPoly> Offset(const QV_List<PrimPoly>& path, uint8_t side, double d, bool regularize = true) {
    QV_List<PrimPoly> result;
    result.Insert(Line(99, 99, 98, 98));  // emptied by the offset
    OffsetPolygonWithArcs(path, side, d, result, regularize ? 1 : 0);
    return result;
}

// Segments follow one another without a gap.
void ExpectContinuous(const QV_List<PrimPoly>& chain, double tolerance = 1e-9) {
    for (int32_t i = 1; i < chain.GetCount(); ++i)
        EXPECT_LT(Distance(chain[i - 1].end, chain[i].begin), tolerance) << "gap before segment " << i;
}

// Every arc record is consistent: its three points on its circle.
void ExpectArcRecordsConsistent(const QV_List<PrimPoly>& chain) {
    for (const PrimPoly& p : chain) {
        if (p.isLine != 0) continue;
        EXPECT_NEAR(p.radius, Distance(p.begin, p.centre), 1e-9);
        EXPECT_NEAR(p.radius, Distance(p.end, p.centre), 1e-9);
        EXPECT_NEAR(p.radius, Distance(p.mid, p.centre), 1e-9);
    }
}

// A true offset: every point of the result lies at the distance from the whole path.
void ExpectAtDistance(const QV_List<PrimPoly>& result, const QV_List<PrimPoly>& path, double d) {
    ASSERT_FALSE(result.IsEmpty());
    for (const API_Coord& q : Samples(result)) EXPECT_NEAR(d, DistanceTo(path, q), 1e-7) << "at " << q.x << ", " << q.y;
}

// Every point of the result lies on the side of the path's first segment given by the sign.
double SideOf(const PrimPoly& s, const API_Coord& q) {
    return (s.end.x - s.begin.x) * (q.y - s.begin.y) - (s.end.y - s.begin.y) * (q.x - s.begin.x);
}

// The point lies at the distance from the carrier (line or full circle) of one of the path's segments.
bool OnSomeCarrier(const QV_List<PrimPoly>& path, const API_Coord& q, double d) {
    for (const PrimPoly& p : path)
        if (std::fabs(DistanceToCarrier(p, q) - d) < 1e-9) return true;
    return false;
}

bool SelfCrossing(const QV_List<PrimPoly>& chain) {
    QV_Poly poly;
    const std::vector<API_Coord> pts = Samples(chain, 8);
    for (const API_Coord& p : pts) poly.AddPoint(p, false, 1e-9);
    return PolygonSelfIntersects(poly) != 0;
}

// A picture of a failing offset for a person to look at: the path blue, its offset green.
std::string WritePicture(const QV_List<PrimPoly>& path, const QV_List<PrimPoly>& offset, const std::string& name) {
    using TestSupport::SvgPicture;
    auto line = [](const QV_List<PrimPoly>& chain) {
        SvgPicture::Path out;
        for (const API_Coord& q : Samples(chain)) out.push_back({q.x, q.y});
        return out;
    };
    SvgPicture picture;
    picture.AddPolyline(line(path), "blue");
    picture.AddPolyline(line(offset), "green");
    picture.AddCaption(name + ": path blue, offset green");
    const std::string file = TestSupport::OutputDir() + "/" + name + ".svg";
    return picture.Write(file) ? file : "not written (" + file + ")";
}

// A road-like path: straight, a left bend of radius r over 90 degrees, straight up.
QV_List<PrimPoly> Road(double r) {
    return Chain({Line(0, 0, 10, 0), Arc(10, r, r, -90, 0), Line(10 + r, r, 10 + r, r + 10)});
}

TEST(OutlineOffset, EmptyAndSingleSegments) {
    QV_List<PrimPoly> empty;
    EXPECT_TRUE(Offset(empty, 0, 2.0).IsEmpty());

    const QV_List<PrimPoly> one = Chain({Line(0, 0, 10, 0)});
    const QV_List<PrimPoly> left = Offset(one, 0, 2.0);
    ASSERT_EQ(1, left.GetCount());
    EXPECT_NEAR(0.0, left[0].begin.x, 1e-12);
    EXPECT_NEAR(2.0, left[0].begin.y, 1e-12);
    EXPECT_NEAR(10.0, left[0].end.x, 1e-12);
    EXPECT_NEAR(2.0, left[0].end.y, 1e-12);
    // Side 1 lies right and runs backwards.
    const QV_List<PrimPoly> right = Offset(one, 1, 2.0);
    ASSERT_EQ(1, right.GetCount());
    EXPECT_NEAR(10.0, right[0].begin.x, 1e-12);
    EXPECT_NEAR(-2.0, right[0].begin.y, 1e-12);
    EXPECT_NEAR(0.0, right[0].end.x, 1e-12);
    // A negative distance swaps the sides.
    const QV_List<PrimPoly> swapped = Offset(one, 0, -2.0);
    ASSERT_EQ(1, swapped.GetCount());
    EXPECT_NEAR(right[0].begin.y, swapped[0].begin.y, 1e-12);
    EXPECT_NEAR(right[0].begin.x, swapped[0].begin.x, 1e-12);
    // The path is left as it was.
    EXPECT_EQ(0.0, one[0].begin.y);
}

TEST(OutlineOffset, StraightChainsBothSides) {
    // Two collinear segments: the second starts at the first's moved end.
    const QV_List<PrimPoly> collinear = Chain({Line(0, 0, 5, 5), Line(5, 5, 10, 10)});
    const QV_List<PrimPoly> c = Offset(collinear, 0, 1.0, false);
    ASSERT_EQ(2, c.GetCount());
    EXPECT_EQ(c[0].end.x, c[1].begin.x);
    EXPECT_EQ(c[0].end.y, c[1].begin.y);
    ExpectAtDistance(c, collinear, 1.0);

    // A horizontal segment moves along y only.
    const QV_List<PrimPoly> flat = Chain({Line(1.25, 3, 7.75, 3.00001)});
    const QV_List<PrimPoly> f = Offset(flat, 0, 0.5, false);
    ASSERT_EQ(1, f.GetCount());
    EXPECT_EQ(1.25, f[0].begin.x);
    EXPECT_EQ(7.75, f[0].end.x);
    EXPECT_NEAR(3.5, f[0].begin.y, 1e-9);

    // A right-angled left turn: the outside (right) is extended to the crossing, the inside cut back to it.
    const QV_List<PrimPoly> corner = Chain({Line(0, 0, 10, 0), Line(10, 0, 10, 10)});
    for (bool regularize : {false, true}) {
        const QV_List<PrimPoly> outside = Offset(corner, 1, 1.0, regularize);
        ASSERT_EQ(2, outside.GetCount());
        EXPECT_NEAR(11.0, outside[0].end.x, 1e-9);
        EXPECT_NEAR(-1.0, outside[0].end.y, 1e-9);
        ExpectContinuous(outside);
        for (const API_Coord& q : Samples(outside)) {
            EXPECT_GE(DistanceTo(corner, q), 1.0 - 1e-9);
            EXPECT_TRUE(OnSomeCarrier(corner, q, 1.0)) << q.x << "," << q.y;
        }
        const QV_List<PrimPoly> inside = Offset(corner, 0, 1.0, regularize);
        ASSERT_EQ(2, inside.GetCount());
        EXPECT_NEAR(9.0, inside[0].end.x, 1e-9);
        EXPECT_NEAR(1.0, inside[0].end.y, 1e-9);
        ExpectAtDistance(inside, corner, 1.0);
    }
}

TEST(OutlineOffset, ArcsGrowAndShrinkByTheirTurn) {
    // Counter-clockwise quarter: its left is towards the centre.
    const QV_List<PrimPoly> ccw = Chain({Arc(0, 0, 5, 0, 90)});
    const QV_List<PrimPoly> inner = Offset(ccw, 0, 2.0);
    ASSERT_EQ(1, inner.GetCount());
    EXPECT_EQ(0, inner[0].isLine);
    EXPECT_NEAR(3.0, inner[0].radius, 1e-12);
    EXPECT_NEAR(3.0 / std::sqrt(2.0), inner[0].mid.x, 1e-9);
    ExpectAtDistance(inner, ccw, 2.0);
    ExpectArcRecordsConsistent(inner);
    const QV_List<PrimPoly> outer = Offset(ccw, 1, 2.0);
    ASSERT_EQ(1, outer.GetCount());
    EXPECT_NEAR(7.0, outer[0].radius, 1e-12);
    EXPECT_NEAR(0.0, outer[0].begin.x, 1e-9);  // runs backwards
    EXPECT_NEAR(7.0, outer[0].begin.y, 1e-9);
    ExpectAtDistance(outer, ccw, 2.0);
    // Clockwise: its left is away from the centre.
    const QV_List<PrimPoly> cw = Chain({Arc(0, 0, 5, 90, 0)});
    EXPECT_NEAR(7.0, Offset(cw, 0, 2.0)[0].radius, 1e-12);
    EXPECT_NEAR(3.0, Offset(cw, 1, 2.0)[0].radius, 1e-12);

    // Exactly the radius: an arc of radius 0 stays. More: it disappears.
    const QV_List<PrimPoly> zero = Offset(ccw, 0, 5.0, false);
    ASSERT_EQ(1, zero.GetCount());
    EXPECT_EQ(0.0, zero[0].radius);
    EXPECT_NEAR(0.0, zero[0].begin.x, 1e-12);
    EXPECT_NEAR(0.0, zero[0].end.y, 1e-12);
    EXPECT_TRUE(Offset(ccw, 0, 5.5).IsEmpty());
}

TEST(OutlineOffset, MixedRoadBothSidesIsATrueOffset) {
    const QV_List<PrimPoly> road = Road(5.0);
    for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
        for (double d : {0.5, 2.0, 4.5}) {
            const QV_List<PrimPoly> r = Offset(road, side, d);
            ASSERT_EQ(3, r.GetCount()) << int(side) << " " << d;
            ExpectContinuous(r);
            ExpectArcRecordsConsistent(r);
            ExpectAtDistance(r, road, d);
            EXPECT_NEAR(side == 0 ? 5.0 - d : 5.0 + d, r[1].radius, 1e-9);
            // Side 0 runs with the path and lies to its left; side 1 the other way round.
            const PrimPoly& first = side == 0 ? r[0] : r[2];
            EXPECT_NEAR(side == 0 ? d : -d, first.begin.y, 1e-9);
            EXPECT_NEAR(0.0, side == 0 ? first.begin.x : first.end.x, 1e-9);
            for (const API_Coord& q : Samples(r)) {
                if (q.x < 10.0) {
                    EXPECT_GT(side == 0 ? SideOf(road[0], q) : -SideOf(road[0], q), 0.0);
                }
            }
        }
    }
}

TEST(OutlineOffset, TightArcSmallerThanTheOffsetIsDroppedAndNeighboursJoined) {
    const QV_List<PrimPoly> road = Road(1.5);
    for (bool regularize : {false, true}) {
        const QV_List<PrimPoly> r = Offset(road, 0, 2.0, regularize);
        ASSERT_EQ(2, r.GetCount()) << regularize;
        EXPECT_EQ(1, r[0].isLine);
        EXPECT_EQ(1, r[1].isLine);
        // The two straights are cut back to the crossing of their carriers.
        EXPECT_NEAR(9.5, r[0].end.x, 1e-9);
        EXPECT_NEAR(2.0, r[0].end.y, 1e-9);
        ExpectContinuous(r);
        for (const API_Coord& q : Samples(r)) EXPECT_TRUE(OnSomeCarrier(road, q, 2.0)) << q.x << "," << q.y;
    }
    // Away from the centre the same arc grows.
    const QV_List<PrimPoly> out = Offset(road, 1, 2.0);
    ASSERT_EQ(3, out.GetCount());
    EXPECT_NEAR(3.5, out[1].radius, 1e-9);
    ExpectAtDistance(out, road, 2.0);
}

TEST(OutlineOffset, ArcDroppedBeforeAStraightLeavesNoGap) {
    // A bend of radius 1 ends in a kink: offset by 0.9 the straight after it misses the shrunk circle, the arc
    // is dropped and the straight is joined to the straight before the arc.
    const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0), Arc(10, 1, 1, -90, 0), Line(11, 1, 15, 5)});
    const QV_List<PrimPoly> r = Offset(path, 0, 0.9, false);
    ASSERT_EQ(2, r.GetCount());
    ExpectContinuous(r);
    EXPECT_NEAR(0.9, r[0].end.y, 1e-9);
    for (const API_Coord& q : Samples(r)) EXPECT_TRUE(OnSomeCarrier(path, q, 0.9)) << q.x << "," << q.y;
}

TEST(OutlineOffset, UTurnsBothSides) {
    // Wide enough: a true offset on both sides.
    const QV_List<PrimPoly> u = Chain({Line(0, 0, 10, 0), Arc(10, 3, 3, -90, 90), Line(10, 6, 0, 6)});
    for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
        const QV_List<PrimPoly> r = Offset(u, side, 1.0);
        ASSERT_EQ(3, r.GetCount());
        ExpectContinuous(r);
        ExpectAtDistance(r, u, 1.0);
        EXPECT_NEAR(side == 0 ? 2.0 : 4.0, r[1].radius, 1e-9);
        EXPECT_FALSE(SelfCrossing(r));
    }
    // Too narrow for the inside: nothing of the band's inner side is left; the outside is unharmed.
    EXPECT_TRUE(Offset(u, 0, 4.0).IsEmpty());
    const QV_List<PrimPoly> outside = Offset(u, 1, 4.0);
    ASSERT_EQ(3, outside.GetCount());
    ExpectAtDistance(outside, u, 4.0);
}

TEST(OutlineOffset, LoopOfATightBendIsCutAway) {
    // A corner cut by a short diagonal: offset inwards, the diagonal's offset runs backwards and makes a loop.
    const QV_List<PrimPoly> notch = Chain({Line(0, 0, 10, 0), Line(10, 0, 10.5, 0.5), Line(10.5, 0.5, 10.5, 10)});
    const QV_List<PrimPoly> raw = Offset(notch, 0, 1.0, false);
    ASSERT_EQ(3, raw.GetCount());
    EXPECT_TRUE(SelfCrossing(raw));
    const QV_List<PrimPoly> clean = Offset(notch, 0, 1.0);
    ASSERT_EQ(2, clean.GetCount());
    EXPECT_FALSE(SelfCrossing(clean));
    ExpectContinuous(clean);
    ExpectAtDistance(clean, notch, 1.0);
    EXPECT_NEAR(9.5, clean[0].end.x, 1e-9);
    EXPECT_NEAR(1.0, clean[0].end.y, 1e-9);
    EXPECT_NEAR(0.0, clean[0].begin.x, 1e-9);  // in the path's direction

    // A hairpin whose loop reaches across the path: neither the path's pieces nor the loop survive.
    const QV_List<PrimPoly> hairpin = Chain({Line(0, 0, 10, 0), Line(10, 0, 10, 0.2), Line(10, 0.2, 0, 3)});
    EXPECT_TRUE(SelfCrossing(Offset(hairpin, 0, 1.0, false)));
    const QV_List<PrimPoly> h = Offset(hairpin, 0, 1.0);
    ASSERT_EQ(2, h.GetCount());
    ExpectContinuous(h);
    ExpectAtDistance(h, hairpin, 1.0);
    EXPECT_NEAR(1.0, h[0].end.y, 1e-9);
    EXPECT_NEAR(3.43407, h[0].end.x, 1e-5);
    // The same on side 1 (backwards): the other side has no loop and keeps all three segments.
    const QV_List<PrimPoly> h1 = Offset(hairpin, 1, 1.0);
    ASSERT_EQ(3, h1.GetCount());
    ExpectContinuous(h1);
    for (const API_Coord& q : Samples(h1)) EXPECT_GE(DistanceTo(hairpin, q), 1.0 - 1e-9);
}

TEST(OutlineOffset, LoopWithArcsIsCutAndArcsSurvive) {
    // Straight, a short kink, and a long arc bending right: offset to the left the kink's offset runs
    // backwards and its loop is cut; the arc stays an arc of the grown radius.
    const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0), Line(10, 0, 10.6, 0.8), Arc(20.6, 0.8, 10, 180, 150)});
    const QV_List<PrimPoly> raw = Offset(path, 0, 1.5, false);
    ASSERT_EQ(3, raw.GetCount());
    EXPECT_TRUE(SelfCrossing(raw));
    const QV_List<PrimPoly> r = Offset(path, 0, 1.5);
    ASSERT_EQ(2, r.GetCount());
    EXPECT_FALSE(SelfCrossing(r));
    ExpectContinuous(r, 1e-7);
    ExpectAtDistance(r, path, 1.5);
    EXPECT_EQ(0, r[1].isLine);
    EXPECT_NEAR(11.5, r[1].radius, 1e-9);
    EXPECT_NEAR(20.6, r[1].centre.x, 1e-9);
    ExpectArcRecordsConsistent(r);
}

TEST(OutlineOffset, ZeroLengthSegmentsGiveNoStrayPoints) {
    const QV_List<PrimPoly> path =
        Chain({Line(0, 0, 5, 0), Line(5, 0, 5, 0), Line(5, 0, 5.00001, 0), Line(5.00001, 0, 10, 0)});
    for (bool regularize : {false, true}) {
        const QV_List<PrimPoly> r = Offset(path, 0, 1.0, regularize);
        ASSERT_FALSE(r.IsEmpty());
        ExpectContinuous(r);
        for (const API_Coord& q : Samples(r)) {
            EXPECT_NEAR(1.0, q.y, 1e-9);
            EXPECT_GE(q.x, -1e-9);
            EXPECT_LE(q.x, 10.0 + 1e-9);
        }
    }
}

TEST(OutlineOffset, RegularisationThatFindsNoPieceKeepsTheChain) {
    // Offset by nothing: the band has no area, so the chain comes back as joined.
    const QV_List<PrimPoly> road = Road(5.0);
    const QV_List<PrimPoly> r = Offset(road, 0, 0.0);
    ASSERT_EQ(3, r.GetCount());
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(road[i].begin.x, r[i].begin.x, 1e-12);
        EXPECT_NEAR(road[i].end.y, r[i].end.y, 1e-12);
    }
    QV_List<PrimPoly> none;
    RegularizeOffsetChain(road, 0, none);
    EXPECT_TRUE(none.IsEmpty());
    // A chain across the path makes a bow tie: neither lobe holds the whole path, so nothing changes.
    const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0)});
    QV_List<PrimPoly> across = Chain({Line(5, -1, 5, 1)});
    RegularizeOffsetChain(path, 0, across, 1.0);
    ASSERT_EQ(1, across.GetCount());
    EXPECT_EQ(-1.0, across[0].begin.y);
    EXPECT_EQ(1.0, across[0].end.y);
}

TEST(OutlineOffset, ReverseSegmentListKeepsArcs) {
    QV_List<PrimPoly> chain = Road(5.0);
    const PrimPoly arc = chain[1];
    ReverseSegmentList(chain);
    ASSERT_EQ(3, chain.GetCount());
    EXPECT_EQ(15.0, chain[0].begin.x);
    EXPECT_EQ(15.0, chain[0].begin.y);
    EXPECT_EQ(arc.end.x, chain[1].begin.x);
    EXPECT_EQ(arc.begin.y, chain[1].end.y);
    EXPECT_EQ(arc.mid.x, chain[1].mid.x);
    EXPECT_EQ(arc.radius, chain[1].radius);
    EXPECT_EQ(0.0, chain[2].end.x);
    QV_List<PrimPoly> empty;
    ReverseSegmentList(empty);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(OutlineOffset, NoHandlesLeft) {
    const int64_t before = MemoryDriver::LiveHandleCount();
    {
        const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0), Line(10, 0, 10.6, 0.8), Arc(20.6, 0.8, 10, 180, 150)});
        for (uint8_t side : {uint8_t(0), uint8_t(1)}) Offset(path, side, 1.5);
    }
    EXPECT_EQ(before, MemoryDriver::LiveHandleCount());
}

// A smooth path: straights and arcs joined tangentially, turning less than a half turn in all, so that its
// offsets by less than the smallest radius are true offsets on both sides.
QV_List<PrimPoly> SmoothPath(uint32_t& seed, double& smallestRadius) {
    auto next = [&seed](double lo, double hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * double(seed >> 8) / double(1u << 24);
    };
    QV_List<PrimPoly> path;
    API_Coord at{next(-50, 50), next(-50, 50)};
    double heading = next(0, 2 * M_PI);
    double turned = 0.0;
    smallestRadius = 1e300;
    const int count = 2 + int(next(0, 6));
    for (int i = 0; i < count; ++i) {
        const bool arc = i % 2 == 1;
        if (!arc) {
            const double len = next(2, 15);
            const API_Coord to{at.x + len * std::cos(heading), at.y + len * std::sin(heading)};
            path.Insert(Line(at.x, at.y, to.x, to.y));
            at = to;
            continue;
        }
        const double r = next(3, 20);
        double sweep = next(10, 60) * M_PI / 180.0 * (next(0, 1) < 0.5 ? -1.0 : 1.0);
        if (std::fabs(turned + sweep) > 0.9 * M_PI) sweep = -sweep;
        turned += sweep;
        smallestRadius = std::fmin(smallestRadius, r);
        // Centre to the left for a left turn.
        const double side = sweep > 0 ? 1.0 : -1.0;
        const API_Coord c{at.x - side * r * std::sin(heading), at.y + side * r * std::cos(heading)};
        const double a1 = std::atan2(at.y - c.y, at.x - c.x) * 180.0 / M_PI;
        const double a2 = a1 + sweep * 180.0 / M_PI;
        PrimPoly p = Arc(c.x, c.y, r, a1, a2);
        p.begin = at;
        path.Insert(p);
        at = p.end;
        heading += sweep;
    }
    return path;
}

TEST(OutlineOffset, RandomSmoothPathsGiveTrueOffsetsOnBothSides) {
    uint32_t seed = 12345;
    bool pictured = false;
    for (int round = 0; round < 40; ++round) {
        double smallest;
        const QV_List<PrimPoly> path = SmoothPath(seed, smallest);
        const double d = std::fmin(2.5, 0.8 * smallest);
        for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
            const QV_List<PrimPoly> r = Offset(path, side, d);
            ASSERT_EQ(path.GetCount(), r.GetCount()) << "round " << round << " side " << int(side);
            ExpectContinuous(r, 1e-7);
            ExpectArcRecordsConsistent(r);
            ExpectAtDistance(r, path, d);
            EXPECT_FALSE(SelfCrossing(r));
            if (HasFailure() && !pictured) {
                pictured = true;
                const std::string name =
                    "outline_offset_round" + std::to_string(round) + "_side" + std::to_string(int(side));
                std::cout << "picture: " << WritePicture(path, r, name) << "\n";
            }
        }
    }
}

TEST(OutlineOffset, SurveySizedCoordinates) {
    const double ox = 6543210.5, oy = 1234567.25;
    const QV_List<PrimPoly> path = Chain({Line(ox, oy, ox + 10, oy), Line(ox + 10, oy, ox + 10.5, oy + 0.5),
                                          Line(ox + 10.5, oy + 0.5, ox + 10.5, oy + 10)});
    const QV_List<PrimPoly> clean = Offset(path, 0, 1.0);
    ASSERT_EQ(2, clean.GetCount());
    ExpectContinuous(clean, 1e-6);
    for (const API_Coord& q : Samples(clean)) EXPECT_NEAR(1.0, DistanceTo(path, q), 1e-6);
    const QV_List<PrimPoly> road =
        Chain({Line(ox, oy, ox + 10, oy), Arc(ox + 10, oy + 5, 5, -90, 0), Line(ox + 15, oy + 5, ox + 15, oy + 15)});
    for (uint8_t side : {uint8_t(0), uint8_t(1)}) {
        const QV_List<PrimPoly> r = Offset(road, side, 2.0);
        ASSERT_EQ(3, r.GetCount());
        for (const API_Coord& q : Samples(r)) EXPECT_NEAR(2.0, DistanceTo(road, q), 1e-6);
    }
}

}  // namespace outline_offset_test
