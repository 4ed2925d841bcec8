// A road placed end to end through the stand-in host: a drawn polyline becomes a chain, is offset to both sides,
// the user picks the two ends of the outline with clicks, a linked cut/fill/result set is placed over the terrain,
// and the user's copies and deletions reach the model update through the host's element events.
#include "ObjectSetFixture.hpp"

#include "elements/OutlinePrims.hpp"
#include "geometry/ElementOutline.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "geometry/OutlineOffset.hpp"

#include "DGDriver.hpp"

#include <cmath>
#include <vector>

namespace feature_plumbing_integration_test {

double DistanceToSegment(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double DistanceToPath(const API_Coord& p, const std::vector<API_Coord>& path) {
    double best = 1e300;
    for (size_t i = 0; i + 1 < path.size(); ++i) best = std::fmin(best, DistanceToSegment(p, path[i], path[i + 1]));
    return best;
}

// Which side of the path's nearest segment a point lies on: +1 left, -1 right.
int SideOf(const API_Coord& p, const std::vector<API_Coord>& path) {
    size_t best = 0;
    for (size_t i = 0; i + 1 < path.size(); ++i)
        if (DistanceToSegment(p, path[i], path[i + 1]) < DistanceToSegment(p, path[best], path[best + 1])) best = i;
    const API_Coord& a = path[best];
    const API_Coord& b = path[best + 1];
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) > 0 ? 1 : -1;
}

// Offset points lie 3 from the path; the mitre point of the outer bend (45 degrees) lies 3 / cos(22.5 deg) away.
void ExpectOffsetDistance(const API_Coord& p, const std::vector<API_Coord>& path) {
    const double d = DistanceToPath(p, path);
    const double mitre = 3.0 / std::cos(3.14159265358979323846 / 8.0);
    EXPECT_TRUE(std::fabs(d - 3.0) < 1e-6 || std::fabs(d - mitre) < 1e-6) << p.x << "," << p.y << ": " << d;
}

API_Coord MidOf(const PrimPoly& p) { return {(p.begin.x + p.end.x) / 2, (p.begin.y + p.end.y) / 2}; }

class FeaturePlumbingTest : public ObjectSetTest {};

TEST_F(FeaturePlumbingTest, PolylineToPickedEdgesToLinkedSetKeptInStepByTheModelUpdate) {
    // --- the drawn path, read into a chain and offset by 3 to both sides
    const std::vector<API_Coord> path = {{0, 0}, {20, 0}, {30, 10}};
    API_Guid polyline = {};
    ASSERT_EQ(
        Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {20, 0, 0}, {30, 10, 0}}, false, 1, "path", &polyline),
        NoError);
    BaseRSWCls road;
    uint8_t closed = 1;
    ASSERT_TRUE(ReadElementPolygon(polyline, road.points3D, road.points2D, road.polyPrims, closed));
    EXPECT_EQ(closed, 0);
    ASSERT_EQ(road.polyPrims.GetCount(), 2);
    QV_List<PrimPoly> pathPrims = road.polyPrims;
    OffsetPolygonWithArcs(pathPrims, 0, 3.0, road.leftPrims, 1);
    OffsetPolygonWithArcs(pathPrims, 1, 3.0, road.rightPrims, 1);
    ASSERT_GT(road.leftPrims.GetCount(), 0);
    ASSERT_GT(road.rightPrims.GetCount(), 0);
    for (const QV_List<PrimPoly>* edge : {&road.leftPrims, &road.rightPrims})
        for (int32_t i = 0; i < edge->GetCount(); ++i) {
            ExpectOffsetDistance((*edge)[i].begin, path);
            ExpectOffsetDistance((*edge)[i].end, path);
        }

    // --- the road's outline as a pick fill; the user clicks an adjacent side by mistake, then the two ends
    int32_t firstConnector = 0, lastConnector = 0;
    QV_List<PrimPoly> outline;
    BuildClosedOutlineFromEdges(road.leftPrims, road.rightPrims, outline, firstConnector, lastConnector);
    ASSERT_GT(firstConnector, 0);
    ASSERT_GT(lastConnector, 0);
    road.polyPrims = outline;
    {
        ElementEvents::ModuleCall call(host->Events());
        ASSERT_EQ(Command([&] { return MakePickFill(road, 3) ? NoError : GSErrCode(-1); }), NoError);
    }
    EXPECT_TRUE(road.pickHead.guid == APINULLGuid);  // the temporary fill is gone, and so is its head
    const int32_t n = road.segments.GetCount();
    ASSERT_EQ(n, outline.GetCount());
    const API_Coord firstEnd = MidOf(outline[firstConnector - 1]);
    const API_Coord lastEnd = MidOf(outline[lastConnector - 1]);
    const API_Coord neighbour = MidOf(outline[firstConnector % n]);  // the side after the first end
    host->Input().QueuePoint(firstEnd.x, firstEnd.y);
    host->Input().QueuePoint(neighbour.x, neighbour.y);
    host->Input().QueuePoint(lastEnd.x, lastEnd.y);
    ASSERT_TRUE(BaseCls::InputPolygonStep(road));
    EXPECT_EQ(host->Input().PendingClicks(), 0u);
    ASSERT_FALSE(DGDriver::Log().empty());
    EXPECT_EQ(DGDriver::Log().back().kind, "alert");
    EXPECT_NE(DGDriver::LogText().find("not adjacent"), std::string::npos);

    ASSERT_TRUE(SplitRingAtSides(road));
    ASSERT_GE(road.chainA.GetCount(), 2);
    ASSERT_GE(road.chainB.GetCount(), 2);
    // The two chains are the two edges: each at the offset from the path, on opposite sides.
    const int sideA = SideOf({road.chainA[0].x, road.chainA[0].y}, path);
    for (int32_t i = 0; i < road.chainA.GetCount(); ++i) {
        ExpectOffsetDistance({road.chainA[i].x, road.chainA[i].y}, path);
        EXPECT_EQ(SideOf({road.chainA[i].x, road.chainA[i].y}, path), sideA);
    }
    for (int32_t i = 0; i < road.chainB.GetCount(); ++i) {
        ExpectOffsetDistance({road.chainB[i].x, road.chainB[i].y}, path);
        EXPECT_EQ(SideOf({road.chainB[i].x, road.chainB[i].y}, path), -sideA);
    }

    // --- the linked set over the terrain: placed, linked and found again, not taken for user copies
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet set = PlaceLinkedSet(mesh);
    EXPECT_TRUE(Alive(set.cut) && Alive(set.fill) && Alive(set.result));
    EXPECT_EQ(CountRoadObjects(), 3);
    GS::Array<API_Guid> operators;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperators(mesh, &operators), NoError);
    ASSERT_EQ(operators.GetSize(), 2u);
    uint32_t operation = 0;
    EXPECT_EQ(ACAPI_Element_SolidLink_GetOperation(mesh, set.cut, &operation), NoError);
    EXPECT_EQ(operation, APISolid_SubtractUpwards);
    EXPECT_EQ(ACAPI_Element_SolidLink_GetOperation(mesh, set.fill, &operation), NoError);
    EXPECT_EQ(operation, APISolid_Add);
    EXPECT_EQ(Number(set.cut, "IDresult"), 0.0);
    EXPECT_EQ(Number(set.result, "IDfill"), 0.0);
    QV_List<API_Element> found;
    found.Insert(Get(set.result));
    ASSERT_TRUE(CollectPartners(found, ElemKind_Road));
    ASSERT_EQ(found.GetCount(), 3);
    EXPECT_TRUE(found[1].header.guid == set.cut);
    EXPECT_TRUE(found[2].header.guid == set.fill);

    // --- the user moves the result object: its partners follow
    API_ActTranPars drag = {};
    drag.typeID = APIEdit_Drag;
    drag.disp = {4.0, 1.0};
    const size_t undoBefore = host->Database().UndoTexts().size();
    const int32_t cutsBefore = host->Events().CascadeCuts();
    ASSERT_EQ(host->Events().UserEdit(set.result, drag), NoError);
    EXPECT_NEAR(Get(set.cut).object.pos.x, 9.0, 1e-9);
    EXPECT_NEAR(Get(set.fill).object.pos.y, 6.0, 1e-9);
    // The drag and the partners' upkeep: two undo steps, and the upkeep's own writes end the chain.
    EXPECT_EQ(host->Database().UndoTexts().size(), undoBefore + 2);

    EXPECT_EQ(host->Events().CascadeCuts(), cutsBefore);

    // --- the user copies the set: the cut and fill copies go, the result copy stays unlinked
    API_Guid copies[3] = {};
    ASSERT_EQ(host->Events().UserCopy(set.cut, {0, 30, 0}, "copy cut", &copies[0]), NoError);
    ASSERT_EQ(host->Events().UserCopy(set.fill, {0, 30, 0}, "copy fill", &copies[1]), NoError);
    ASSERT_EQ(host->Events().UserCopy(set.result, {0, 30, 0}, "copy result", &copies[2]), NoError);
    EXPECT_FALSE(Alive(copies[0]));
    EXPECT_FALSE(Alive(copies[1]));
    ASSERT_TRUE(Alive(copies[2]));
    EXPECT_EQ(Number(copies[2], "IDcut"), -1.0);
    EXPECT_EQ(Number(copies[2], "IDfill"), -1.0);
    EXPECT_EQ(Record(copies[2]).CutGuid, Text(APINULLGuid));
    EXPECT_TRUE(host->Events().IsObserved(copies[2]));
    // The original set still names its own members.
    EXPECT_EQ(Record(set.cut).ResultGuid, Text(set.result));
    EXPECT_EQ(Record(set.fill).ResultGuid, Text(set.result));
    EXPECT_EQ(CountRoadObjects(), 4);

    // --- deleting the unlinked copy leaves the complete set alone
    ASSERT_EQ(host->Events().UserDelete(copies[2]), NoError);
    EXPECT_TRUE(Alive(set.cut) && Alive(set.fill) && Alive(set.result));
    EXPECT_EQ(CountRoadObjects(), 3);

    // --- the user deletes the fill object: the rest of the broken set goes too
    ASSERT_EQ(host->Events().UserDelete(set.fill), NoError);
    EXPECT_FALSE(Alive(set.cut));
    EXPECT_FALSE(Alive(set.result));
    EXPECT_EQ(CountRoadObjects(), 0);
    EXPECT_TRUE(Alive(mesh));
}

}  // namespace feature_plumbing_integration_test
