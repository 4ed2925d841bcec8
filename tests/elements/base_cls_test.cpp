// Element base classes: the state of a fresh class, the virtual slots, and reading a terrain mesh with its box,
// its data record and the frame polygons around it on the stand-in project.
#include "ProjectHost.hpp"

#include "earthworks/Basin.hpp"
#include "elements/BaseCls.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LibPartViews.hpp"
#include "geometry/MeshBody.hpp"

#include <cfloat>
#include <cmath>

namespace base_cls_test {

bool AllZero(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i] != 0) return false;
    return true;
}

// Area of a closed coded contour (straight edges; arcs are not used here).
double Area(const QV_List<QV_CoordLong>& c) {
    double a = 0;
    for (int32_t i = 0; i + 1 < c.GetCount(); ++i) a += c[i].x * c[i + 1].y - c[i + 1].x * c[i].y;
    return a / 2;
}

TEST(BaseClsState, AFreshClassIsEmptyWithUnsetBounds) {
    BaseRSWCls c;
    EXPECT_EQ(c.libPartIndex, -1);
    EXPECT_EQ(c.bounds.xMin, 1.79769313486231e308);
    EXPECT_NE(c.bounds.xMin, DBL_MAX);
    EXPECT_EQ(c.bounds.zMax, -1.79769313486231e308);
    EXPECT_FALSE(c.BoundsSet());
    EXPECT_TRUE(AllZero(&c.element, sizeof c.element));
    EXPECT_TRUE(AllZero(&c.pickHead, sizeof c.pickHead));
    EXPECT_EQ(c.frameFirst.GetCount() + c.frameSecond.GetCount() + c.points3D.GetCount() + c.points2D.GetCount() +
                  c.polyPrims.GetCount() + c.segments.GetCount() + c.prims.GetCount(),
              0);
    EXPECT_EQ(c.closedRing, 0);
    EXPECT_EQ(c.meshAttr, 0);
    EXPECT_EQ(c.firstSide, 0);
    EXPECT_EQ(c.lastSide, 0);
    EXPECT_EQ(c.leftPrims.GetCount() + c.rightPrims.GetCount() + c.chainA.GetCount() + c.chainB.GetCount(), 0);
    EXPECT_TRUE(c.descriptor.TerrainId.IsEmpty());

    MeshBody body;
    EXPECT_TRUE(AllZero(&body.element, sizeof body.element));
    EXPECT_EQ(body.bodyParts.GetCount(), 0);
}

TEST(BaseClsState, ArcPrimsAreCountedAndResetEmptiesEverything) {
    BaseCls c;
    PrimPoly line = {};
    line.isLine = 1;
    PrimPoly arc = {};
    c.polyPrims.Insert(line);
    c.polyPrims.Insert(arc);
    c.polyPrims.Insert(arc);
    EXPECT_EQ(c.CountArcPrims(), 2);
    c.libPartIndex = 4;
    c.closedRing = 1;
    c.bounds = {0, 0, 0, 1, 1, 1};
    c.Reset();
    EXPECT_EQ(c.polyPrims.GetCount(), 0);
    EXPECT_EQ(c.CountArcPrims(), 0);
    EXPECT_EQ(c.libPartIndex, -1);
    EXPECT_FALSE(c.BoundsSet());
}

TEST(BaseClsState, VirtualSlotsReachTheSubclass) {
    BaseCls base;
    Basin::BasinCls basin;
    BaseCls* classes[] = {&base, &basin};
    EXPECT_TRUE(classes[0]->CreateObject(QV_String("CL000"), 1, 0, nullptr, nullptr));
    EXPECT_FALSE(classes[1]->CreateObject(QV_String("CL000"), 1, 0, nullptr, nullptr));  // no tracer part known
    classes[1]->TransferSettings(true, false);
}

TEST(BaseClsState, GuidTexts) {
    QV_String t("x");
    GuidToText(t, APINULLGuid);
    EXPECT_EQ(t.ToStdString(), "00000000-0000-0000-0000-000000000000");
    const API_Guid g = {0x0A1B2C3D, 0x4E5F, 0x6071, {0x82, 0x93}, {0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};
    GuidToText(t, g);
    EXPECT_EQ(t.ToStdString(), "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");
}

class ReadElementTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        terrain = PlaceMesh("terrain");
        mesh.header.guid = terrain;
        ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);
    }
    void StoreTerrainRecord() {
        ElemDescriptor d;
        d.OwnGuid.ConvertFromString("0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");
        d.Serial = 7;
        d.Level1 = 1.5;
        ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Terrain, mesh.header) ? NoError : -1; }),
                  NoError);
    }
    API_Guid terrain = {};
    API_Element mesh = {};
};

TEST_F(ReadElementTest, TheTerrainMeshWithItsBoxRecordAndFrame) {
    StoreTerrainRecord();
    BaseCls c;
    ASSERT_TRUE(c.ReadElement(mesh, true));
    EXPECT_TRUE(c.element.header.guid == terrain);
    EXPECT_EQ(c.bounds.xMin, 0.0);
    EXPECT_EQ(c.bounds.xMax, 50.0);
    EXPECT_EQ(c.bounds.yMax, 40.0);
    EXPECT_EQ(c.zMin, c.bounds.zMin);
    EXPECT_EQ(c.zMax - c.zMin, 3.0);
    EXPECT_EQ(c.meshSkirt, mesh.mesh.skirtLevel);
    EXPECT_EQ(c.meshAttr, mesh.mesh.skirtMat);
    EXPECT_EQ(c.descriptor.TerrainId.ToStdString(), "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9_");
    EXPECT_EQ(c.descriptor.Level1, 1.5);

    // The two frame contours close and cover the ring between the outline and the rectangle 100 outside.
    ASSERT_GE(c.frameFirst.GetCount(), 4);
    ASSERT_GE(c.frameSecond.GetCount(), 4);
    EXPECT_EQ(c.frameFirst[c.frameFirst.GetCount() - 1].code, -1);
    const double ring = 250.0 * 240.0 - 50.0 * 40.0;
    EXPECT_NEAR(std::fabs(Area(c.frameFirst)) + std::fabs(Area(c.frameSecond)), ring, 1e-6);

    // Reading again replaces the frame, it does not append to it.
    const int32_t n = c.frameFirst.GetCount();
    ASSERT_TRUE(c.ReadElement(mesh, false));
    EXPECT_EQ(c.frameFirst.GetCount(), n);
}

TEST_F(ReadElementTest, FailuresAtEachStep) {
    BaseCls c;
    // The host cannot give the box: bounds stay unset.
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CABO")), APIERR_GENERAL));
    EXPECT_FALSE(c.ReadElement(mesh, false));
    EXPECT_FALSE(c.BoundsSet());
    host->ClearFailures();

    // No element data record.
    EXPECT_FALSE(c.ReadElement(mesh, false));
    EXPECT_TRUE(c.BoundsSet());

    // An element without an outline.
    StoreTerrainRecord();
    const API_Guid spot = PlaceHotspot("spot");
    API_Element hotspot = {};
    hotspot.header.guid = spot;
    ASSERT_EQ(ACAPI_Element_Get(&hotspot), NoError);
    ElemDescriptor d;
    ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, ElemKind_Terrain, hotspot.header) ? NoError : -1; }),
              NoError);
    EXPECT_FALSE(c.ReadElement(hotspot, false));
    ASSERT_TRUE(c.ReadElement(mesh, false));
}

TEST_F(ReadElementTest, CommonParametersOfEachKind) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    StoreTerrainRecord();
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.skirtMat = 21; });
    ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);
    BaseCls c;
    ASSERT_TRUE(c.ReadElement(mesh, false));
    std::vector<GSHandle> handles;
    const auto defaults = [&](const char* part) {
        GSHandle h = nullptr;
        EXPECT_TRUE(
            BaseLP::GetLibPartParams(host->Project().libraries.FindByName(part, 0), &h, nullptr, nullptr, nullptr));
        handles.push_back(h);
        return h;
    };
    const auto cutRows = [](BaseLP& view) {
        QV_List<double> counts;
        int32_t d1 = 0, d2 = 0;
        EXPECT_TRUE(view.GetSetDoubleArrayByName(QV_String("cuts_enne"), counts, d1, d2, LPMode_Get));
        return counts.GetCount() == 2 ? int32_t(counts[0]) : -1;
    };

    RoadLP road(0);
    road.Attach(defaults("VY_ROAD"), true);
    ASSERT_TRUE(c.WriteCommonLPParams(road, ElemKind_Road));
    EXPECT_EQ(road.kind, ElemKind_Road);
    int32_t material = 0;
    double low = 0, high = 0;
    ASSERT_TRUE(road.GetSetLong(9, material, LPMode_Get));
    ASSERT_TRUE(road.GetSetDouble(11, low, LPMode_Get));
    ASSERT_TRUE(road.GetSetDouble(12, high, LPMode_Get));
    EXPECT_EQ(material, 21);
    EXPECT_EQ(low, c.zMin);
    EXPECT_EQ(high, c.zMax);
    EXPECT_EQ(cutRows(road), c.frameFirst.GetCount());

    // The coloured area stops after the cut lists; the basin writes only them; a contour object adds its box.
    PaintLP paint(0);
    paint.Attach(defaults("VY_PAINTER"), true);
    ASSERT_TRUE(c.WriteCommonLPParams(paint, ElemKind_ColouredArea));
    double skirt = -1;
    ASSERT_TRUE(paint.GetSetDouble(10, skirt, LPMode_Get));
    EXPECT_EQ(skirt, 0.0);  // untouched default
    BasinLP basin(0);
    basin.Attach(defaults("VY_BASIN"), true);
    ASSERT_TRUE(c.WriteCommonLPParams(basin, ElemKind_Basin));
    EXPECT_EQ(basin.kind, 0);
    EXPECT_EQ(cutRows(basin), c.frameFirst.GetCount());
    ContourLineLP contours(0);
    contours.Attach(defaults("VY_CONTOURLINES"), true);
    ASSERT_TRUE(c.WriteCommonLPParams(contours, ElemKind_Contour));
    QV_List<double> box;
    int32_t d1 = 0, d2 = 0;
    ASSERT_TRUE(contours.GetSetDoubleArray(60, box, d1, d2, LPMode_Get));
    ASSERT_EQ(box.GetCount(), 4);
    EXPECT_EQ(box[2], 50.0);
    EXPECT_EQ(box[3], 40.0);

    // Kinds without common parameters write nothing; a part without them fails.
    BaseIDLP none(0);
    EXPECT_TRUE(c.WriteCommonLPParams(none, ElemKind_Outline));
    EXPECT_FALSE(c.WriteCommonLPParams(none, ElemKind_Road));
    for (GSHandle& h : handles) ReleaseParamRecords(&h);
}

}  // namespace base_cls_test
