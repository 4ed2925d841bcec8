// The road tool on the in-process stand-in host over the add-on's library: roads along polylines on a terrain on
// the plane z = 100 + 0.1x + 0.05y, their three linked objects, edges checked against the path and the plane,
// failures that leave nothing behind, and edits that reach only the changed fields.
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "GridTerrain.hpp"
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"

#include "earthworks/Obstacle.hpp"
#include "earthworks/Road.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/LayerHelpers.hpp"
#include "foundation/GuidText.hpp"
#include "settings/Settings.hpp"

#include <cmath>
#include <cstring>
#include <map>
#include <random>

namespace road_test {

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

// What the fake dialog does: confirm or cancel, and the fields it marks changed with the value it gives them.
bool DialogConfirms = true;
std::vector<int16_t> DialogChanges;
double DialogLeftCut = 0.0;

std::string DialogName;

DialogAnswer FakeRoadDialog(RoadDialogState& state, int32_t) {
    if (!DialogConfirms) return DialogAnswer::Cancelled;
    for (int16_t id : DialogChanges) state.changed[id] = 1;
    if (!DialogChanges.empty()) state.record.leftCutAngle = DialogLeftCut;
    if (!DialogName.empty()) state.record.name = QV_String(DialogName.c_str());
    return DialogAnswer::Confirmed;
}

struct RoadObject {
    API_Element element;
    std::string role;
    QV_List<API_Coord3D> left, right;
    QV_List<QV_Coord3DLong> baseLeft, baseRight;
    double leftCut = 0.0, rightCut = 0.0;
    std::string name;
};

class RoadToolTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 8.0);
        DialogConfirms = true;
        DialogChanges.clear();
        DialogName.clear();
        dialogs.road = FakeRoadDialog;
        terrain = Terrain();
    }

    API_Element Terrain() { return PlaceTerrain(GridTerrainPoints(Plane)); }
    API_Element Polyline(const std::vector<API_Coord3D>& points) {
        API_Guid g = {};
        const std::string name = "path" + std::to_string(++paths);
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, points, false, 1, name, &g), NoError);
        return Get(g);
    }
    int32_t Build(const API_Element& polyline, int16_t mode) {
        GlobalSettings.SetShort(GeneralKind, MiscSettings::Id::roadReferenceLine, mode);
        RoadCls road;
        return road.CreateAlongPolyline(GlobalSettings, dialogs, contours, polyline, terrain);
    }
    std::vector<RoadObject> Roads() {
        std::vector<RoadObject> out;
        for (const API_Guid& g : Db().AllElements()) {
            API_Element e = Get(g);
            ElemDescriptor d;
            if (e.header.typeID != API_ObjectID || !ElemUserData_Read(d, ElemKind_Road, e.header)) continue;
            RoadObject r;
            r.element = e;
            API_ElementMemo memo = {};
            EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, AttachMemoMask), NoError);
            RoadLP view(ElemKind_Road);
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            QV_String role;
            EXPECT_TRUE(view.GetSetString(BaseIDParam::Operatore, role, LPMode_Get));
            r.role = role.ToStdString();
            EXPECT_TRUE(LPArrays::TripleRows(view, RoadParam::Left, r.left, LPMode_Get));
            EXPECT_TRUE(LPArrays::TripleRows(view, RoadParam::Right, r.right, LPMode_Get));
            EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, r.baseLeft, LPMode_Get));
            EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseDX(view, r.baseRight, LPMode_Get));
            r.leftCut = view.GetParamDouble(QV_String("slope_SX_cut"));
            r.rightCut = view.GetParamDouble(QV_String("slope_DX_cut"));
            GS::UniString info;
            API_Guid guid = g;
            if (ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &info) == NoError) r.name = info.ToUtf8();
            view.Detach();
            ACAPI_DisposeElemMemoHdls(&memo);
            out.push_back(r);
        }
        return out;
    }
    static std::string Text(const API_Guid& g) {
        QV_String t;
        GuidToText(t, g);
        return t.ToStdString();
    }
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
    API_Element terrain = {};
    int paths = 0;
};

// Signed distance of p from the line a -> b: positive on its left.
double SignedDistance(const API_Coord3D& a, const API_Coord3D& b, double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return (dx * (y - a.y) - dy * (x - a.x)) / std::hypot(dx, dy);
}

TEST_F(RoadToolTest, EdgesLieOnThePlaneAtTheModesDistanceFromThePath) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    for (int run = 0; run < 9; ++run) {
        const int16_t mode = int16_t(1 + run % 3);
        // A straight path through the middle of the terrain, in any direction.
        const double a = angle(rng);
        const API_Coord3D p0{100 - 40 * std::cos(a), 60 - 40 * std::sin(a), 0};
        const API_Coord3D p1{100 + 40 * std::cos(a), 60 + 40 * std::sin(a), 0};
        const size_t before = Roads().size();
        ASSERT_EQ(Build(Polyline({p0, p1}), mode), 0) << "mode " << mode;
        std::vector<RoadObject> all = Roads();
        ASSERT_EQ(all.size(), before + 3);
        std::vector<RoadObject> made(all.end() - 3, all.end());
        for (const RoadObject& r : made) {
            ASSERT_EQ(r.left.GetCount(), 9) << r.role;
            ASSERT_EQ(r.right.GetCount(), 9);
            const API_Coord pos = r.element.object.pos;
            // Mode 2 centres the road; mode 1 puts it right of the line, mode 3 left.
            const double wantLeft = mode == 2 ? 4.0 : mode == 1 ? 0.0 : 8.0;
            const double wantRight = mode == 2 ? -4.0 : mode == 1 ? -8.0 : 0.0;
            for (int k = 0; k < 9; ++k) {
                const double lx = r.left[k].x + pos.x, ly = r.left[k].y + pos.y;
                const double rx = r.right[k].x + pos.x, ry = r.right[k].y + pos.y;
                EXPECT_NEAR(r.left[k].z, Plane(lx, ly), 1e-6);
                EXPECT_NEAR(r.right[k].z, Plane(rx, ry), 1e-6);
                EXPECT_NEAR(SignedDistance(p0, p1, lx, ly), wantLeft, 1e-6) << "mode " << mode;
                EXPECT_NEAR(SignedDistance(p0, p1, rx, ry), wantRight, 1e-6) << "mode " << mode;
            }
            // The left edge's first point is the object's origin.
            EXPECT_NEAR(r.left[0].x, 0.0, 1e-9);
            EXPECT_NEAR(r.left[0].y, 0.0, 1e-9);
            // The stored right edge runs back: left then right goes once around the road.
            ASSERT_EQ(r.baseRight.GetCount(), 2);
            EXPECT_NEAR(std::hypot(r.baseRight[0].x - r.baseLeft[1].x, r.baseRight[0].y - r.baseLeft[1].y), 8.0, 1e-6);
            EXPECT_NEAR(r.leftCut, 1.0471975511965976, 1e-12);
        }
        // Each road stands alone on the plane: the next one is sampled on the terrain without this one's earthwork.
        ASSERT_EQ(Command([&] {
                      GS::Array<API_Guid> three;
                      for (const RoadObject& r : made) three.Push(r.element.header.guid);
                      return ACAPI_Element_Delete(three);
                  }),
                  NoError);
    }
}

TEST_F(RoadToolTest, ThreeObjectsLinkedToTheTerrainAndToEachOther) {
    ASSERT_EQ(Build(Polyline({{30, 40, 0}, {90, 40, 0}, {160, 90, 0}}), 2), 0);
    std::vector<RoadObject> made = Roads();
    ASSERT_EQ(made.size(), 3u);
    std::map<std::string, API_Element> byRole;
    for (const RoadObject& r : made) byRole[r.role] = r.element;
    ASSERT_EQ(byRole.size(), 3u);
    API_Attribute operators = {};
    ASSERT_TRUE(ReadLayerByName(QV_String("VY_Operators"), &operators));
    EXPECT_EQ(byRole["cut"].header.layer, operators.header.index);
    EXPECT_EQ(byRole["fill"].header.layer, operators.header.index);
    EXPECT_EQ(byRole["result"].header.layer, 1);
    uint32_t operation = 0;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperation(terrain.header.guid, byRole["cut"].header.guid, &operation),
              NoError);
    EXPECT_EQ(operation, APISolid_SubtractUpwards);
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperation(terrain.header.guid, byRole["fill"].header.guid, &operation),
              NoError);
    EXPECT_EQ(operation, APISolid_Add);
    for (const RoadObject& r : made) {
        ElemDescriptor d;
        ASSERT_TRUE(ElemUserData_Read(d, ElemKind_Road, r.element.header));
        EXPECT_EQ(d.ResultGuid.ToStdString(), Text(byRole["result"].header.guid));
        EXPECT_EQ(d.CutGuid.ToStdString(), Text(byRole["cut"].header.guid));
        EXPECT_EQ(d.FillGuid.ToStdString(), Text(byRole["fill"].header.guid));
        EXPECT_EQ(d.TerrainGuid.ToStdString(), Text(terrain.header.guid));
        // The bent path's edges still lie on the plane.
        for (int32_t k = 0; k < r.left.GetCount(); ++k)
            EXPECT_NEAR(r.left[k].z, Plane(r.left[k].x + r.element.object.pos.x, r.left[k].y + r.element.object.pos.y),
                        1e-6);
    }
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);
    // The changed terrain's contour lines are asked for once, through the port the road was handed.
    ASSERT_EQ(contours.terrains.size(), 1u);
    EXPECT_TRUE(contours.terrains[0] == terrain.header.guid);
}

TEST_F(RoadToolTest, FailuresPlaceNothing) {
    const API_Element path = Polyline({{30, 40, 0}, {150, 40, 0}});
    DialogConfirms = false;
    EXPECT_EQ(Build(path, 2), 0);
    EXPECT_TRUE(Roads().empty());
    // A path no edge can be offset from is an error shown to the user, not a silent end.
    DialogConfirms = true;
    EXPECT_EQ(Build(Polyline({{30, 40, 0}, {30, 40, 0}}), 2), 43);
    EXPECT_TRUE(Roads().empty());
    // The result object's layer refuses it after the cut and fill objects were placed.
    DialogConfirms = true;
    int32_t locked = 0;
    ASSERT_EQ(Command([&] { return CreateLayer(QV_String("closed"), APILay_Locked, 0, &locked, nullptr); }), NoError);
    GlobalSettings.road.layer = int16_t(locked);
    EXPECT_EQ(Build(path, 2), 43);
    EXPECT_TRUE(Roads().empty());
    GS::Array<API_Guid> objects;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_ObjectID, &objects), NoError);
    EXPECT_EQ(objects.GetSize(), 0u);
    EXPECT_TRUE(contours.terrains.empty());  // no road: the terrain is as it was
}

// An object of the set the host will not observe could not follow a hand edit of the road: whichever of the three
// attaches fails, the command is taken back whole, leaves no undo step, and the user is told.
TEST_F(RoadToolTest, AnObserverTheHostRefusesTakesTheNewRoadBack) {
    const API_Element path = Polyline({{30, 40, 0}, {150, 40, 0}});
    DialogConfirms = true;
    const size_t steps = Db().UndoTexts().size();
    for (int32_t passes : {0, 1, 2}) {
        ASSERT_TRUE(host->FailCallAfter("Element_AttachObserver", -1, APIERR_GENERAL, passes));
        EXPECT_EQ(Build(path, 2), 43) << passes;
        host->ClearFailures();
        EXPECT_TRUE(Roads().empty()) << passes;
        GS::Array<API_Guid> objects;
        ASSERT_EQ(ACAPI_Element_GetElemList(API_ObjectID, &objects), NoError);
        EXPECT_EQ(objects.GetSize(), 0u) << passes;
        EXPECT_EQ(Db().UndoTexts().size(), steps) << passes;
    }
    EXPECT_TRUE(contours.terrains.empty());
}

// Without the add-on's library (the user does not name its folder), the road ends silently.
class RoadWithoutLibraryTest : public ProjectHostTest {};

TEST_F(RoadWithoutLibraryTest, AMissingRoadPartPlacesNothing) {
    API_Guid g = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{10, 10, 0}, {50, 10, 0}}, false, 1, "path", &g), NoError);
    API_Element path = {}, mesh = {};
    path.header.guid = g;
    ASSERT_EQ(ACAPI_Element_Get(&path), NoError);
    ASSERT_EQ(Db().PlaceMeshFromPoints({{0, 0, 1}, {60, 0, 1}, {60, 60, 1}, {0, 60, 1}}, 1, "terrain", &g), NoError);
    mesh.header.guid = g;
    ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
    dialogs.road = FakeRoadDialog;
    RoadCls road;
    EXPECT_EQ(road.CreateAlongPolyline(GlobalSettings, dialogs, contours, path, mesh), 0);
    GS::Array<API_Guid> objects;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_ObjectID, &objects), NoError);
    EXPECT_EQ(objects.GetSize(), 0u);
}

TEST_F(RoadToolTest, ARoadOnAFillRunsBetweenThePickedSides) {
    API_Guid g = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, {{40, 30, 0}, {160, 30, 0}, {160, 60, 0}, {40, 60, 0}}, true, 1,
                                       "strip", &g),
              NoError);
    const API_Element fill = Get(g);
    // No click: the side input is cancelled and nothing is placed.
    {
        RoadCls road;
        EXPECT_EQ(road.CreateOnFill(GlobalSettings, dialogs, contours, fill, terrain), 0);
    }
    EXPECT_TRUE(Roads().empty());
    host->Input().QueuePoint(100, 30);
    host->Input().QueuePoint(100, 60);
    {
        RoadCls road;
        ASSERT_EQ(road.CreateOnFill(GlobalSettings, dialogs, contours, fill, terrain), 0);
    }
    const std::vector<RoadObject> made = Roads();
    ASSERT_EQ(made.size(), 3u);
    for (const RoadObject& r : made) {
        ASSERT_EQ(r.left.GetCount(), 9);
        ASSERT_EQ(r.right.GetCount(), 9);
        const API_Coord pos = r.element.object.pos;
        // The two sides between the picked ones: x = 160 and x = 40, both running the same way.
        EXPECT_NEAR(std::fabs(r.left[0].x - r.right[0].x), 120.0, 1e-9);
        EXPECT_NEAR(r.left[0].y, r.right[0].y, 1e-9);
        for (int k = 0; k < 9; ++k) {
            EXPECT_NEAR(r.left[k].z, Plane(r.left[k].x + pos.x, r.left[k].y + pos.y), 1e-6);
            EXPECT_NEAR(r.right[k].z, Plane(r.right[k].x + pos.x, r.right[k].y + pos.y), 1e-6);
        }
    }
}

TEST_F(RoadToolTest, AnEditChangesOnlyTheChangedFieldOnAllThreeObjects) {
    ASSERT_EQ(Build(Polyline({{30, 40, 0}, {150, 40, 0}}), 2), 0);
    std::vector<RoadObject> made = Roads();
    ASSERT_EQ(made.size(), 3u);
    QV_List<API_Element> selected;
    for (const RoadObject& r : made)
        if (r.role == "result") selected.Insert(r.element);
    DialogChanges = {RoadData::Id::leftCutAngle};
    DialogLeftCut = 0.8726646259971648;
    {
        RoadCls road;
        EXPECT_EQ(road.ModifySelected(GlobalSettings, dialogs, selected), 0);
    }
    for (const RoadObject& r : Roads()) {
        EXPECT_NEAR(r.leftCut, 0.8726646259971648, 1e-12) << r.role;
        EXPECT_NEAR(r.rightCut, 1.0471975511965976, 1e-12) << r.role;
        EXPECT_EQ(r.left.GetCount(), 9);
        EXPECT_EQ(r.name, "ROAD");
    }
    // A name typed in the dialog reaches the objects only when its field is marked changed.
    DialogName = "Main road";
    {
        RoadCls road;
        EXPECT_EQ(road.ModifySelected(GlobalSettings, dialogs, selected), 0);
    }
    for (const RoadObject& r : Roads()) EXPECT_EQ(r.name, "ROAD");
    DialogChanges = {RoadData::Id::name};
    {
        RoadCls road;
        EXPECT_EQ(road.ModifySelected(GlobalSettings, dialogs, selected), 0);
    }
    for (const RoadObject& r : Roads()) EXPECT_EQ(r.name, "Main road");
    // From the 3D window, a plan database that cannot be reached is reported as such.
    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    {
        RoadCls road;
        EXPECT_EQ(road.ModifySelected(GlobalSettings, dialogs, selected), 42);
    }
}

TEST_F(RoadToolTest, ARebuildDrapesAgainOnACopyCarryingOnlyTheEarlierOperators) {
    const API_Guid before = PlaceObject(API_ObjectID, libA, "before");
    const auto link = [&](const API_Guid& op, uint32_t operation) {
        ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Create(terrain.header.guid, op, operation, 1); }),
                  NoError);
    };
    link(before, APISolid_SubtractUpwards);
    ASSERT_EQ(Build(Polyline({{20, 50, 0}, {180, 50, 0}}), 2), 0);
    link(PlaceObject(API_ObjectID, libA, "after"), APISolid_Add);
    API_Element result = {};
    GS::Array<API_Guid> partners;
    for (const RoadObject& r : Roads()) {
        if (r.role == "result")
            result = r.element;
        else
            partners.Push(r.element.header.guid);
    }
    API_Guid links[3] = {result.header.guid, partners[0], partners[1]};

    // The operators in link order, the road's own marked; the copy takes those before the first own one.
    {
        RoadCls road;
        ASSERT_EQ(ACAPI_Element_SolidLink_GetOperators(terrain.header.guid, &road.terrainOperators), NoError);
        ASSERT_TRUE(road.CollectTerrainOperators(terrain.header.guid, links));
        ASSERT_EQ(road.operRecords.GetCount(), 4);
        EXPECT_EQ(road.operRecords[0].operatorGuid, before);
        EXPECT_EQ(road.operRecords[0].own, 0);
        EXPECT_EQ(road.operRecords[1].own + road.operRecords[2].own, 2);
        EXPECT_EQ(road.operRecords[3].own, 0);
        bool copyMade = false;
        GS::Array<API_Guid> carried;
        ASSERT_EQ(Command([&] {
                      if (!road.CopyTerrainWithEarlierOperators(terrain, copyMade)) return GSErrCode(-1);
                      ACAPI_Element_SolidLink_GetOperators(road.terrainCopy.header.guid, &carried);
                      uint32_t operation = 0;
                      ACAPI_Element_SolidLink_GetOperation(road.terrainCopy.header.guid, before, &operation);
                      EXPECT_EQ(operation, APISolid_SubtractUpwards);
                      GS::Array<API_Guid> copy;
                      copy.Push(road.terrainCopy.header.guid);
                      return ACAPI_Element_Delete(copy);
                  }),
                  NoError);
        EXPECT_TRUE(copyMade);
        ASSERT_EQ(carried.GetSize(), 1u);
        EXPECT_EQ(carried[0], before);
    }

    // The cut and fill objects deleted by the user: the road still rebuilds, on the plane, and no copy stays.
    ASSERT_EQ(Command([&] { return ACAPI_Element_Delete(partners); }), NoError);
    {
        RoadCls road;
        ASSERT_EQ(road.RebuildFromObject(contours, result), 0);
        // The terrain's operators reached the rebuild, the dead links of the deleted objects pruned.
        ASSERT_EQ(road.terrainOperators.GetSize(), 2u);
        EXPECT_EQ(road.terrainOperators[0], before);
    }
    // A terrain without any operator answers with an empty list, which is no failure.
    GS::Array<API_Guid> left;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperators(terrain.header.guid, &left), NoError);
    ASSERT_EQ(Command([&] {
                  for (uint32_t i = 0; i < left.GetSize(); ++i)
                      ACAPI_Element_SolidLink_Remove(terrain.header.guid, left[i]);
                  return NoError;
              }),
              NoError);
    {
        RoadCls road;
        ASSERT_EQ(road.RebuildFromObject(contours, result), 0);
    }
    const std::vector<RoadObject> rebuilt = Roads();
    ASSERT_EQ(rebuilt.size(), 1u);
    const RoadObject& r = rebuilt[0];
    ASSERT_EQ(r.left.GetCount(), 9);
    for (const QV_List<API_Coord3D>* edge : {&r.left, &r.right})
        for (int32_t k = 0; k < edge->GetCount(); ++k) {
            const double x = (*edge)[k].x + r.element.object.pos.x, y = (*edge)[k].y + r.element.object.pos.y;
            EXPECT_NEAR((*edge)[k].z, Plane(x, y), 1e-6);
            EXPECT_NEAR(std::fabs(y - 50.0), 4.0, 1e-6);
        }
    GS::Array<API_Guid> meshes;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_MeshID, &meshes), NoError);
    EXPECT_EQ(meshes.GetSize(), 1u);

    // An object whose left edge was emptied cannot be rebuilt: 43, and still no copy stays.
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(result.header.guid, &memo, AttachMemoMask), NoError);
    RoadLP view(ElemKind_Road);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_List<QV_Coord3DLong> none;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, none, LPMode_Set));
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    ASSERT_EQ(Command([&] { return ChangeElementMemo(&result, &memo); }), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    // Nothing was rewritten, so nothing is kept: no undo step whose Undo would do nothing.
    const size_t steps = Db().UndoTexts().size();
    {
        RoadCls road;
        EXPECT_EQ(road.RebuildFromObject(contours, result), 43);
    }
    EXPECT_EQ(Db().UndoTexts().size(), steps);
    ASSERT_EQ(ACAPI_Element_GetElemList(API_MeshID, &meshes), NoError);
    EXPECT_EQ(meshes.GetSize(), 1u);
}

// A name the host cannot tell never wipes the user's: an edit that may write the name shown is refused before it
// changes anything (and says so), and so are the set's partners brought in step and the data update, which would
// give the set the name the host will not tell: every object keeps its own name.
TEST_F(RoadToolTest, WithTheInformationTextUnreadableEveryObjectKeepsItsNameAndNoSetIsHalfInStep) {
    ASSERT_EQ(Build(Polyline({{30, 40, 0}, {150, 40, 0}}), 2), 0);
    // Each object named apart, as the user may: a name copied to the wrong object would show.
    API_Element result = {};
    for (const RoadObject& r : Roads()) {
        if (r.role == "result") result = r.element;
        API_Element object = r.element;
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask), NoError);
        QV_String name(("ROAD " + r.role).c_str());
        SetMemoInfoString(memo, name);
        ASSERT_EQ(Command([&] { return ChangeElementMemo(&object, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    const auto names = [&] {
        std::map<std::string, std::string> byRole;
        for (const RoadObject& r : Roads()) byRole[r.role] = r.name;
        return byRole;
    };
    const std::map<std::string, std::string> named = names();
    ASSERT_EQ(named.at("cut"), "ROAD cut");
    const int32_t infoText = int32_t(API_Selector("GEIS"));

    // The edit: 43, the project as it was.
    DialogChanges = {RoadData::Id::leftCutAngle, RoadData::Id::name};
    DialogLeftCut = 0.5;
    QV_List<API_Element> selected;
    selected.Insert(result);
    ExpectRefusalTakenBack("Database", infoText, 0, 43, [&] {
        RoadCls road;
        return road.ModifySelected(GlobalSettings, dialogs, selected);
    });

    // A hand edit of the result brought to its partners, then the data update: the set takes the result's name, which
    // the host will not tell, so neither is done and the user is told; every name and every partner as it was.
    SetParam(result, "slope_SX_cut", 0.6);
    std::map<std::string, double> cuts;
    for (const RoadObject& r : Roads()) cuts[r.role] = r.leftCut;
    ASSERT_TRUE(host->FailCall("Database", infoText, APIERR_GENERAL));
    EXPECT_NE(Command([&] { return SyncSiblingObjects(result.header, ElemKind_Road, false) == 1 ? NoError : -1; }),
              NoError);
    {
        RoadCls road;
        EXPECT_EQ(road.RebuildFromObject(contours, result), 43);
    }
    host->ClearFailures();
    EXPECT_EQ(names(), named);
    for (const RoadObject& r : Roads()) EXPECT_EQ(r.leftCut, cuts.at(r.role)) << r.role;
    EXPECT_NEAR(cuts.at("result"), 0.6, 1e-12);
}

// A retaining wall along a road whose objects refuse the obstacle, the result or a partner: the wall and the
// obstacle are both taken back.
TEST_F(RoadToolTest, AWallAlongARoadThatRefusesItsObstacleLeavesTheProjectAsItWas) {
    ASSERT_EQ(Build(Polyline({{30, 40, 0}, {150, 40, 0}}), 2), 0);
    API_Element result = {};
    for (const RoadObject& r : Roads())
        if (r.role == "result") result = r.element;
    dialogs.retainerWall = [](RetainerWallDialogState&) { return DialogAnswer::Confirmed; };
    const API_Element path = Polyline({{40, 50, 0}, {80, 50, 0}});
    for (const char* function : {"Element_ChangeParameters", "Element_Change"})
        for (int32_t passes = 0; passes < 2; ++passes)
            ExpectRefusalTakenBack(function, -1, passes, 43, [&] {
                host->Input().QueuePoint(60, 60);
                ObstacleCls wall;
                return wall.CreateAlongElement(GlobalSettings, dialogs, contours, path, result, ElemKind_Road, terrain);
            });
    // Unrefused, the wall stands and all three objects carry its obstacle.
    host->Input().QueuePoint(60, 60);
    ObstacleCls wall;
    ASSERT_EQ(wall.CreateAlongElement(GlobalSettings, dialogs, contours, path, result, ElemKind_Road, terrain), 0);
    EXPECT_EQ(Objects(ElemKind_RetainingWall).size(), 1u);
    for (const RoadObject& r : Roads()) {
        QV_List<int32_t> counts;
        QV_List<API_Coord3D> nodes;
        Obstacles(r.element.header.guid, ElemKind_Road, counts, nodes);
        EXPECT_EQ(counts.GetCount(), 1) << r.role;
    }
}

}  // namespace road_test
