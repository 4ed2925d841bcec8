// Views laid over placed objects of the add-on's library on the stand-in project: reading the link GUIDs and
// the operator, the one-parameter edits written back, unlinking with the element data record, the views'
// array exchanges over the library parts, and the fonts labels may use.
#include "ProjectHost.hpp"
#include "ParamRecords.hpp"

#include "elements/BaseCls.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/TextFonts.hpp"
#include "settings/PrefsLP.hpp"
#include "elements/HostFonts.hpp"

#include "MemoryDriver.hpp"

namespace view_attach_test {

const char* kZeroText = "00000000-0000-0000-0000-000000000000";

class ViewAttachTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
        road = Object("VY_ROAD", "road");
        terrain = PlaceMesh("terrain");
    }
    API_Element Object(const char* part, const std::string& name) {
        const int32_t lib = host->Project().libraries.FindByName(part, 0);
        EXPECT_GT(lib, 0) << part;
        return Element(PlaceObject(API_ObjectID, lib, name));
    }
    API_Element Element(const API_Guid& guid) {
        API_Element e = {};
        e.header.guid = guid;
        EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
        return e;
    }
    // A parameter of a placed object as the host keeps it.
    const StoredParam* Param(const API_Element& e, const char* name) {
        const StoredElement* stored = Db().Find(e.header.guid);
        if (stored == nullptr || !stored->memo->params) return nullptr;
        for (const StoredParam& p : *stored->memo->params)
            if (std::strcmp(p.record.name, name) == 0) return &p;
        return nullptr;
    }
    std::string RecordText(const API_Element& e, size_t offset) {
        const StoredElement* stored = Db().Find(e.header.guid);
        if (stored == nullptr || !stored->userData) return "<none>";
        return std::string(stored->userData->bytes.str().c_str() + offset);
    }
    std::string GuidString(const API_Guid& g) {
        QV_String t;
        GuidToText(t, g);
        return t.ToStdString();
    }
    // Stores a road's record linking it to the terrain and to two partners.
    void LinkRoad(const API_Guid& result, const API_Guid& cut) {
        ElemDescriptor d;
        d.ResultGuid = QV_String(GuidString(result).c_str());
        d.CutGuid = QV_String(GuidString(cut).c_str());
        d.FillGuid = QV_String("not a guid");
        d.TerrainGuid = QV_String(GuidString(terrain).c_str());
        d.OriginalGuid = QV_String("original");
        ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, 6, road.header) ? NoError : -1; }), NoError);
    }

    API_Element road = {};
    API_Guid terrain = {};
};

TEST_F(ViewAttachTest, LookupReadsTheLinksAndTheOperatorAndLeavesNoHandle) {
    const API_Guid other = PlaceHotspot("partner");
    LinkRoad(road.header.guid, other);
    RoadLP view(6);
    API_Guid result = other, cut = {}, fill = other;
    QV_String op;
    ASSERT_TRUE(BaseLP::AttachToElementLookup(view, road, &result, &cut, &fill, &op, 6, false));
    EXPECT_TRUE(result == road.header.guid);
    EXPECT_TRUE(cut == other);
    EXPECT_TRUE(fill == APINULLGuid);  // a text that is no GUID
    EXPECT_EQ(op.ToStdString(), "result");
    // The memo is gone: so are the view's records.
    EXPECT_EQ(view.params, nullptr);
    EXPECT_EQ(view.count, 0);
    double d = 0;
    EXPECT_FALSE(view.GetSetDouble(0, d, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NoRecords);

    API_Guid linked = {};
    ASSERT_TRUE(BaseLP::AttachToElement(view, 6, road, linked, false));
    EXPECT_TRUE(linked == terrain);
    // The record is read by the layout of the kind asked for: a plateau's has the terrain at the same place.
    ASSERT_TRUE(BaseLP::AttachToElement(view, 7, road, linked, false));
    EXPECT_TRUE(linked == terrain);

    double slope = 0;
    ASSERT_TRUE(BaseLP::AttachAndReadDouble(view, road, slope));
    EXPECT_NEAR(slope, 0.7853981633974483, 1e-15);  // "slope_SX_fill"
}

TEST_F(ViewAttachTest, AttachFailuresAnswerFalse) {
    RoadLP view(6);
    API_Guid linked = terrain;
    // No element data record yet.
    EXPECT_FALSE(BaseLP::AttachToElement(view, 6, road, linked, false));
    EXPECT_TRUE(linked == APINULLGuid);
    // No such element.
    API_Element ghost = road;
    ghost.header.guid.time_low ^= 0xFFFF;
    API_Guid result = terrain;
    EXPECT_FALSE(BaseLP::AttachToElementLookup(view, ghost, &result, nullptr, nullptr, nullptr, 6, false));
    EXPECT_TRUE(result == APINULLGuid);
    // The 3D model's database refuses memo reads.
    LinkRoad(road.header.guid, road.header.guid);
    Window(APIWind_3DModelID);
    EXPECT_FALSE(BaseLP::AttachToElement(view, 6, road, linked, true));
    Window(APIWind_FloorPlanID);
    EXPECT_TRUE(BaseLP::AttachToElement(view, 6, road, linked, true));
}

TEST_F(ViewAttachTest, OperatorIsReadForLinkedFeaturesOnly) {
    BaseIDLP building(9);
    API_Element ghost = {};  // never read
    QV_String op("old");
    EXPECT_TRUE(BaseIDLP::ReadOperatorOfElement(building, ghost, op));
    EXPECT_TRUE(op.IsEmpty());
    RoadLP view(6);
    ASSERT_TRUE(BaseIDLP::ReadOperatorOfElement(view, road, op));
    EXPECT_EQ(op.ToStdString(), "result");
    EXPECT_FALSE(BaseIDLP::ReadOperatorOfElement(view, ghost, op));
}

TEST_F(ViewAttachTest, OneParameterEditsAreWrittenBack) {
    RoadLP view(6);
    API_Element mesh = Element(terrain);
    mesh.mesh.skirtMat = 42;
    mesh.mesh.skirtLevel = -3.5;
    ASSERT_EQ(Command([&] {
                  return BaseIDLP::SetChangeLevel(view, road, false) &&
                          BaseIDLP::WriteSkirt(view, road, mesh, true, true) && BaseIDLP::ClearMacroName(view, road)
                      ? NoError
                      : -1;
              }),
              NoError);
    EXPECT_EQ(Param(road, "change_level")->record.value.real, 1.0);
    EXPECT_EQ(Param(road, "mesh_skirt_material")->record.value.real, 42.0);
    EXPECT_EQ(Param(road, "mesh_skirt")->record.value.real, -3.5);
    EXPECT_EQ(std::u16string(Param(road, "macro_name")->record.value.uStr), u"");
    EXPECT_EQ(view.params, nullptr);

    // Only the skirt level; then neither (no read at all, even of an element that does not exist).
    mesh.mesh.skirtMat = 7;
    mesh.mesh.skirtLevel = 1.0;
    ASSERT_EQ(Command([&] { return BaseIDLP::WriteSkirt(view, road, mesh, false, true) ? NoError : -1; }), NoError);
    EXPECT_EQ(Param(road, "mesh_skirt_material")->record.value.real, 42.0);
    EXPECT_EQ(Param(road, "mesh_skirt")->record.value.real, 1.0);
    API_Element ghost = {};
    EXPECT_TRUE(BaseIDLP::WriteSkirt(view, ghost, mesh, false, false));

    // Outside an undoable command the host refuses the change: false, object unchanged.
    EXPECT_FALSE(BaseIDLP::SetChangeLevel(view, road, true));
    EXPECT_EQ(Param(road, "change_level")->record.value.real, 1.0);
}

TEST_F(ViewAttachTest, UnlinkClearsTheParametersAndTheRecord) {
    LinkRoad(road.header.guid, road.header.guid);
    RoadLP view(6);
    ASSERT_EQ(Command([&] { return BaseIDLP::Unlink(view, road, 6) ? NoError : -1; }), NoError);
    for (const char* id : {"IDresult", "IDcut", "IDfill", "IDterrain"})
        EXPECT_EQ(Param(road, id)->record.value.real, -1.0);
    EXPECT_EQ(RecordText(road, 0), "C");
    EXPECT_EQ(RecordText(road, 203), kZeroText);
    EXPECT_EQ(RecordText(road, 253), kZeroText);
    EXPECT_EQ(RecordText(road, 303), kZeroText);
    EXPECT_EQ(RecordText(road, 353), kZeroText);
}

TEST_F(ViewAttachTest, ARefusedRecordChangeKeepsTheOldRecord) {
    LinkRoad(road.header.guid, road.header.guid);
    const std::string before = RecordText(road, 353);
    RoadLP view(6);
    ASSERT_TRUE(host->FailCall("Element_DeleteUserData", -1, APIERR_GENERAL));
    EXPECT_NE(Command([&] { return BaseIDLP::Unlink(view, road, 6) ? NoError : -1; }), NoError);
    host->ClearFailures();
    EXPECT_EQ(RecordText(road, 353), before);
}

TEST_F(ViewAttachTest, UnlinkFromTerrainKeepsThePartners) {
    const API_Guid other = PlaceHotspot("partner");
    LinkRoad(other, other);
    RoadLP view(6);
    ASSERT_EQ(Command([&] { return BaseIDLP::UnlinkFromTerrain(view, 6, road) ? NoError : -1; }), NoError);
    EXPECT_EQ(Param(road, "IDterrain")->record.value.real, -1.0);
    EXPECT_EQ(RecordText(road, 353), kZeroText);
    EXPECT_EQ(RecordText(road, 203), GuidString(other));
    EXPECT_EQ(RecordText(road, 403), "original");
}

TEST_F(ViewAttachTest, PaintOriginWithAndWithoutWriteBack) {
    API_Element area = Object("VY_PAINTER", "area");
    PaintLP view(8);
    API_Coord origin = {12.5, -4.0};
    ASSERT_EQ(Command([&] { return PaintLP::AttachAndExchange(view, area, origin, false) ? NoError : -1; }), NoError);
    EXPECT_EQ(Param(area, "origine")->record.dim2, 2);
    EXPECT_EQ(Param(area, "origine")->cells, std::string(16, '\0'));  // not written back
    ASSERT_EQ(Command([&] { return PaintLP::AttachAndExchange(view, area, origin, true) ? NoError : -1; }), NoError);
    double cells[2] = {};
    ASSERT_EQ(Param(area, "origine")->cells.size(), sizeof cells);
    std::memcpy(cells, Param(area, "origine")->cells.data(), sizeof cells);
    EXPECT_EQ(cells[0], 12.5);
    EXPECT_EQ(cells[1], -4.0);
}

TEST_F(ViewAttachTest, HandlesAreReleased) {
    LinkRoad(road.header.guid, road.header.guid);
    RoadLP view(6);
    const int64_t handles = MemoryDriver::LiveHandleCount();
    API_Guid g = {};
    QV_String op;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(BaseLP::AttachToElementLookup(view, road, &g, &g, &g, &op, 6, false));
        EXPECT_EQ(Command([&] { return BaseIDLP::Unlink(view, road, 6) ? NoError : -1; }), NoError);
    }
    op.Clear();
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
}

// --- the views' exchanges over the library parts' default lists

class LibraryViewTest : public ViewAttachTest {
protected:
    GSHandle Defaults(const char* part) {
        const int32_t lib = host->Project().libraries.FindByName(part, 0);
        GSHandle h = nullptr;
        EXPECT_TRUE(BaseLP::GetLibPartParams(lib, &h, nullptr, nullptr, nullptr)) << part;
        handles.push_back(h);
        return h;
    }
    void TearDown() override {
        for (GSHandle& h : handles) ReleaseParamRecords(&h);
        ViewAttachTest::TearDown();
    }
    std::vector<GSHandle> handles;
};

TEST_F(LibraryViewTest, ColouredAreasRoundTripOnThePainter) {
    PaintLP view(8);
    view.Attach(Defaults("VY_PAINTER"), true);
    QV_List<PaintInfo> none;
    ASSERT_TRUE(PaintLP::ExchangePolygon(view, none, LPMode_Get));  // the part's defaults: nodes [0]
    EXPECT_EQ(none.GetCount(), 0);

    QV_List<PaintInfo> areas;
    PaintInfo a;
    a.points.Insert({0, 0, 1});
    a.points.Insert({4, 0, 1});
    a.points.Insert({4, 3, 1});
    a.retino = 65;
    a.penna = 5;
    a.mat = 77;
    a.dislivello = 0.25;
    areas.Insert(a);
    ASSERT_TRUE(PaintLP::ExchangePolygon(view, areas, LPMode_Set));
    QV_List<int32_t> counts;
    counts.Insert(99);
    QV_List<API_Coord3D> points;
    ASSERT_TRUE(PaintLP::ExchangeAreaOutlines(view, counts, points, LPMode_Get));  // emptied first
    ASSERT_EQ(counts.GetCount(), 1);
    EXPECT_EQ(counts[0], 3);
    QV_List<PaintInfo> back;
    ASSERT_TRUE(PaintLP::ExchangePolygon(view, back, 5));  // any mode but 1 reads
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back[0].points[2].y, 3.0);
    EXPECT_EQ(back[0].retino, 65);
    EXPECT_EQ(back[0].penna, 5);
    EXPECT_EQ(back[0].dislivello, 0.25);

    API_Coord origin = {1, 2};
    ASSERT_TRUE(PaintLP::ExchangeOrigin(view, origin, LPMode_Set));
    API_Coord o = {};
    ASSERT_TRUE(PaintLP::ExchangeOrigin(view, o, LPMode_Get));
    EXPECT_EQ(o.y, 2.0);
}

TEST_F(LibraryViewTest, MarkersSlopeRangesContoursAndPreferences) {
    MarkerPtLP points;
    points.Attach(Defaults("VY_POINT_MARKER"), true);
    QV_List<API_Coord3D> coords;
    coords.Insert({1, 2, 3});
    coords.Insert({4, 5, 6});
    ASSERT_TRUE(MarkerPtLP::ExchangeDoubleList(points, coords, LPMode_Set));
    QV_List<QV_String> codes;
    codes.Insert(QV_String("A1"));
    codes.Insert(QV_String("A2"));
    ASSERT_TRUE(MarkerPtLP::ExchangeStringArrayA(points, codes, LPMode_Set));
    ASSERT_TRUE(MarkerPtLP::ExchangeStringArrayB(points, codes, LPMode_Set));
    QV_List<API_Coord3D> coordsBack;
    ASSERT_TRUE(MarkerPtLP::ExchangeDoubleList(points, coordsBack, LPMode_Get));
    ASSERT_EQ(coordsBack.GetCount(), 2);
    EXPECT_EQ(coordsBack[1].z, 6.0);
    QV_List<QV_String> comments;
    ASSERT_TRUE(MarkerPtLP::ExchangeStringArrayB(points, comments, LPMode_Get));
    ASSERT_EQ(comments.GetCount(), 2);
    EXPECT_EQ(comments[1].ToStdString(), "A2");

    MarkerLP levels;
    levels.Attach(Defaults("VY_LEVEL_MARKER"), true);
    API_Coord ref = {7, 8};
    ASSERT_TRUE(MarkerLP::ExchangePointRef(levels, ref, LPMode_Set));
    QV_List<double> grid;
    for (int i = 0; i < 6; ++i) grid.Insert(i * 0.5);
    int32_t rows = 3, columns = 2;
    ASSERT_TRUE(MarkerLP::ExchangeLevelGrid(levels, grid, rows, columns, LPMode_Set));
    QV_List<double> gridBack;
    rows = columns = 0;
    ASSERT_TRUE(MarkerLP::ExchangeLevelGrid(levels, gridBack, rows, columns, LPMode_Get));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(gridBack[5], 2.5);

    SlopeRangeLP slopes;
    slopes.Attach(Defaults("VY_SLOPE_RANGE"), true);
    QV_List<QV_Poly3D> polygons;
    QV_Poly3D p;
    p.points.Insert({1, 1, 1});
    polygons.Insert(p);
    p.points.Insert({2, 2, 2});
    polygons.Insert(p);
    ASSERT_TRUE(SlopeRangeLP::ExchangeMask(slopes, polygons));
    QV_List<double> mask;
    int32_t d1 = 0, d2 = 0;
    ASSERT_TRUE(slopes.GetSetDoubleArray(3, mask, d1, d2, LPMode_Get));
    EXPECT_EQ(d1, 2);
    EXPECT_EQ(d2, 6);
    QV_List<int32_t> indices;
    indices.Insert(3);
    ASSERT_TRUE(SlopeRangeLP::WriteIndices(slopes, indices));
    QV_List<double> slopeValues;
    slopeValues.Insert(0.1);
    slopeValues.Insert(0.2);
    ASSERT_TRUE(SlopeRangeLP::WriteSlopes(slopes, slopeValues));

    API_Coord3D colours[4] = {};
    ContourLineLP contours(5);
    contours.Attach(Defaults("VY_CONTOURLINES"), true);
    ASSERT_TRUE(ContourLineLP::ExchangeRgbColours(contours, colours, LPMode_Get));
    EXPECT_NEAR(colours[3].z, 0.01568627450980392, 1e-15);
    QV_List<CalculationVolume> volumes;
    ASSERT_TRUE(ExchangeStringList(contours, volumes, LPMode_Get));  // the part's one empty row
    EXPECT_EQ(volumes.GetCount(), 1);

    PrefsLP prefs;
    prefs.Attach(Defaults("VY_PREFS"), true);
    API_Coord3D prefColours[4] = {};
    ASSERT_TRUE(PrefsLP::ExchangeRgbColours(prefs, prefColours, LPMode_Get));  // stored as 12 by 1
    EXPECT_NEAR(prefColours[0].x, 0.5215686274509804, 1e-15);
    prefColours[0].x = 1.0;
    ASSERT_TRUE(PrefsLP::ExchangeRgbColours(prefs, prefColours, LPMode_Set));
    EXPECT_EQ(prefs.Record(prefs.FindParam(QV_String("show_depth_RGB")))->dim1, 4);
}

TEST_F(LibraryViewTest, RoadAndRailwayLists) {
    RoadLP road(6);
    road.Attach(Defaults("VY_ROAD"), true);
    QV_List<API_Coord3D> left;
    left.Insert({1, 1, 0});
    ASSERT_TRUE(RailwayLP::ExchangeDoubleListB(road, left, LPMode_Set));
    QV_List<API_Coord3D> right;
    ASSERT_TRUE(RailwayLP::ExchangeDoubleListA(road, right, LPMode_Get));  // the default 1 x 3 zero row
    EXPECT_EQ(right.GetCount(), 1);
    QV_List<API_Coord3D> leftBack;
    ASSERT_TRUE(RailwayLP::ExchangeDoubleListB(road, leftBack, LPMode_Get));
    EXPECT_EQ(leftBack[0].x, 1.0);

    RailwayLP railway(21);
    railway.Attach(Defaults("VY_RAILWAY"), true);
    API_Guid original = terrain;
    ASSERT_TRUE(RailwayLP::ExchangeLinkFlag(railway, original, LPMode_Set));
    int32_t flag = 7;
    ASSERT_TRUE(railway.GetSetInt(45, flag, LPMode_Get));
    EXPECT_EQ(flag, 0);

    ObstacleLP wall(15);
    wall.Attach(Defaults("VY_RETAINING_WALL"), true);
    QV_List<QV_CoordLong> line;
    line.Insert({1, 2, -1});
    ASSERT_TRUE(ObstacleLP::ExchangeArray(wall, line, LPMode_Set));
    QV_List<QV_CoordLong> lineBack;
    ASSERT_TRUE(ObstacleLP::ExchangeArray(wall, lineBack, LPMode_Get));
    ASSERT_EQ(lineBack.GetCount(), 1);
    EXPECT_EQ(lineBack[0].code, -1);
}

// --- fonts

TEST_F(ViewAttachTest, FontsOfTheDefaultTextsSet) {
    ASSERT_TRUE(FillHostFontList());
    ASSERT_EQ(HostFontList.GetCount(), 2);
    EXPECT_TRUE(FontExistsInDefaultSet(QV_String("arial")));
    EXPECT_TRUE(FontExistsInDefaultSet(QV_String("Courier New")));
    EXPECT_FALSE(FontExistsInDefaultSet(QV_String("Times")));
    API_FontType font = {};
    ASSERT_TRUE(GetTextDefaultRecord(&font));
    EXPECT_STREQ(font.head.name, "Arial");
    EXPECT_TRUE(GetTextDefaultRecord(nullptr));

    // A font of another set does not count.
    HostFontList[0].familyType = 3;
    EXPECT_FALSE(FontExistsInDefaultSet(QV_String("Arial")));
    ASSERT_TRUE(host->FailCall("Element_GetDefaults", -1, APIERR_GENERAL));
    EXPECT_FALSE(FontExistsInDefaultSet(QV_String("Courier New")));
    EXPECT_FALSE(GetTextDefaultRecord(&font));
    host->ClearFailures();
    HostFontList.Clear();
    EXPECT_FALSE(FontExistsInDefaultSet(QV_String("Arial")));
}

}  // namespace view_attach_test
