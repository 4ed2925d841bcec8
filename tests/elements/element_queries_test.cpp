// Element queries against the stand-in project: memo outlines, fill creation, mesh levels, finding by GUID,
// constraint-line crossings, terrain-point vertices, the placement field set and zero-padded numbers.
#include "ProjectHost.hpp"
#include "elements/AcceptedElements.hpp"
#include "elements/ElementQueries.hpp"

#include <cmath>

namespace element_queries_test {

class ElementQueriesTest : public ProjectHostTest {
protected:
    API_Element Rec(const API_Guid& g) { return Db().Find(g)->record; }
};

TEST_F(ElementQueriesTest, FirstContourOnlyClosedAndOpenPolylinesKeepTheirLastPoint) {
    API_Element e = {};
    e.header.typeID = API_HatchID;
    ASSERT_EQ(Db().GetDefaults(&e, nullptr), NoError);
    StoredMemo memo;
    memo.coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {10, 0}, {10, 10}, {0, 0}, {2, 2}, {3, 2}, {3, 3}, {2, 2}};
    memo.pends = std::vector<int32_t>{0, 4, 8};
    memo.parcs = std::vector<API_PolyArc>();
    e.hatch.poly = {8, 2, 0, 0};
    ASSERT_EQ(Db().PlaceElement(&e, memo, "", "Place"), NoError);
    QV_List<API_Coord> ring;
    ASSERT_TRUE(ReadElementMemoCoords2D(e, ring));
    ASSERT_EQ(ring.GetCount(), 4);  // the outer contour, closed, no hole
    EXPECT_EQ(ring[2].y, 10.0);
    EXPECT_EQ(ring[3].x, 0.0);

    API_Guid open = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, false, 1, "P", &open),
              NoError);
    QV_List<API_Coord3D> path;
    path.Insert({9, 9, 9});  // emptied first
    ASSERT_TRUE(ReadElementMemoCoords3D(Rec(open), path));
    ASSERT_EQ(path.GetCount(), 4);
    EXPECT_EQ(path[2].x, 5.0);  // the last point is kept
    EXPECT_EQ(path[2].y, 5.0);
    EXPECT_EQ(path[3].x, 0.0);  // and the ring closed after it
    for (const API_Coord3D& p : path) EXPECT_EQ(p.z, 0.0);

    API_Element missing = {};
    EXPECT_FALSE(ReadElementMemoCoords2D(missing, ring));
    EXPECT_EQ(ring.GetCount(), 0);
    const API_Guid hot = PlaceTerrainPoint({1, 1}, 0);
    EXPECT_TRUE(ReadElementMemoCoords2D(Rec(hot), ring));  // no outline to read
    EXPECT_EQ(ring.GetCount(), 0);
}

TEST_F(ElementQueriesTest, FillFromPointsWithItsAttributes) {
    const int32_t layer = Layer("Areas", 0);
    Db().SetStory(1, 3.0, "First");
    FillAttributes attrs = {{1, int16_t(layer), 5, 6, 7, 3, 2}, QV_String("Plot 12")};
    QV_List<API_Coord3D> points;
    for (const API_Coord3D& p : {API_Coord3D{0, 0, 4}, {6, 0, 4}, {6, 3, 4}, {0, 3, 4}, {0, 0, 4}}) points.Insert(p);
    API_Element made = {};
    EXPECT_EQ(CreateElementFromCoords(points, attrs, made), 0);  // outside an undoable command
    int32_t result = 0;
    ASSERT_EQ(Command([&] {
                  result = CreateElementFromCoords(points, attrs, made);
                  return NoError;
              }),
              NoError);
    ASSERT_EQ(result, 1);
    const StoredElement* fill = Db().Find(made.header.guid);
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->record.header.typeID, API_HatchID);
    EXPECT_EQ(fill->record.header.floorInd, 1);
    EXPECT_EQ(fill->record.header.layer, layer);
    EXPECT_EQ(fill->record.Get().hatch.contPen, 5);
    EXPECT_EQ(fill->record.Get().hatch.fillPen, 6);
    EXPECT_EQ(fill->record.Get().hatch.fillBGPen, 7);
    EXPECT_EQ(fill->record.Get().hatch.fillInd, 3);
    EXPECT_EQ(fill->record.Get().hatch.drawOrder, 2);
    ASSERT_TRUE(fill->memo->elemInfoString.has_value());
    EXPECT_EQ(*fill->memo->elemInfoString, u"Plot 12");
    QV_List<API_Coord> back;
    ASSERT_TRUE(ReadElementMemoCoords2D(fill->record, back));
    ASSERT_EQ(back.GetCount(), 5);  // the ring as given, closed once
    EXPECT_EQ(back[2].x, 6.0);

    QV_List<API_Coord> flat;
    for (const API_Coord& p : {API_Coord{0, 0}, {1, 0}, {1, 1}}) flat.Insert(p);
    ASSERT_EQ(Command([&] {
                  result = CreateElementFromCoords2D(flat, attrs, made);
                  return NoError;
              }),
              NoError);
    EXPECT_EQ(result, 1);
}

TEST_F(ElementQueriesTest, MeshIsLiftedOnlyWhenItsLowestPointIsBelowZero) {
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_MeshID, {{0, 0, -3}, {5, 0, 2}, {5, 5, 1}}, true, 1, "M", &mesh), NoError);
    API_Element rec = Rec(mesh);
    uint8_t changed = 9;
    ASSERT_TRUE(AdjustMeshLevel(rec, nullptr, changed));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(rec.mesh.level, 4.0);  // the lowest point at 1 above the base
    ASSERT_TRUE(AdjustMeshLevel(rec, nullptr, changed));
    EXPECT_EQ(changed, 0);
    const double low = -0.5;
    rec.mesh.level = 0.5;  // level + lowest = 0: not below
    ASSERT_TRUE(AdjustMeshLevel(rec, &low, changed));
    EXPECT_EQ(changed, 0);
    API_Element gone = rec;
    gone.header.guid = APINULLGuid;
    EXPECT_FALSE(AdjustMeshLevel(gone, nullptr, changed));
}

TEST_F(ElementQueriesTest, ElementsAreFoundByGuidOverEveryType) {
    const API_Guid fill = PlaceFill("F");
    const API_Guid obj = PlaceObject(API_ObjectID, libA, "O");
    EXPECT_EQ(FindElementByGuidAnyType(fill), 1);
    EXPECT_EQ(FindElementByGuidAnyType(obj), 1);
    API_Guid none = fill;
    none.time_low ^= 0xFFFF;
    EXPECT_EQ(FindElementByGuidAnyType(none), 0);
    EXPECT_EQ(FindElementByGuidAnyType(APINULLGuid), 0);
    // A type the host would not list may hold the element: gone is said only when every type was listed. Each
    // list refused in turn, alone and from there on: a placed element is found or unknown, an absent one unknown.
    bool unknown = false;
    for (int32_t passes = 0; passes < int32_t(API_LastElemTypeID); ++passes)
        for (const int32_t answers : {1, -1}) {
            for (const API_Guid& g : {fill, obj, none}) {
                ASSERT_TRUE(host->FailCallAfter("Element_GetElemList", -1, APIERR_GENERAL, passes, answers));
                const int32_t found = FindElementByGuidAnyType(g);
                host->ClearFailures();
                EXPECT_NE(found, 0) << passes << " " << answers;
                EXPECT_EQ(found, g == none ? -1 : found) << passes << " " << answers;
                unknown = unknown || (g != none && found == -1);
            }
        }
    EXPECT_TRUE(unknown);
}

TEST_F(ElementQueriesTest, ConstraintLineCrossings) {
    PlaceConstraint({0, -5}, {0, 5});
    PlaceLine({20, -5}, {20, 5}, "");  // a plain line is no constraint
    EXPECT_EQ(SegmentCrossesConstraintLine({-1, 0}, {1, 0}, 0), 1);
    EXPECT_EQ(SegmentCrossesConstraintLine({19, 0}, {21, 0}, 0), 0);
    EXPECT_EQ(SegmentCrossesConstraintLine({0, 5}, {4, 9}, 0), 0);  // shares an end point only
    EXPECT_EQ(SegmentCrossesConstraintLine({1, 0}, {3, 0}, 0), 0);  // apart
    // A line the host would not list, filter or read may be the one crossed: no answer, whatever the segment.
    for (const char* function : {"Element_GetElemList", "Element_Filter", "Element_Get", "Element_GetUserData"}) {
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        EXPECT_EQ(SegmentCrossesConstraintLine({1, 0}, {3, 0}, 0), -1) << function;
        host->ClearFailures();
    }
    // With the 3D window in front the records are read in the floor plan when asked to switch.
    Window(APIWind_3DModelID);
    EXPECT_EQ(SegmentCrossesConstraintLine({-1, 0}, {1, 0}, 1), 1);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_NE(SegmentCrossesConstraintLine({-1, 0}, {1, 0}, 0), 1);  // the 3D model keeps no user data
}

TEST_F(ElementQueriesTest, OutlineKeepsTheVerticesThatCarryTerrainPoints) {
    QV_List<API_Coord3D> ring;
    for (const API_Coord3D& p : {API_Coord3D{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {0, 0, 0}}) ring.Insert(p);
    QV_List<API_Coord3D> none = ring;
    KeepOutlineVerticesAtPoints3D(none);
    EXPECT_EQ(none.GetCount(), 0);  // no terrain point in the project

    PlaceTerrainPoint({0, 0}, 11);
    PlaceTerrainPoint({4, 4}, 13);
    PlaceTerrainPoint({0, 4}, 14);
    PlaceTerrainPoint({9, 9}, 99);
    API_Guid plain = {};
    ASSERT_EQ(Db().PlaceHotspot({4, 0}, 1, "", &plain), NoError);  // a hotspot without record
    KeepOutlineVerticesAtPoints3D(ring);
    ASSERT_EQ(ring.GetCount(), 4);
    EXPECT_EQ(ring[0].z, 11.0);
    EXPECT_EQ(ring[1].x, 4.0);
    EXPECT_EQ(ring[1].z, 13.0);
    EXPECT_EQ(ring[2].z, 14.0);
    EXPECT_EQ(ring[3].z, 11.0);  // closed again

    // The plan form: codes, arcs and vertices still agree.
    QV_Poly poly;
    poly.vertices.Insert({0, 0});
    poly.vertices.Insert({4, 0});
    poly.vertices.Insert({4, 4});
    poly.vertices.Insert({0, 4});
    QV_Arc arc = QV_Arc::FromEndPointsAndAngle({4, 4}, {0, 4}, 1.0);
    poly.arcs.Insert(arc);
    for (const int32_t c : {-1, -1, 0, -1}) poly.codes.Insert(c);
    KeepOutlineVerticesAtPoints(poly);
    ASSERT_EQ(poly.VertexCount(), 3);
    ASSERT_EQ(poly.CodeCount(), 3);
    EXPECT_TRUE(poly.IsClosed());
    EXPECT_EQ(poly.codes[0], -1);  // (0,0) -> (4,4): (4,0) is gone, the edge is straight
    EXPECT_EQ(poly.codes[1], 0);   // (4,4) -> (0,4) keeps its arc
    ASSERT_EQ(poly.arcs.GetCount(), 1);
    EXPECT_TRUE(poly.IsValid());
}

TEST_F(ElementQueriesTest, PlacementFieldsAndTheirMask) {
    API_Element source = {};
    source.header.typeID = API_ObjectID;
    source.header.floorInd = 2;
    source.header.layer = 7;
    source.object.libInd = 3;
    source.object.pos = {5, 6};
    source.object.angle = 0.5;
    source.object.level = 1.25;
    source.object.fixedAngle = 1;
    source.object.filler1 = 9;
    source.object.ownerDistance = 2.0;
    API_Element a = {}, b = {};
    a.header.layer = 1;
    a.object.libInd = 4;
    CopyObjectPlacementFields(source, a, b);
    EXPECT_EQ(a.object.pos.y, 6.0);
    EXPECT_EQ(b.object.angle, 0.5);
    EXPECT_EQ(a.header.floorInd, 2);
    EXPECT_EQ(b.object.ownerDistance, 2.0);
    EXPECT_EQ(a.header.layer, 1);   // not the layer
    EXPECT_EQ(a.object.libInd, 4);  // nor the library part

    API_Element mask;
    std::memset(&mask, 0x33, sizeof mask);
    SetObjectPlacementMask(mask);
    EXPECT_EQ(mask.header.layer, 0);
    EXPECT_EQ(mask.object.libInd, 0);
    EXPECT_EQ(mask.header.floorInd, -1);
    EXPECT_EQ(mask.object.fixedAngle, 0xFF);
    EXPECT_EQ(mask.object.filler1, 0);  // the shared 16-bit place: first byte only
    EXPECT_EQ(mask.object.filler2[0], 0);
    EXPECT_EQ(mask.object.reserved[0], 0);

    // The pair moves a placed object without touching its parameters.
    const API_Guid obj = PlaceObject(API_ObjectID, libA, "O");
    API_Element target = Rec(obj);
    API_Element spare = {};
    source.header.floorInd = 0;
    CopyObjectPlacementFields(source, target, spare);
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&target, &mask, nullptr, 0); }), NoError);
    EXPECT_EQ(Rec(obj).object.pos.x, 5.0);
    EXPECT_EQ(Rec(obj).object.libInd, libA);
    EXPECT_EQ(Rec(obj).header.layer, 1);
}

TEST(FormatZeroPaddedNumberTest, FiveCharactersUpToFiveDigits) {
    QV_String s;
    EXPECT_EQ(FormatZeroPaddedNumber(s, 7).ToStdString(), "00007");
    EXPECT_EQ(FormatZeroPaddedNumber(s, 0).ToStdString(), "00000");
    EXPECT_EQ(FormatZeroPaddedNumber(s, 1234).ToStdString(), "01234");
    EXPECT_EQ(FormatZeroPaddedNumber(s, 99999).ToStdString(), "99999");
    EXPECT_EQ(FormatZeroPaddedNumber(s, 123456).ToStdString(), "123456");
    EXPECT_EQ(FormatZeroPaddedNumber(s, 4294967295u).ToStdString(), "4294967295");
}

// The elements a pass walks: every listed one without filter bits, the shown ones with them; a refused list, or a
// listed element the bitless filter refuses, is no answer at all.
TEST_F(ElementQueriesTest, ElementGuidsAreAllOrNothing) {
    const int32_t hidden = Layer("Hidden", 0);
    const API_Guid a = PlaceFill("A"), b = PlaceFill("B", hidden);
    Layer("Hidden", APILay_Hidden);
    GS::Array<API_Guid> guids;
    ASSERT_TRUE(CollectElementGuids(guids, API_HatchID, {}));
    EXPECT_EQ(guids.GetSize(), 2u);
    ASSERT_TRUE(CollectElementGuids(guids, API_HatchID, {ElementFilter_OnShownLayer}));
    ASSERT_EQ(guids.GetSize(), 1u);
    EXPECT_EQ(guids[0], a);
    (void)b;
    for (const char* function : {"Element_GetElemList", "Element_Filter"}) {
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        EXPECT_FALSE(CollectElementGuids(guids, API_HatchID, {})) << function;
        host->ClearFailures();
        EXPECT_EQ(guids.GetSize(), 0u) << function;
    }
}

}  // namespace element_queries_test
