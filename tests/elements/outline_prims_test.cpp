// Outline primitives of a fill, the side tests of the picking, the two-click picking itself and the split of the
// ring into two edge chains.
#include "ProjectHost.hpp"

#include "elements/OutlinePrims.hpp"

#include "DGDriver.hpp"

namespace outline_prims_test {

class OutlinePrimsTest : public ProjectHostTest {
protected:
    // A rectangle fill 0..10 x 0..4 (counter-clockwise), with a repeated vertex when asked.
    void PickRectangle(BaseCls& cls, bool repeated = false) {
        std::vector<API_Coord3D> pts = {{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {0, 4, 0}};
        if (repeated) pts.insert(pts.begin() + 2, {10, 0, 0});
        API_Guid g = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, pts, true, 1, "outline", &g), NoError);
        cls.pickHead = Db().Find(g)->record.header;
        ASSERT_TRUE(cls.BuildPrimitives(BaseCls::PrimitiveOptions().FillPrims().CloseCodes()));
    }
};

TEST_F(OutlinePrimsTest, ARectangleGivesFourSidesAndARepeatedVertexNoEmptyOne) {
    BaseRSWCls cls;
    PickRectangle(cls, true);
    ASSERT_EQ(cls.segments.GetCount(), 4);
    ASSERT_EQ(cls.prims.GetCount(), 4);
    EXPECT_EQ(cls.points2D.GetCount(), 5);  // start, three corners (the repeat skipped), back at the start
    for (int32_t i = 0; i < cls.prims.GetCount(); ++i) {
        EXPECT_EQ(cls.prims[i].isLine, 1);
        EXPECT_FALSE(cls.prims[i].begin.x == cls.prims[i].end.x && cls.prims[i].begin.y == cls.prims[i].end.y);
    }
    // Counter-clockwise ring: the prims run against the drawing order.
    EXPECT_EQ(cls.prims[0].begin.x, 0.0);
    EXPECT_EQ(cls.prims[0].begin.y, 0.0);
    EXPECT_EQ(cls.prims[0].end.y, 4.0);
}

TEST_F(OutlinePrimsTest, AClickOnAnEndPointBelongsToTheNextSide) {
    BaseRSWCls cls;
    PickRectangle(cls);
    int32_t side = 0;
    EXPECT_TRUE(FindSegmentAtPoint(cls, {10, 0}, side));
    EXPECT_EQ(side, 2);
    EXPECT_TRUE(FindSegmentAtPoint(cls, {5, 0}, side));
    EXPECT_EQ(side, 1);
    EXPECT_TRUE(FindSegmentAtPoint(cls, {10, 3}, side));
    EXPECT_EQ(side, 2);
    EXPECT_FALSE(FindSegmentAtPoint(cls, {5, 1}, side));
    EXPECT_FALSE(FindOtherSegmentAtPoint(cls, {5, 0}, 1, side));
}

TEST_F(OutlinePrimsTest, PickingRefusesAdjacentAndEqualSidesAndSplitsTheRing) {
    BaseRSWCls cls;
    PickRectangle(cls);
    DGDriver::ClearQueueAndLog();
    auto& input = host->Input();
    input.QueuePoint(5, 0);   // side 1
    input.QueuePoint(5, 1);   // off the outline: 23
    input.QueuePoint(5, 0);   // the same side: 22
    input.QueuePoint(10, 2);  // adjacent: 24
    input.QueuePoint(0, 2);   // adjacent: 24
    input.QueuePoint(5, 4);   // side 3
    ASSERT_TRUE(BaseCls::InputPolygonStep(cls));
    const std::string log = DGDriver::LogText();
    EXPECT_NE(log.find("You must click on the selected fill."), std::string::npos);
    EXPECT_NE(log.find("different from the previous one"), std::string::npos);
    EXPECT_NE(log.find("not adjacent"), std::string::npos);
    EXPECT_EQ(DGDriver::Log().size(), 4u);
    ASSERT_GE(input.Inputs().size(), 2u);
    EXPECT_EQ(input.Inputs()[0].prompt, "Define the first side");
    EXPECT_EQ(input.Inputs()[1].prompt, "Define the last side");

    ASSERT_TRUE(SplitRingAtSides(cls));
    ASSERT_EQ(cls.chainA.GetCount(), 2);
    ASSERT_EQ(cls.chainB.GetCount(), 2);
    // The sides between: x = 10 on one chain, x = 0 on the other.
    EXPECT_EQ(cls.chainA[0].x, cls.chainA[1].x);
    EXPECT_EQ(cls.chainB[0].x, cls.chainB[1].x);
    EXPECT_NE(cls.chainA[0].x, cls.chainB[0].x);
    EXPECT_EQ(cls.prims.GetCount(), 4);  // the primitives stay
}

TEST_F(OutlinePrimsTest, ACancelEndsThePickingAndBadSidesDoNotSplit) {
    BaseRSWCls cls;
    PickRectangle(cls);
    // A cancel at either side ends the picking as the user's; an input the host fails is told apart.
    bool inputFailed = true;
    host->Input().QueueCancel();
    EXPECT_FALSE(BaseCls::InputPolygonStep(cls, &inputFailed));
    EXPECT_FALSE(inputFailed);
    host->Input().QueuePoint(5, 0);
    host->Input().QueueCancel();
    EXPECT_FALSE(BaseCls::InputPolygonStep(cls, &inputFailed));
    EXPECT_FALSE(inputFailed);
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    EXPECT_FALSE(BaseCls::InputPolygonStep(cls, &inputFailed));
    EXPECT_TRUE(inputFailed);
    host->ClearFailures();
    host->Input().QueuePoint(5, 0);
    host->Input().QueueCancel();
    EXPECT_FALSE(BaseCls::InputPolygonStep(cls));
    cls.firstSide = 1;
    cls.lastSide = 2;  // adjacent: no edge between them
    EXPECT_FALSE(SplitRingAtSides(cls));
    cls.lastSide = 9;
    EXPECT_FALSE(SplitRingAtSides(cls));
    cls.lastSide = 1;
    EXPECT_FALSE(SplitRingAtSides(cls));
    EXPECT_EQ(cls.chainA.GetCount(), 0);
}

TEST_F(OutlinePrimsTest, APickFillWithAnArcComesBackAsPrimitives) {
    BaseCls cls;
    PrimPoly line = {};
    line.isLine = 1;
    PrimPoly arc = {};
    const PrimPoly sides[] = {
        [&] {
            PrimPoly p = line;
            p.begin = {0, 0};
            p.end = {10, 0};
            return p;
        }(),
        [&] {
            PrimPoly p = arc;
            p.begin = {10, 0};
            p.end = {10, 4};
            p.mid = {12, 2};
            return p;
        }(),
        [&] {
            PrimPoly p = line;
            p.begin = {10, 4};
            p.end = {0, 4};
            return p;
        }(),
        [&] {
            PrimPoly p = line;
            p.begin = {0, 4};
            p.end = {0, 0};
            return p;
        }(),
    };
    for (const PrimPoly& p : sides) cls.polyPrims.Insert(p);
    {
        ElementEvents::ModuleCall call(host->Events());
        ASSERT_EQ(Command([&] { return MakePickFill(cls, 5) ? NoError : GSErrCode(-1); }), NoError);
    }
    EXPECT_TRUE(cls.pickHead.guid == APINULLGuid);
    GS::Array<API_Guid> fills;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_HatchID, &fills), NoError);
    EXPECT_EQ(fills.GetSize(), 0u);
    ASSERT_EQ(cls.prims.GetCount(), 4);
    int32_t arcs = 0;
    for (int32_t i = 0; i < 4; ++i)
        if (cls.prims[i].isLine == 0) {
            ++arcs;
            EXPECT_NEAR(cls.prims[i].mid.x, 12.0, 1e-9);
            EXPECT_NEAR(cls.prims[i].mid.y, 2.0, 1e-9);
        }
    EXPECT_EQ(arcs, 1);
}

}  // namespace outline_prims_test
