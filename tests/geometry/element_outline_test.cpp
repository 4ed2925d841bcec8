#include <gtest/gtest.h>

#include "GeometryTestUtil.hpp"
#include "OffsetTestUtil.hpp"
#include "geometry/ElementOutline.hpp"
#include "geometry/OutlineOffset.hpp"

namespace element_outline_test {

using GeometryTest::MakeArc;
using GeometryTest::P;
using GeometryTest::Straight;
using namespace OffsetTest;

TEST(PolygonSelfIntersects, RingsAndChains) {
    // A ring's last and first edges share vertex 0: neighbours, not a touch.
    EXPECT_EQ(0, PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)})));
    EXPECT_EQ(0, PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(5, 8)})));
    // A bow tie crosses.
    EXPECT_EQ(1, PolygonSelfIntersects(Straight({P(0, 0), P(10, 10), P(10, 0), P(0, 10)})));
    // A chain whose end comes back onto its start: its first and last edges are no neighbours.
    QV_Poly back;
    for (const API_Coord& p : {P(0, 0), P(10, 0), P(10, 10), P(0, 0)}) back.AddPoint(p, false, 1e-9);
    ASSERT_FALSE(back.IsClosed());
    EXPECT_EQ(1, PolygonSelfIntersects(back));
    EXPECT_EQ(0, PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(10, 10), P(1, 1)}, false)));
    // A ring touching itself at a vertex.
    EXPECT_EQ(1, PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(5, 5), P(10, 10), P(0, 10), P(5, 5)})));
    EXPECT_EQ(0, PolygonSelfIntersects(QV_Poly()));
}

TEST(PolygonSelfIntersects, FoldsBack) {
    // A rectangle with a spike going out and back along the same line.
    EXPECT_EQ(1,
              PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(10, 4), P(14, 4), P(10, 4.0), P(10, 8), P(0, 8)})));
    // The same spike at vertex 0: only the first/last neighbour pair sees it.
    EXPECT_EQ(1, PolygonSelfIntersects(Straight({P(0, 4), P(-4, 4), P(0, 4.0), P(0, 0), P(10, 0), P(10, 8), P(0, 8)})));
    EXPECT_EQ(1, PolygonSelfIntersects(Straight({P(-4, 4), P(0, 4), P(0, 0), P(10, 0), P(10, 8), P(0, 8), P(0, 4)})));
    // A straight continuation is no fold; nor is a vertical or horizontal turn.
    EXPECT_EQ(0, PolygonSelfIntersects(Straight({P(0, 0), P(5, 0), P(10, 0), P(10, 8), P(5, 8), P(0, 8), P(0, 4)})));
    // A repeated vertex is no crossing.
    EXPECT_EQ(0, PolygonSelfIntersects(Straight({P(0, 0), P(10, 0), P(10, 0), P(10, 10), P(0, 10)})));
}

TEST(PolygonSelfIntersects, ArcsAreChorded) {
    // A bulge outwards stays clear; one reaching across the opposite edge crosses it.
    QV_Poly clear = Straight({P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    MakeArc(clear, 1, P(13, 5));
    EXPECT_EQ(0, PolygonSelfIntersects(clear));
    QV_Poly deep = Straight({P(0, 0), P(10, 0), P(10, 2), P(0, 2)});
    MakeArc(deep, 0, P(5, 3));  // the bottom edge bulging up through the top edge
    EXPECT_EQ(1, PolygonSelfIntersects(deep));
}

TEST(BuildClosedOutlineFromEdges, RoadBodyFromItsTwoOffsets) {
    const QV_List<PrimPoly> path = Chain({Line(0, 0, 10, 0), Arc(10, 5, 5, -90, 0), Line(15, 5, 15, 15)});
    QV_List<PrimPoly> left, right, outline;
    OffsetPolygonWithArcs(path, 0, 2.0, left, 1);
    OffsetPolygonWithArcs(path, 1, 2.0, right, 1);
    int32_t firstSide = -1, lastSide = -1;
    EXPECT_EQ(1, BuildClosedOutlineFromEdges(left, right, outline, firstSide, lastSide));
    ASSERT_EQ(8, outline.GetCount());
    EXPECT_EQ(4, lastSide);
    EXPECT_EQ(8, firstSide);
    // The connectors join the chains' ends.
    EXPECT_EQ(left[2].end.x, outline[3].begin.x);
    EXPECT_EQ(right[0].begin.y, outline[3].end.y);
    EXPECT_EQ(right[2].end.x, outline[7].begin.x);
    EXPECT_EQ(left[0].begin.y, outline[7].end.y);
    EXPECT_EQ(0, outline[1].isLine);
}

TEST(BuildClosedOutlineFromEdges, CrossingEdgesAndEmptyChains) {
    // The left edge of a tight hairpin, not cleaned, loops over itself.
    const QV_List<PrimPoly> hairpin = Chain({Line(0, 0, 10, 0), Line(10, 0, 10, 0.2), Line(10, 0.2, 0, 3)});
    QV_List<PrimPoly> left, right, outline;
    OffsetPolygonWithArcs(hairpin, 0, 1.0, left, 0);
    OffsetPolygonWithArcs(hairpin, 1, 1.0, right, 1);
    int32_t firstSide = 0, lastSide = 0;
    EXPECT_EQ(0, BuildClosedOutlineFromEdges(left, right, outline, firstSide, lastSide));
    // Cleaned, the same body is fine.
    OffsetPolygonWithArcs(hairpin, 0, 1.0, left, 1);
    EXPECT_EQ(1, BuildClosedOutlineFromEdges(left, right, outline, firstSide, lastSide));

    QV_List<PrimPoly> empty;
    firstSide = lastSide = 7;
    EXPECT_EQ(0, BuildClosedOutlineFromEdges(empty, right, outline, firstSide, lastSide));
    EXPECT_TRUE(outline.IsEmpty());
    EXPECT_EQ(0, firstSide);
    EXPECT_EQ(0, lastSide);
    EXPECT_EQ(0, BuildClosedOutlineFromEdges(left, empty, outline, firstSide, lastSide));
    EXPECT_TRUE(outline.IsEmpty());
    // A body of no width collapses.
    const QV_List<PrimPoly> a = Chain({Line(0, 0, 10, 0)});
    const QV_List<PrimPoly> b = Chain({Line(10, 0, 0, 0)});
    EXPECT_EQ(0, BuildClosedOutlineFromEdges(a, b, outline, firstSide, lastSide));
}

TEST(TranslatePointArray, SubtractsTheOriginEverywhere) {
    QV_List<QV_CoordLong> outline, segmented;
    QV_List<QV_Coord3DLong> chainA, chainB;
    outline.Insert(QV_CoordLong{10, 20, 0});
    segmented.Insert(QV_CoordLong{11, 21, -1});
    chainA.Insert(QV_Coord3DLong{12, 22, 5, 2});
    chainB.Insert(QV_Coord3DLong{13, 23, 6, 0});
    TranslatePointArray(outline, segmented, API_Coord{1, 2});
    EXPECT_EQ(9.0, outline[0].x);
    EXPECT_EQ(19.0, segmented[0].y);
    EXPECT_EQ(-1, segmented[0].code);
    TranslatePointArrayLarge(outline, segmented, chainA, chainB, API_Coord{1, 1});
    EXPECT_EQ(8.0, outline[0].x);
    EXPECT_EQ(11.0, chainA[0].x);
    EXPECT_EQ(22.0, chainB[0].y);
    EXPECT_EQ(5.0, chainA[0].z);
    EXPECT_EQ(2, chainA[0].code);
}

}  // namespace element_outline_test
