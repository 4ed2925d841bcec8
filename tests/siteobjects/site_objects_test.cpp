// Trees, camera paths and gravity on a terrain through the in-process host: the terrain is the plane
// z = 100 + 0.05x + 0.02y over x 20..120, y 10..90 on a story at elevation 3, so every height has a closed form.
#include "FakeSiteObjectDialogs.hpp"
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"

#include "DGDriver.hpp"
#include "RuntimeDriver.hpp"
#include "elements/GdlParams.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Camera.hpp"
#include "siteobjects/Gravity.hpp"
#include "siteobjects/Trees.hpp"

#include <cmath>
#include <cstring>

namespace site_objects_test {

constexpr double StoryElevation = 3.0;
double Plane(double x, double y) { return 100.0 + 0.05 * x + 0.02 * y; }

class SiteObjectsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        Db().SetStory(0, StoryElevation, "Ground");
        std::vector<API_Coord3D> points;
        for (int x = 20; x <= 120; x += 10)
            for (int y = 10; y <= 90; y += 10) points.push_back({double(x), double(y), Plane(x, y) - StoryElevation});
        terrain = PlaceTerrain(points);
        GlobalSettings.treeFromPart = 1;
        RuntimeDriver::SeedRand(3);
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    std::vector<API_Element> OfType(API_ElemTypeID type) {
        std::vector<API_Element> out;
        for (const API_Guid& g : Db().AllElements())
            if (Get(g).header.typeID == type) out.push_back(Get(g));
        return out;
    }
    std::vector<double> Cells(const API_Element& e, const char* name, int32_t* rows = nullptr) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<double> list;
        int32_t d1 = 0, d2 = 0;
        ExchangeDoubleArrayParam(view, list, d1, d2, QV_String(name), LPMode_Get);
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        if (rows != nullptr) *rows = d1;
        return std::vector<double>(list.begin(), list.end());
    }
    SiteObjectDialogBoxes dialogs;
    API_Element terrain = {};
};

TEST_F(SiteObjectsTest, TreesStandOnTheTerrainEachWithItsOwnBranches) {
    DGDriver::QueueSetLong(32564, 20, 4);
    DGDriver::QueueSetLong(32564, 26, 3);
    DGDriver::QueueClick(32564, 1);
    host->Input().QueuePoint(50, 40);
    host->Input().QueuePoint(100, 70);
    host->Input().QueuePoint(5, 5);  // off the terrain: the story's default elevation
    host->Input().QueueCancel();
    ASSERT_EQ(Command([&] { return CreateTree(GlobalSettings, dialogs, &terrain) == 0 ? NoError : APIERR_GENERAL; }),
              NoError);
    std::vector<API_Element> trees = OfType(API_ObjectID);
    ASSERT_EQ(trees.size(), 3u);
    std::vector<std::vector<double>> alfas;
    for (const API_Element& t : trees) {
        int32_t rows = 0;
        alfas.push_back(Cells(t, "alfa", &rows));
        EXPECT_EQ(rows, 85);
        EXPECT_EQ(Param(t, "enne_rami"), 4.0);
        const API_Coord p = t.object.pos;
        const bool on = p.x >= 20.0;
        EXPECT_NEAR(t.object.level, on ? Plane(p.x, p.y) - StoryElevation : 0.0, 1e-6) << p.x << " " << p.y;
    }
    EXPECT_NE(alfas[0], alfas[1]);
    EXPECT_NE(alfas[1], alfas[2]);

    // Only the leaf material changes: both trees keep their branches.
    QV_List<API_Element> edited;
    edited.Insert(trees[0]);
    edited.Insert(trees[1]);
    DGDriver::QueueSetLong(32564, 45, 3);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(Command([&] { return RegenerateTrees(GlobalSettings, dialogs, edited) ? NoError : APIERR_GENERAL; }),
              NoError);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Param(Get(trees[i].header.guid), "mat_foglie"), 3.0);
        EXPECT_EQ(Cells(Get(trees[i].header.guid), "alfa"), alfas[i]);
    }
    EXPECT_EQ(Param(Get(trees[2].header.guid), "mat_foglie"), Param(trees[2], "mat_foglie"));

    // A tree whose own levels no array can hold keeps its branches when the branch count changes (error 43).
    ASSERT_EQ(Command([&] {
                  API_ElementMemo memo = {};
                  ACAPI_Element_GetMemo(trees[1].header.guid, &memo, AttachMemoMask);
                  BaseLP view;
                  view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
                  view.SetParamDouble(QV_String("enne_cicli"), 1e6);
                  view.Detach();
                  API_Element element = Get(trees[1].header.guid);
                  GS::Array<API_Guid> one;
                  one.Push(element.header.guid);
                  const GSErrCode err = ACAPI_Element_ChangeParameters(one, nullptr, &memo, nullptr);
                  ACAPI_DisposeElemMemoHdls(&memo);
                  return err;
              }),
              NoError);
    DGDriver::QueueSetLong(32564, 20, 3);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(Command([&] { return RegenerateTrees(GlobalSettings, dialogs, edited) ? NoError : APIERR_GENERAL; }),
              NoError);
    int32_t rows = 0;
    Cells(Get(trees[0].header.guid), "alfa", &rows);
    EXPECT_EQ(rows, 1 + 3 + 9 + 27);
    EXPECT_EQ(Cells(Get(trees[1].header.guid), "alfa"), alfas[1]);
    EXPECT_NE(DGDriver::LogText().find("Error while modifying/creating the object."), std::string::npos);
}

TEST_F(SiteObjectsTest, CamerasFollowThePathAcrossItsCornerAtEyeHeightOverTheTerrain) {
    API_Guid line = {};
    ASSERT_EQ(
        Db().PlacePolygonElement(API_PolyLineID, {{30, 20, 0}, {60, 60, 0}, {60, 90, 0}}, false, 1, "path", &line),
        NoError);
    DGDriver::QueueSetDouble(32558, 8, 10.0);
    DGDriver::QueueClick(32558, 1);
    CameraCls cls;
    ASSERT_EQ(cls.Create(GlobalSettings, dialogs, Get(line), terrain), 0);
    ASSERT_EQ(OfType(API_CamSetID).size(), 1u);
    std::vector<API_Element> cams = OfType(API_CameraID);
    ASSERT_EQ(cams.size(), 8u);
    // By hand: 50 m along (0.6, 0.8), then 30 m up the y axis; one camera every 10 m.
    const API_Coord at[9] = {{30, 20}, {36, 28}, {42, 36}, {48, 44}, {54, 52}, {60, 60}, {60, 70}, {60, 80}, {60, 90}};
    API_Guid previous = {};
    for (int i = 0; i < 8; ++i) {
        const API_Element* c = nullptr;
        for (const API_Element& e : cams)
            if (std::memcmp(&e.camera.prevCam, &previous, sizeof previous) == 0) c = &e;
        ASSERT_NE(c, nullptr) << i;
        EXPECT_NEAR(c->camera.pos.x, at[i].x, 1e-9);
        EXPECT_NEAR(c->camera.pos.y, at[i].y, 1e-9);
        EXPECT_NEAR(c->camera.target.x, at[i + 1].x, 1e-9);
        EXPECT_NEAR(c->camera.target.y, at[i + 1].y, 1e-9);
        EXPECT_NEAR(c->camera.cameraZ, 1.7 + Plane(at[i].x, at[i].y), 1e-6);
        EXPECT_NEAR(c->camera.targetZ, 1.7 + Plane(at[i + 1].x, at[i + 1].y), 1e-6);
        EXPECT_EQ(std::memcmp(&c->camera.camSetGuid, &OfType(API_CamSetID)[0].header.guid, sizeof(API_Guid)), 0);
        previous = c->header.guid;
    }
    EXPECT_EQ(GlobalSettings.GetDouble(GeneralKind, MiscSettings::Id::cameraValue), 10.0);

    // A count no 16-bit number holds is refused before anything is divided or made.
    FakeSiteObjectDialogs given;
    given.cameraDistance = [](double& d, double) {
        d = 1e-3;
        return DialogAnswer::Confirmed;
    };
    CameraCls tiny;
    EXPECT_EQ(tiny.Create(GlobalSettings, given, Get(line), terrain), 43);
    given.cameraDistance = [](double& d, double) {
        d = 0.0;
        return DialogAnswer::Confirmed;
    };
    EXPECT_EQ(tiny.Create(GlobalSettings, given, Get(line), terrain), 43);
    EXPECT_EQ(OfType(API_CameraID).size(), 8u);

    // A closed path has no walk-through.
    API_Guid ring = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{30, 20, 0}, {60, 60, 0}, {60, 20, 0}, {30, 20, 0}}, false, 1,
                                       "ring", &ring),
              NoError);
    EXPECT_EQ(tiny.Create(GlobalSettings, given, Get(ring), terrain), 45);
}

TEST_F(SiteObjectsTest, GravitySetsObjectsOnTheTerrainMeasuredFromTheirStory) {
    std::vector<API_Guid> placed;
    for (API_Coord p : {API_Coord{50, 40}, API_Coord{110, 80}, API_Coord{5, 5}}) {
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        ASSERT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.object.libInd = libA;
        e.object.pos = p;
        e.object.level = 7.5;
        ASSERT_EQ(Db().PlaceElement(&e, StoredMemo(), "", "Place"), NoError);
        placed.push_back(e.header.guid);
    }
    QV_List<API_Element> objects;
    for (const API_Guid& g : placed) objects.Insert(Get(g));
    GravityCls cls;
    ASSERT_EQ(cls.Run(objects), 0);
    EXPECT_NEAR(Get(placed[0]).object.level, Plane(50, 40) - StoryElevation, 1e-6);
    EXPECT_NEAR(Get(placed[1]).object.level, Plane(110, 80) - StoryElevation, 1e-6);
    EXPECT_EQ(Get(placed[2]).object.level, 7.5);

    // Point mode: one object of the object tool's default part per click at the terrain's height, until the input
    // is cancelled.
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&defaults, nullptr), NoError);
    defaults.object.libInd = libA;
    ASSERT_EQ(ACAPI_Element_ChangeDefaults(&defaults, nullptr, nullptr), NoError);
    host->Input().QueuePoint(80, 30);
    host->Input().QueuePoint(40, 70);
    host->Input().QueueCancel();
    GravityCls points;
    ASSERT_EQ(points.Build(&terrain), 0);
    const std::vector<API_Element> all = OfType(API_ObjectID);
    ASSERT_EQ(all.size(), 5u);
    for (size_t i = 3; i < 5; ++i) {
        const API_Coord p = all[i].object.pos;
        EXPECT_NEAR(all[i].object.level, Plane(p.x, p.y) - StoryElevation, 1e-6) << p.x;
    }
    // A click off the terrain cannot be probed: the command ends with 43 and places nothing.
    host->Input().QueuePoint(5, 5);
    EXPECT_EQ(points.Build(&terrain), 43);
    EXPECT_EQ(OfType(API_ObjectID).size(), 5u);
}

}  // namespace site_objects_test
