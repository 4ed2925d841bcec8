// Outlines read from and written to host elements through the stand-in project database.
#include "InProcessHost.hpp"
#include "MemoryDriver.hpp"
#include "OffsetTestUtil.hpp"
#include "geometry/ElementOutline.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "geometry/PolygonExchange.hpp"

#include <cmath>
#include <vector>

namespace element_polygon_test {

class ElementPolygonTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }
    ProjectDatabase& Db() { return host->Database(); }

    // Places an element of the type with the given polygon (coordinates from index 1, contour ends, arcs).
    API_Guid Place(API_ElemTypeID type, const std::vector<API_Coord>& coords, const std::vector<int32_t>& ends,
                   const std::vector<API_PolyArc>& arcs = {}) {
        API_Element e = {};
        e.header.typeID = type;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        StoredMemo memo;
        std::vector<API_Coord> c{{0, 0}};
        c.insert(c.end(), coords.begin(), coords.end());
        memo.coords = c;
        std::vector<int32_t> p{0};
        p.insert(p.end(), ends.begin(), ends.end());
        memo.pends = p;
        memo.parcs = arcs;
        SetElementPolygonCounts(e, int32_t(coords.size()), int32_t(arcs.size()), int32_t(ends.size()));
        EXPECT_EQ(Db().PlaceElement(&e, memo, "", "Place"), NoError);
        return e.header.guid;
    }
    API_Elem_Head Head(const API_Guid& g) {
        API_Elem_Head h = {};
        h.guid = g;
        return h;
    }
};

bool Near(const API_Coord& a, double x, double y) { return std::fabs(a.x - x) < 1e-9 && std::fabs(a.y - y) < 1e-9; }

TEST_F(ElementPolygonTest, PolylineWithRepeatedPointAndArcBecomesChain) {
    const API_Guid g = Place(API_PolyLineID, {{0, 0}, {10, 0}, {10, 0}, {20, 0}, {20, 10}}, {5}, {{4, 5, M_PI / 2}});
    QV_List<QV_Coord3DLong> p3;
    QV_List<QV_CoordLong> p2;
    QV_List<PrimPoly> prims;
    uint8_t closed = 9;
    ASSERT_TRUE(ReadElementPolygon(g, p3, p2, prims, closed));
    EXPECT_EQ(0, closed);
    ASSERT_EQ(3, prims.GetCount());  // no segment for the repeated point
    EXPECT_EQ(1, prims[0].isLine);
    EXPECT_EQ(1, prims[1].isLine);
    ASSERT_EQ(0, prims[2].isLine);
    EXPECT_TRUE(Near(prims[2].centre, 15, 5));
    EXPECT_NEAR(5.0 * std::sqrt(2.0), prims[2].radius, 1e-9);
    // The middle point lies halfway along the arc, on its circle.
    EXPECT_NEAR(prims[2].radius, OffsetTest::Distance(prims[2].mid, prims[2].centre), 1e-9);
    EXPECT_NEAR(OffsetTest::Distance(prims[2].mid, prims[2].begin), OffsetTest::Distance(prims[2].mid, prims[2].end),
                1e-9);
    ASSERT_EQ(5, p2.GetCount());
    const int32_t codes[] = {0, 0, 0, 2, 0};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(codes[i], p2[i].code);
        EXPECT_EQ(p2[i].x, p3[i].x);
        EXPECT_EQ(0.0, p3[i].z);
    }
    EXPECT_EQ(p2[3].x, prims[2].mid.x);
}

TEST_F(ElementPolygonTest, ClosedOutlineAndOnlyTheOuterContour) {
    // A slab with a hole: the outer contour only, and it closes.
    const API_Guid slab =
        Place(API_SlabID, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {3, 3}, {6, 3}, {6, 6}, {3, 3}}, {5, 9});
    QV_List<QV_Coord3DLong> p3;
    QV_List<QV_CoordLong> p2;
    QV_List<PrimPoly> prims;
    uint8_t closed = 0;
    ASSERT_TRUE(ReadElementPolygon(slab, p3, p2, prims, closed));
    EXPECT_EQ(1, closed);
    EXPECT_EQ(4, prims.GetCount());
    EXPECT_EQ(5, p3.GetCount());

    QV_Poly poly;
    ASSERT_TRUE(poly.ReadFromElement(Head(slab), 0));
    EXPECT_EQ(4, poly.VertexCount());
    EXPECT_TRUE(poly.IsClosed());
    EXPECT_EQ(0, poly.clockwise);
    ASSERT_TRUE(poly.ReadFromElement(Head(slab), 1));
    EXPECT_EQ(1, poly.clockwise);
    EXPECT_TRUE(Near(poly.vertices[0], 0, 0));
    EXPECT_TRUE(Near(poly.vertices[1], 0, 10));

    // An open polyline is read as a chain.
    const API_Guid line = Place(API_PolyLineID, {{0, 0}, {5, 0}, {5, 5}}, {3});
    ASSERT_TRUE(poly.ReadFromElement(Head(line), 0));
    EXPECT_EQ(3, poly.VertexCount());
    EXPECT_EQ(2, poly.CodeCount());
}

TEST_F(ElementPolygonTest, ElementsWithoutPolygonOrUnknown) {
    API_Guid hotspot = {};
    ASSERT_EQ(Db().PlaceHotspot({1, 1}, 1, "", &hotspot), NoError);
    QV_List<QV_Coord3DLong> p3;
    QV_List<QV_CoordLong> p2;
    QV_List<PrimPoly> prims;
    p2.Insert(QV_CoordLong{1, 1, 0});
    uint8_t closed = 1;
    EXPECT_FALSE(ReadElementPolygon(hotspot, p3, p2, prims, closed));
    EXPECT_TRUE(p2.IsEmpty());
    EXPECT_EQ(0, closed);
    API_Guid unknown = {};
    unknown.time_low = 0x1234;
    EXPECT_FALSE(ReadElementPolygon(unknown, p3, p2, prims, closed));
    QV_Poly poly;
    EXPECT_FALSE(poly.ReadFromElement(Head(hotspot), 0));
    EXPECT_FALSE(poly.ReadFromElement(Head(unknown), 0));
    EXPECT_EQ(0, poly.VertexCount());
}

TEST_F(ElementPolygonTest, FillElementMemoWritesOneContourTheHostAccepts) {
    // A ring of four vertices whose second edge is an arc.
    QV_Poly ring;
    for (const API_Coord& p : {API_Coord{0, 0}, API_Coord{10, 0}, API_Coord{10, 10}, API_Coord{0, 10}})
        ring.AddPoint(p, false, 1e-9);
    ring.AddPoint(API_Coord{0, 0}, true, 1e-9);
    ring.arcs.Insert(QV_Arc::FromThreePoints(API_Coord{10, 0}, API_Coord{10, 10}, API_Coord{13, 5}));
    ring.codes[1] = 0;
    ring.UpdateClockwise();

    API_Element e = {};
    e.header.typeID = API_HatchID;
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetDefaults(&e, &memo), NoError);
    ASSERT_TRUE(ring.FillElementMemo(e, memo));
    int32_t nCoords, nArcs, nSubPolys;
    ASSERT_TRUE(GetElementPolygonCounts(e, nCoords, nArcs, nSubPolys));
    EXPECT_EQ(5, nCoords);
    EXPECT_EQ(1, nArcs);
    EXPECT_EQ(1, nSubPolys);
    EXPECT_EQ(0, (*memo.pends)[0]);
    EXPECT_EQ(5, (*memo.pends)[1]);
    EXPECT_TRUE(Near((*memo.coords)[5], 0, 0));
    EXPECT_EQ(4u, (*memo.vertexIDs)[0]);
    EXPECT_EQ(1u, (*memo.vertexIDs)[5]);
    EXPECT_EQ(2, (*memo.parcs)[0].begIndex);
    EXPECT_EQ(3, (*memo.parcs)[0].endIndex);
    EXPECT_NEAR(2.0 * std::atan2(3.0, 5.0) * 2.0, (*memo.parcs)[0].arcAngle, 1e-9);  // outwards, counter-clockwise
    const GSErrCode err = ACAPI_CallUndoableCommand(GS::UniString("Fill"),
                                                    [&]() -> GSErrCode { return ACAPI_Element_Create(&e, &memo); });
    ACAPI_DisposeElemMemoHdls(&memo);
    ASSERT_EQ(NoError, err);

    // Read back: the same ring.
    QV_Poly back;
    ASSERT_TRUE(back.ReadFromElement(e.header, 0));
    ASSERT_EQ(4, back.VertexCount());
    ASSERT_TRUE(back.IsClosed());
    ASSERT_NE(nullptr, back.EdgeArc(1));
    EXPECT_NEAR(ring.EdgeArc(1)->radiusX, back.EdgeArc(1)->radiusX, 1e-9);
    EXPECT_NEAR(ring.SignedArea(), back.SignedArea(), 1e-9);
}

TEST_F(ElementPolygonTest, FillElementMemoChainsPerEdgeRecordsAndFailures) {
    MemoryDriver::ScopedReset reset;
    QV_Poly chain;
    for (const API_Coord& p : {API_Coord{0, 0}, API_Coord{5, 0}, API_Coord{5, 5}}) chain.AddPoint(p, false, 1e-9);
    API_Element e = {};
    e.header.typeID = API_PolyLineID;
    API_ElementMemo memo = {};
    // Per-edge records already there: two edge trims, two side materials.
    memo.edgeTrims = reinterpret_cast<API_EdgeTrim**>(BMAllocateHandle(2 * sizeof(API_EdgeTrim), ALLOCATE_CLEAR, 0));
    (*memo.edgeTrims)[1].sideAngle = 0.5;
    memo.sideMaterials = reinterpret_cast<API_OverriddenAttribute*>(
        BMAllocatePtr(2 * sizeof(API_OverriddenAttribute), ALLOCATE_CLEAR, 0));
    memo.sideMaterials[1].attributeIndex = 7;
    ASSERT_TRUE(chain.FillElementMemo(e, memo));
    EXPECT_EQ(3, e.polyLine.poly.nCoords);
    EXPECT_EQ(0, e.polyLine.poly.nArcs);
    EXPECT_TRUE(Near((*memo.coords)[3], 5, 5));
    EXPECT_EQ(3u, (*memo.vertexIDs)[0]);
    EXPECT_EQ(3u, (*memo.vertexIDs)[3]);
    ASSERT_EQ(GSSize(4 * sizeof(API_EdgeTrim)), BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.edgeTrims)));
    EXPECT_EQ(0.5, (*memo.edgeTrims)[3].sideAngle);
    ASSERT_EQ(GSSize(4 * sizeof(API_OverriddenAttribute)),
              BMGetPtrSize(reinterpret_cast<GSConstPtr>(memo.sideMaterials)));
    EXPECT_EQ(7, memo.sideMaterials[3].attributeIndex);

    // A failed allocation leaves element and memo as they were.
    API_Coord** before = memo.coords;
    QV_Poly longer(chain);
    longer.AddPoint(API_Coord{0, 5}, false, 1e-9);
    for (int64_t ok = 0; ok < 8; ++ok) {
        MemoryDriver::FailAllocationsAfter(ok);
        EXPECT_FALSE(longer.FillElementMemo(e, memo)) << ok;
        MemoryDriver::Reset();
        EXPECT_EQ(before, memo.coords);
        EXPECT_EQ(3, e.polyLine.poly.nCoords);
    }
    // Nothing to write: no polygon, and a two-vertex ring is written as its segment.
    EXPECT_FALSE(QV_Poly().FillElementMemo(e, memo));
    QV_Poly two;
    two.AddPoint(API_Coord{0, 0}, false, 1e-9);
    two.AddPoint(API_Coord{4, 0}, false, 1e-9);
    two.codes.Insert(-1);
    ASSERT_TRUE(two.FillElementMemo(e, memo));
    EXPECT_EQ(2, e.polyLine.poly.nCoords);
    EXPECT_TRUE(Near((*memo.coords)[2], 4, 0));
    ACAPI_DisposeElemMemoHdls(&memo);
}

}  // namespace element_polygon_test
