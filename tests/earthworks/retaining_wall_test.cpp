// The retaining-wall tool on the in-process stand-in host over the add-on's library: walls on two planes that
// meet at a ridge x = 50 (z = 100 + 0.2 min(x, 100 - x)), their faces checked against the path and the planes,
// the rebuild of unchanged, rotated and broken walls, obstacles of a rotated and mirrored road, and failures.
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"

#include "earthworks/Obstacle.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamExchange.hpp"
#include "foundation/DialogPicture.hpp"
#include "foundation/GuidText.hpp"
#include "project/InteractiveInput.hpp"

#include <cmath>
#include <cstring>

namespace retaining_wall_test {

double Ridge(double x) { return 100.0 + 0.2 * std::min(x, 100.0 - x); }

int DialogsOpened = 0;
bool DialogConfirms = true;
// The fields the fake dialog marks changed, with the height and name it gives.
std::vector<int16_t> DialogChanges;

DialogAnswer FakeDialog(RetainerWallDialogState& state) {
    ++DialogsOpened;
    if (!DialogConfirms) return DialogAnswer::Cancelled;
    // Placed walls edited: the dialog shows other values than the tool's defaults.
    if (state.editLock != 0) {
        state.record.name = QV_String("W");
        state.record.height = 2.0;
        state.record.fill = 9;
    }
    for (int16_t id : DialogChanges) state.changed[id] = 1;
    return DialogAnswer::Confirmed;
}

struct Faces {
    API_Element element;
    QV_List<QV_Coord3DLong> left, right;  // in plan coordinates
    int32_t onLeft = -1;
};

class RetainingWallTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        DialogsOpened = 0;
        DialogConfirms = true;
        DialogChanges.clear();
        dialogs.retainerWall = FakeDialog;
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 5; ++j) points.push_back({25.0 * i, 20.0 * j, Ridge(25.0 * i)});
        terrain = PlaceTerrain(points);
    }
    API_Element Polyline(const std::vector<API_Coord3D>& points, bool closed = false) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, points, closed, 1, "path" + std::to_string(++paths), &g),
                  NoError);
        return Get(g);
    }
    int32_t Build(const std::vector<API_Coord3D>& path, double clickX, double clickY) {
        host->Input().QueuePoint(clickX, clickY);
        ObstacleCls wall;
        return wall.CreateFromPolyline(GlobalSettings, dialogs, Polyline(path), terrain);
    }
    Faces Read(const API_Element& wall) {
        Faces f;
        f.element = Get(wall.header.guid);
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(wall.header.guid, &memo, AttachMemoMask), NoError);
        ObstacleLP view(ElemKind_RetainingWall);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, f.left, LPMode_Get));
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseDX(view, f.right, LPMode_Get));
        int16_t side = -1;
        EXPECT_TRUE(view.GetSetShort(44, side, LPMode_Get));
        f.onLeft = side;
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        for (QV_List<QV_Coord3DLong>* face : {&f.left, &f.right})
            for (QV_Coord3DLong& p : *face) {
                p.x += f.element.object.pos.x;
                p.y += f.element.object.pos.y;
            }
        return f;
    }
    bool Linked(const API_Element& wall) {
        uint32_t operation = 0;
        return ACAPI_Element_SolidLink_GetOperation(terrain.header.guid, wall.header.guid, &operation) == NoError &&
            operation == APISolid_SubtractDownwards;
    }
    static void ExpectSame(const QV_List<QV_Coord3DLong>& a, const QV_List<QV_Coord3DLong>& b) {
        ASSERT_EQ(a.GetCount(), b.GetCount());
        for (int32_t i = 0; i < a.GetCount(); ++i)
            EXPECT_TRUE(std::fabs(a[i].x - b[i].x) < 1e-9 && std::fabs(a[i].y - b[i].y) < 1e-9 &&
                        std::fabs(a[i].z - b[i].z) < 1e-9)
                << i;
    }
    // Every vertex of the face at `y`, on the ridge planes, one of them on the ridge.
    static void ExpectFace(const QV_List<QV_Coord3DLong>& face, double y, double x0, double x1) {
        ASSERT_GE(face.GetCount(), 3);
        bool ridge = false;
        for (int32_t i = 0; i < face.GetCount(); ++i) {
            EXPECT_NEAR(face[i].y, y, 1e-9) << i;
            EXPECT_NEAR(face[i].z, Ridge(face[i].x), 1e-7) << i;
            if (i > 0) {
                EXPECT_GT(face[i].x, face[i - 1].x);
            }
            ridge = ridge || std::fabs(face[i].x - 50.0) < 1e-7;
        }
        EXPECT_TRUE(ridge);
        EXPECT_NEAR(face[0].x, x0, 1e-9);
        EXPECT_NEAR(face[face.GetCount() - 1].x, x1, 1e-9);
    }
    API_Element terrain = {};
    int paths = 0;
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
};

TEST_F(RetainingWallTest, FacesStandOnTheClickedSideSplitAtTheRidgeWithTheTerrainsHeights) {
    ASSERT_EQ(Build({{10, 30, 0}, {90, 30, 0}}, 40, 45), 0);
    std::vector<API_Element> walls = Objects(ElemKind_RetainingWall);
    ASSERT_EQ(walls.size(), 1u);
    Faces f = Read(walls[0]);
    EXPECT_EQ(f.onLeft, 1);
    // Left of the path: the near face stands 0.001 right of the path, so that the drawn path lies inside the
    // wall; the far face is the left one, 0.5 beyond the near face.
    ExpectFace(f.right, 29.999, 10, 90);
    ExpectFace(f.left, 30.499, 10, 90);
    EXPECT_NEAR(f.element.object.pos.x, 10.0, 1e-12);
    EXPECT_NEAR(f.element.object.pos.y, 29.999, 1e-12);
    EXPECT_TRUE(Linked(walls[0]));
    // The side pick's arrow: shaft, base and head out to the clicked side, sized by the zoom box (the drawing's
    // extent, 100 high, and a twentieth on each side).
    const std::vector<API_RubberLineType>& arrow = host->Input().RubberLines();
    ASSERT_EQ(arrow.size(), 4u);
    const double unit = 0.025 * 110.0;
    EXPECT_NEAR(arrow[0].endC.y - arrow[0].begC.y, 1.1 * unit, 1e-9);
    EXPECT_NEAR(arrow[1].endC.x - arrow[1].begC.x, 0.4 * unit, 1e-9);
    EXPECT_NEAR(arrow[3].endC.y, 30.0 + 1.5 * unit, 1e-9);

    // The right side: the near face is the left one now, 0.001 left of the path; the origin the far face's
    // first vertex.
    ASSERT_EQ(Build({{10, 70, 0}, {90, 70, 0}}, 40, 60), 0);
    walls = Objects(ElemKind_RetainingWall);
    ASSERT_EQ(walls.size(), 2u);
    f = Read(walls[1]);
    EXPECT_EQ(f.onLeft, 0);
    ExpectFace(f.left, 70.001, 10, 90);
    ExpectFace(f.right, 69.501, 10, 90);
    EXPECT_NEAR(f.element.object.pos.y, 69.501, 1e-12);

    // A path running up at x = 45, a click on its right and a wall 0.3 thick: faces at x 44.999 and 45.299. It
    // starts clear of the second wall, under which the terrain has given way to that wall's body.
    GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::retainingThickness, 0.3);
    ASSERT_EQ(Build({{45, 71, 0}, {45, 95, 0}}, 50, 80), 0);
    walls = Objects(ElemKind_RetainingWall);
    ASSERT_EQ(walls.size(), 3u);
    f = Read(walls[2]);
    EXPECT_EQ(f.onLeft, 0);
    for (const QV_Coord3DLong& p : f.left) EXPECT_NEAR(p.x, 44.999, 1e-9);
    for (const QV_Coord3DLong& p : f.right) EXPECT_NEAR(p.x, 45.299, 1e-9);
    EXPECT_NEAR(f.element.object.pos.x, 45.299, 1e-12);
    EXPECT_NEAR(f.element.object.pos.y, 71.0, 1e-12);
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);
}

TEST_F(RetainingWallTest, RebuildKeepsAnUnchangedWallChordsArcsAndFollowsARotatedOne) {
    ASSERT_EQ(Build({{20, 30, 0}, {40, 30, 0}, {60, 50, 0}}, 30, 40), 0);
    ASSERT_EQ(Build({{20, 70, 0}, {40, 70, 0}}, 30, 60), 0);
    std::vector<API_Element> walls = Objects(ElemKind_RetainingWall);
    ASSERT_EQ(walls.size(), 2u);
    for (const API_Element& wall : walls) {
        const Faces before = Read(wall);
        ObstacleCls cls;
        ASSERT_EQ(cls.Rebuild(GlobalSettings, contours, wall), 0);
        const Faces after = Read(wall);
        EXPECT_TRUE(Linked(wall));
        // The rebuild writes the far face on the left whichever side the wall stands on.
        const QV_List<QV_Coord3DLong>& farBefore = before.onLeft == 1 ? before.left : before.right;
        const QV_List<QV_Coord3DLong>& nearBefore = before.onLeft == 1 ? before.right : before.left;
        ExpectSame(after.left, farBefore);
        ExpectSame(after.right, nearBefore);
    }

    // The first wall's drawn path given an arc (its middle coded 2): the rebuild cuts it into the wall's six
    // chords, so a second rebuild finds the same wall.
    API_Element arcWall = Get(walls[0].header.guid);
    ASSERT_EQ(Command([&] {
                  API_ElementMemo memo = {};
                  if (ACAPI_Element_GetMemo(arcWall.header.guid, &memo, AttachMemoMask) != NoError)
                      return GSErrCode(-1);
                  ObstacleLP view(ElemKind_RetainingWall);
                  view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
                  QV_List<QV_CoordLong> path;
                  const double ox = arcWall.object.pos.x, oy = arcWall.object.pos.y;
                  path.Insert({20 - ox, 30 - oy, 0});
                  path.Insert({40 - ox, 40 - oy, 2});
                  path.Insert({60 - ox, 30 - oy, 0});
                  const bool ok = ObstacleLP::ExchangeArray(view, path, LPMode_Set);
                  memo.params = reinterpret_cast<API_AddParType**>(view.params);
                  view.Detach();
                  const GSErrCode err = ok ? ChangeElement(&arcWall, &memo, nullptr) : GSErrCode(-1);
                  DisposeElemMemo(memo);
                  return err;
              }),
              NoError);
    ObstacleCls first;
    ASSERT_EQ(first.Rebuild(GlobalSettings, contours, arcWall), 0);
    const Faces chorded = Read(arcWall);
    // Kept as one arc the face would have three vertices.
    EXPECT_GE(chorded.right.GetCount(), 7);
    ObstacleCls second;
    ASSERT_EQ(second.Rebuild(GlobalSettings, contours, arcWall), 0);
    const Faces again = Read(arcWall);
    ExpectSame(again.right, chorded.right);
    // Its ends stand 0.001 off the ends of the first and last chords, inside the circle through the points: the
    // wall is left of the clockwise arc, its near face just right of it.
    const QV_Coord3DLong& a = again.right[0];
    const QV_Coord3DLong& b = again.right[again.right.GetCount() - 1];
    EXPECT_NEAR(std::hypot(a.x - 40, a.y - 15), 24.999, 2e-5);
    EXPECT_NEAR(std::hypot(b.x - 40, b.y - 15), 24.999, 2e-5);

    // The second wall, right of its path, turned a quarter about its origin: the path now runs up from it and
    // the wall stands right of it again, at larger x.
    API_Element turned = Get(walls[1].header.guid);
    const API_Coord origin = turned.object.pos;
    turned.object.angle = M_PI / 2;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
    ASSERT_EQ(Command([&] { return ChangeElement(&turned, nullptr, &mask); }), NoError);
    ObstacleCls cls;
    ASSERT_EQ(cls.Rebuild(GlobalSettings, contours, turned), 0);
    const Faces f = Read(turned);
    EXPECT_EQ(f.element.object.angle, 0.0);
    // The slope now runs across the wall: the far face carries the heights of the near face opposite it.
    for (const QV_Coord3DLong& p : f.left) {
        EXPECT_NEAR(p.x, origin.x, 1e-9);
        EXPECT_NEAR(p.z, Ridge(origin.x - 0.5), 1e-7);
        EXPECT_GE(p.y, origin.y - 1e-9);
    }
    for (const QV_Coord3DLong& p : f.right) {
        EXPECT_NEAR(p.x, origin.x - 0.5, 1e-9);
        EXPECT_NEAR(p.z, Ridge(p.x), 1e-7);
    }
}

TEST_F(RetainingWallTest, FailuresReportTheirCodesAndLeaveTheProjectAsItWas) {
    // Closed path: 45 before any dialog.
    ObstacleCls closed;
    EXPECT_EQ(closed.CreateFromPolyline(GlobalSettings, dialogs,
                                        Polyline({{10, 10, 0}, {30, 10, 0}, {30, 30, 0}, {10, 10, 0}}, true), terrain),
              45);
    EXPECT_EQ(DialogsOpened, 0);
    // A cancelled dialog or side pick: nothing, silently.
    DialogConfirms = false;
    EXPECT_EQ(Build({{10, 30, 0}, {90, 30, 0}}, 40, 45), 0);
    EXPECT_EQ(host->Input().PendingClicks(), 1u);
    host->Input().ClearQueue();
    DialogConfirms = true;
    host->Input().QueueCancel();
    ObstacleCls cancelled;
    EXPECT_EQ(cancelled.CreateFromPolyline(GlobalSettings, dialogs, Polyline({{10, 30, 0}, {90, 30, 0}}), terrain), 0);
    EXPECT_TRUE(Objects(ElemKind_RetainingWall).empty());
    // A side pick the host fails: 35.
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    ObstacleCls failedPick;
    EXPECT_EQ(failedPick.CreateFromPolyline(GlobalSettings, dialogs, Polyline({{10, 30, 0}, {90, 30, 0}}), terrain),
              35);
    host->ClearFailures();
    // A path that leaves the terrain cannot be sampled: 43, no object, no slab left.
    EXPECT_EQ(Build({{10, 30, 0}, {190, 30, 0}}, 40, 45), 43);
    EXPECT_TRUE(Objects(ElemKind_RetainingWall).empty());
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);

    // A wall moved off the terrain cannot be rebuilt: 43, and it keeps its link.
    ASSERT_EQ(Build({{10, 30, 0}, {90, 30, 0}}, 40, 45), 0);
    API_Element wall = Objects(ElemKind_RetainingWall)[0];
    wall.object.pos.x += 500.0;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
    ASSERT_EQ(Command([&] { return ChangeElement(&wall, nullptr, &mask); }), NoError);
    ObstacleCls rebuild;
    EXPECT_EQ(rebuild.Rebuild(GlobalSettings, contours, wall), 43);
    EXPECT_TRUE(Linked(wall));
    // Back on the terrain, but its drawn path cut to one point or a garbled array: 43 again, still linked.
    wall.object.pos.x -= 500.0;
    ASSERT_EQ(Command([&] { return ChangeElement(&wall, nullptr, &mask); }), NoError);
    for (const int32_t cells : {3, 2}) {
        ASSERT_EQ(Command([&] {
                      API_ElementMemo memo = {};
                      if (ACAPI_Element_GetMemo(wall.header.guid, &memo, AttachMemoMask) != NoError)
                          return GSErrCode(-1);
                      BaseLP view;
                      view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
                      QV_List<double> values;
                      for (int32_t i = 0; i < cells; ++i) values.Insert(1.0);
                      int32_t rows = 1, columns = cells;
                      const bool ok = view.GetSetDoubleArrayByName(QV_String("originale"), values, rows, columns, 1);
                      memo.params = reinterpret_cast<API_AddParType**>(view.params);
                      view.Detach();
                      const GSErrCode err = ok ? ChangeElement(&wall, &memo, nullptr) : GSErrCode(-1);
                      DisposeElemMemo(memo);
                      return err;
                  }),
                  NoError);
        ObstacleCls broken;
        EXPECT_EQ(broken.Rebuild(GlobalSettings, contours, wall), 43) << cells;
        EXPECT_TRUE(Linked(wall));
    }
}

// The model update tells the user which changed walls stand on a changed terrain and cannot follow it. Where the
// host refuses the walls' records, the walls are still known by their library part and their terrain by their
// solid link; where it refuses those too, nothing is claimed.
TEST_F(RetainingWallTest, WallsOnAChangedTerrainAreKnownWithoutTheirRecords) {
    ASSERT_EQ(Build({{10, 30, 0}, {90, 30, 0}}, 40, 45), 0);
    const API_Element wall = Objects(ElemKind_RetainingWall)[0];
    const API_Element path = Polyline({{10, 50, 0}, {90, 50, 0}});
    PendingModelUpdate pending;
    pending.mode = 3;
    pending.heads.Insert(path.header);
    pending.heads.Insert(wall.header);
    pending.heads.Insert(terrain.header);
    // Another terrain changed alone: the wall does not stand on it.
    PendingModelUpdate other;
    other.mode = 3;
    other.heads.Insert(PlaceTerrain({{0, 200, 5}, {50, 200, 5}, {0, 250, 5}}, "other").header);
    for (const bool refused : {false, true}) {
        if (refused) {
            ASSERT_TRUE(host->FailCall("Element_GetUserData", -1, APIERR_GENERAL));
        }
        QV_List<API_Elem_Head> walls;
        ASSERT_TRUE(CollectPendingRetainingWalls(pending, walls)) << refused;
        ASSERT_EQ(walls.GetCount(), 1) << refused;
        EXPECT_EQ(walls[0].guid, wall.header.guid);
        ASSERT_TRUE(FilterWallsByChangedTerrain(pending, walls)) << refused;
        EXPECT_EQ(walls.GetCount(), 1) << refused;
        ASSERT_TRUE(FilterWallsByChangedTerrain(other, walls)) << refused;
        EXPECT_EQ(walls.GetCount(), 0) << refused;
    }
    // Neither the record nor the element: which objects are walls is not known.
    ASSERT_TRUE(host->FailCall("Element_Get", -1, APIERR_GENERAL));
    QV_List<API_Elem_Head> walls;
    EXPECT_FALSE(CollectPendingRetainingWalls(pending, walls));
    EXPECT_EQ(walls.GetCount(), 0);
    host->ClearFailures();
}

TEST_F(RetainingWallTest, ObstaclesOfARotatedMirroredRoadGrowAndShrink) {
    // A road object turned a quarter and mirrored about (50, 50).
    int32_t lib = FindLibPartIndex(QV_String("VY_ROAD"), APILib_ObjectID);
    ASSERT_GT(lib, 0);
    API_Element road = {};
    road.header.typeID = API_ObjectID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&road, nullptr), NoError);
    road.object.libInd = lib;
    road.object.pos = {50, 50};
    road.object.angle = M_PI / 2;
    road.object.reflected = 1;
    ASSERT_EQ(Command([&] {
                  API_ElementMemo memo = {};
                  GSHandle params = nullptr;
                  if (!BaseLP::GetLibPartParams(lib, &params, nullptr, nullptr, nullptr)) return GSErrCode(-1);
                  memo.params = reinterpret_cast<API_AddParType**>(params);
                  if (CreateElementWithMemo(&road, &memo, true) != NoError) return GSErrCode(-1);
                  ElemDescriptor d;
                  GuidToText(d.TerrainGuid, terrain.header.guid);
                  return ElemUserData_WriteRecord(d, ElemKind_Road, road.header) ? NoError : GSErrCode(-1);
              }),
              NoError);
    road = Get(road.header.guid);
    ObstacleCls none;
    EXPECT_EQ(none.RemoveObstacle(contours, road, ElemKind_Road), 37);

    const auto along = [&](const std::vector<API_Coord3D>& path) {
        host->Input().QueuePoint(40, 90);
        ObstacleCls wall;
        return wall.CreateAlongElement(GlobalSettings, dialogs, contours, Polyline(path), road, ElemKind_Road, terrain);
    };
    // A road that cannot take the obstacle: 43, and no wall is left standing in its slopes.
    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    EXPECT_EQ(along({{20, 80, 0}, {60, 80, 0}}), 43);
    host->ClearFailures();
    EXPECT_TRUE(Objects(ElemKind_RetainingWall).empty());
    ASSERT_EQ(along({{20, 80, 0}, {60, 80, 0}, {80, 60, 0}}), 0);
    ASSERT_EQ(along({{20, 20, 0}, {30, 20, 0}}), 0);
    QV_List<int32_t> counts;
    QV_List<API_Coord3D> nodes;
    const auto obstacles = [&] { Obstacles(road.header.guid, ElemKind_Road, counts, nodes); };
    obstacles();
    ASSERT_EQ(counts.GetCount(), 2);
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(counts[1], 2);
    ASSERT_EQ(nodes.GetCount(), 5);
    // Placed again by the road's placement (mirror, turn, move), each node is the drawn point.
    const double px[] = {20, 60, 80, 20, 30}, py[] = {80, 80, 60, 20, 20};
    for (int i = 0; i < 5; ++i) {
        const double x = -nodes[i].x, y = nodes[i].y;
        EXPECT_NEAR(50 - y, px[i], 1e-9) << i;
        EXPECT_NEAR(50 + x, py[i], 1e-9) << i;
    }

    // Another element clicked first (39, asked again), then node 4 of the road: the second obstacle goes.
    QueuedClick other;
    other.point = {20, 80, 0};
    other.element = Objects(ElemKind_RetainingWall)[0].header.guid;
    host->Input().QueueClick(other);
    QueuedClick pick;
    pick.point = {50, 50, 0};
    pick.element = road.header.guid;
    pick.partIndex = 4;
    host->Input().QueueClick(pick);
    ObstacleCls remover;
    EXPECT_EQ(remover.RemoveObstacle(contours, road, ElemKind_Road), 0);
    obstacles();
    ASSERT_EQ(counts.GetCount(), 1);
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(nodes.GetCount(), 3);
    EXPECT_EQ(Param(Get(road.header.guid), "cancella_obs"), 0.0);
    // A node past the last obstacle removes nothing; a cancelled pick neither.
    pick.partIndex = 9;
    host->Input().QueueClick(pick);
    EXPECT_EQ(remover.RemoveObstacle(contours, road, ElemKind_Road), 0);
    host->Input().QueueCancel();
    EXPECT_EQ(remover.RemoveObstacle(contours, road, ElemKind_Road), 0);
    // A pick the host fails is reported, the road put back as it was.
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    EXPECT_EQ(remover.RemoveObstacle(contours, road, ElemKind_Road), 38);
    host->ClearFailures();
    EXPECT_EQ(Param(Get(road.header.guid), "cancella_obs"), 0.0);
    obstacles();
    EXPECT_EQ(nodes.GetCount(), 3);
}

TEST_F(RetainingWallTest, MassEditsReachTheFlaggedFieldsAndCopiesLoseTheirLinks) {
    ASSERT_EQ(Build({{10, 30, 0}, {90, 30, 0}}, 40, 45), 0);
    ASSERT_EQ(Build({{10, 70, 0}, {90, 70, 0}}, 40, 60), 0);
    std::vector<API_Element> walls = Objects(ElemKind_RetainingWall);
    ASSERT_EQ(walls.size(), 2u);
    QV_List<API_Element> selected;
    for (const API_Element& w : walls) selected.Insert(w);
    const auto name = [&](const API_Element& w) {
        GS::UniString info;
        API_Guid guid = w.header.guid;
        EXPECT_EQ(ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &info), NoError);
        return info.ToUtf8();
    };
    // Nothing flagged: nothing written, not even the name.
    DialogConfirms = true;
    ObstacleCls none;
    ASSERT_EQ(none.ModifySelected(GlobalSettings, dialogs, selected), 0);
    EXPECT_EQ(name(walls[1]), "RETAINING WALL");
    // The fill alone flagged: no parameter changes, but every wall takes the dialog's name.
    DialogChanges = {RetainerWallSettings::Id::fill};
    ObstacleCls fill;
    ASSERT_EQ(fill.ModifySelected(GlobalSettings, dialogs, selected), 0);
    for (const API_Element& w : walls) {
        EXPECT_EQ(Param(w, "retino"), 4.0);
        EXPECT_EQ(Param(w, "ZZYZX"), 0.5);
        EXPECT_EQ(name(w), "W");
    }
    DialogChanges = {RetainerWallSettings::Id::height};
    ObstacleCls height;
    ASSERT_EQ(height.ModifySelected(GlobalSettings, dialogs, selected), 0);
    for (const API_Element& w : walls) {
        EXPECT_EQ(Param(w, "ZZYZX"), 2.0);
        EXPECT_NEAR(Param(w, "slope_SX_fill"), M_PI / 2, 1e-12);
    }

    // A new wall that the module wrote is left alone; a copied one loses its solid links, keeps its record.
    QV_List<API_Elem_Head> heads;
    heads.Insert(walls[0].header);
    ElementWritten = 1;
    EXPECT_EQ(ObstacleCls::OnElementEvent(1, heads), 1);
    ElementWritten = 0;
    EXPECT_TRUE(Linked(walls[0]));
    ASSERT_EQ(Command([&] { return ObstacleCls::OnElementEvent(2, heads) == 1 ? NoError : GSErrCode(-1); }), NoError);
    EXPECT_FALSE(Linked(walls[0]));
    EXPECT_TRUE(Linked(walls[1]));
    ElemDescriptor d;
    EXPECT_TRUE(ElemUserData_Read(d, ElemKind_RetainingWall, walls[0].header));
}

}  // namespace retaining_wall_test
