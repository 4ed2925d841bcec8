// Terrain heights through temporary cutting slabs, and the helpers that drape an element class's points, on
// the stand-in host's 3D model of a mesh made of two known planes (a ridge along x = 50).
#include "ProjectHost.hpp"
#include "TerrainMeshes.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/TerrainDraping.hpp"

#include <random>

namespace mesh_height_sampling_test {

// Two planes meeting at the ridge x = 50, both rising 0.1 per unit of y.
double Ridge(double x, double y) { return 10.0 + 0.4 * std::fmin(x, 100.0 - x) + 0.1 * y; }

class MeshHeightSamplingTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        Db().SetStory(1, 3.0, "First");
    }

    // The ridge mesh on `story`: outline 0..100 x 0..60 with the ridge as a level line.
    API_Element PlaceRidge(int16_t story = 0) {
        std::vector<API_Coord3D> ring;
        for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{50, 0}, API_Coord{100, 0}, API_Coord{100, 60},
                                   API_Coord{50, 60}, API_Coord{0, 60}})
            ring.push_back(API_Coord3D{c.x, c.y, Ridge(c.x, c.y)});
        API_Element mesh;
        EXPECT_EQ(Command([&] {
                      return TerrainMeshes::PlaceMesh(ring, {}, {{{50, 0, Ridge(50, 0)}, {50, 60, Ridge(50, 60)}}},
                                                      &mesh, story);
                  }),
                  NoError);
        return mesh;
    }

    QV_List<QV_Coord3DLong> Points(const std::vector<API_Coord>& plan) {
        QV_List<QV_Coord3DLong> list;
        for (const API_Coord& c : plan) list.Insert(QV_Coord3DLong{c.x, c.y, -999.0, 0});
        return list;
    }

    // Runs one operation inside an undoable command, as the module's callers do.
    bool Run(const std::function<bool()>& operation) {
        bool ok = false;
        Command([&] {
            ok = operation();
            return NoError;
        });
        return ok;
    }
    bool Sample(const API_Element& mesh, QV_List<QV_Coord3DLong>& points) {
        MeshBody body;
        double zMin = 0.0, zMax = 0.0;
        return Run([&] { return SampleMeshHeights(body, mesh, points, zMin, zMax); });
    }

    // Nothing the sampling made may outlive it.
    void ExpectNoTemporaries(const API_Element& mesh) {
        GS::Array<API_Guid> slabs;
        ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
        EXPECT_EQ(slabs.GetSize(), 0u);
        GS::Array<API_Guid> operators;
        ACAPI_Element_SolidLink_GetOperators(mesh.header.guid, &operators);
        EXPECT_EQ(operators.GetSize(), 0u);
    }
};

TEST_F(MeshHeightSamplingTest, RandomPointsGetTheHeightOfTheirPlane) {
    for (int16_t story : {int16_t(0), int16_t(1)}) {
        const API_Element mesh = PlaceRidge(story);
        const double storyLevel = story == 1 ? 3.0 : 0.0;
        std::mt19937 rng(7 + story);
        std::uniform_real_distribution<double> ux(0.0, 100.0), uy(0.0, 60.0);
        std::vector<API_Coord> plan;
        for (int i = 0; i < 40; ++i) plan.push_back({ux(rng), uy(rng)});
        // On a vertex, on the ridge, on the west and north edges (the square lies on the mesh).
        plan.insert(plan.end(), {{0, 60}, {50, 60}, {50, 30}, {0, 17.25}, {81.5, 60}});
        QV_List<QV_Coord3DLong> points = Points(plan);
        ASSERT_TRUE(Sample(mesh, points)) << "story " << story;
        for (int32_t i = 0; i < points.GetCount(); ++i)
            EXPECT_NEAR(points[i].z, storyLevel + mesh.mesh.level + Ridge(points[i].x, points[i].y), 1e-6)
                << points[i].x << ", " << points[i].y;
        ExpectNoTemporaries(mesh);
    }
}

TEST_F(MeshHeightSamplingTest, APointTheMeshDoesNotReachGetsNoMadeUpHeight) {
    const API_Element mesh = PlaceRidge();
    // Inside, then outside, then inside again: sampling stops at the point it cannot sample.
    QV_List<QV_Coord3DLong> points = Points({{20, 20}, {150, 30}, {30, 30}});
    EXPECT_FALSE(Sample(mesh, points));
    EXPECT_NEAR(points[0].z, mesh.mesh.level + Ridge(20, 20), 1e-6);
    EXPECT_EQ(points[1].z, -999.0);
    EXPECT_EQ(points[2].z, -999.0);
    ExpectNoTemporaries(mesh);

    // On the east edge the square lies beside the mesh, which then has nothing at the point either.
    points = Points({{100, 30}});
    EXPECT_FALSE(Sample(mesh, points));
    EXPECT_EQ(points[0].z, -999.0);
    ExpectNoTemporaries(mesh);

    QV_List<QV_Coord3DLong> none;
    EXPECT_TRUE(Sample(mesh, none));
    ExpectNoTemporaries(mesh);
}

TEST_F(MeshHeightSamplingTest, AFailedStoryLookupOrHostCallLeavesNoSlabAndNoLink) {
    const API_Element mesh = PlaceRidge();
    // No story level, from an unreadable story list or a story the project does not have: no slab is placed,
    // nothing changes (no undo step). The point is a vertex of the mesh, which even an uncut model has.
    API_Element elsewhere = mesh;
    elsewhere.header.floorInd = 7;
    const API_Element* records[] = {&mesh, &elsewhere};
    for (const API_Element* record : records) {
        if (record == &mesh) {
            ASSERT_TRUE(host->FailCall("Environment", -1, APIERR_GENERAL));
        }
        const size_t steps = Db().UndoTexts().size();
        QV_List<QV_Coord3DLong> points = Points({{0, 60}});
        EXPECT_FALSE(Sample(*record, points));
        host->ClearFailures();
        EXPECT_EQ(points[0].z, -999.0);
        EXPECT_EQ(Db().UndoTexts().size(), steps);
    }

    for (const char* function : {"Element_Create", "SolidLink_Create", "Get3DComponent", "SolidLink_Remove"}) {
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL)) << function;
        QV_List<QV_Coord3DLong> points = Points({{20, 20}, {30, 30}});
        EXPECT_FALSE(Sample(mesh, points)) << function;
        host->ClearFailures();
        ExpectNoTemporaries(mesh);
        EXPECT_EQ(points[1].z, -999.0) << function;
    }

    // A slab that cannot be deleted is reported, and the command's body, watching, has the host take the whole
    // command back: nothing of it outlives the command, not even an undo step. With the delete working, the same
    // body keeps what it made.
    for (const bool deletes : {false, true}) {
        if (!deletes) {
            ASSERT_TRUE(host->FailCall("Element_Delete", -1, APIERR_GENERAL));
        }
        const size_t steps = Db().UndoTexts().size();
        QV_List<QV_Coord3DLong> points = Points({{20, 20}, {30, 30}});
        bool sampled = true;
        Command([&] {
            const LeftoverWatch watch;
            MeshBody body;
            double zMin = 0.0, zMax = 0.0;
            sampled = SampleMeshHeights(body, mesh, points, zMin, zMax);
            EXPECT_EQ(watch.Stranded(), !deletes);
            return watch.CommandBodyResult();
        });
        host->ClearFailures();
        EXPECT_EQ(sampled, deletes);
        ExpectNoTemporaries(mesh);
        EXPECT_EQ(Db().UndoTexts().size(), steps + (deletes ? 1 : 0));
    }
}

TEST_F(MeshHeightSamplingTest, WithThe3DWindowInFrontSlabsAreStillLinkedAndTakenAway) {
    const API_Element mesh = PlaceRidge();
    Window(APIWind_3DModelID);
    QV_List<QV_Coord3DLong> points = Points({{20, 20}, {70, 45}});
    ASSERT_TRUE(Sample(mesh, points));
    EXPECT_NEAR(points[1].z, mesh.mesh.level + Ridge(70, 45), 1e-6);
    MeshBody body;
    EXPECT_TRUE(Run([&] {
        return ReadMeshVerticesInsideOutline(body, mesh, Points({{40, 10}, {60, 10}, {60, 30}, {40, 30}, {40, 10}}));
    }));
    ExpectNoTemporaries(mesh);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
}

TEST_F(MeshHeightSamplingTest, AnOutlineTakesItsHeightsFromOneSlab) {
    const API_Element mesh = PlaceRidge(1);
    MeshBody body;
    double zMin = 0.0, zMax = 0.0;
    // A closed ring across the ridge: its last point takes the first one's height.
    QV_List<QV_Coord3DLong> ring = Points({{40, 10}, {60, 10}, {60, 30}, {40, 30}, {40, 10}});
    ASSERT_TRUE(Run([&] { return AssignHeightsFromElement(body, mesh, ring, zMin, zMax); }));
    for (int32_t i = 0; i < ring.GetCount(); ++i)
        EXPECT_NEAR(ring[i].z, 3.0 + mesh.mesh.level + Ridge(ring[i].x, ring[i].y), 1e-6);
    EXPECT_NEAR(zMin, 3.0 + mesh.mesh.level + Ridge(40, 10), 1e-6);
    EXPECT_NEAR(zMax, 3.0 + mesh.mesh.level + Ridge(50, 30), 1e-6);  // the ridge crosses the outline
    ExpectNoTemporaries(mesh);

    // An outline partly off the mesh: the points inside get their heights, the others keep theirs.
    QV_List<QV_Coord3DLong> partly = Points({{90, 10}, {120, 10}, {120, 30}, {90, 30}, {90, 10}});
    QV_List<uint8_t> sampled;
    EXPECT_FALSE(Run([&] { return AssignHeightsFromElement(body, mesh, partly, zMin, zMax, &sampled); }));
    ASSERT_EQ(sampled.GetCount(), 5);
    EXPECT_EQ(sampled[0] + sampled[1] + sampled[2] + sampled[3], 2);
    EXPECT_EQ(partly[1].z, -999.0);
    EXPECT_NEAR(partly[3].z, 3.0 + mesh.mesh.level + Ridge(90, 30), 1e-6);

    // Too short an outline reads nothing; the vertices inside an outline come with the floor.
    QV_List<QV_Coord3DLong> empty;
    EXPECT_FALSE(Run([&] { return AssignHeightsFromElement(body, mesh, empty, zMin, zMax); }));
    ASSERT_TRUE(Run([&] { return ReadMeshVerticesInsideOutline(body, mesh, ring); }));
    int32_t surface = 0;
    for (const API_Coord3D& v : body.vertices) {
        EXPECT_TRUE(v.x >= 40 - 1e-9 && v.x <= 60 + 1e-9 && v.y >= 10 - 1e-9 && v.y <= 30 + 1e-9);
        surface += std::fabs(v.z - (3.0 + mesh.mesh.level + Ridge(v.x, v.y))) < 1e-6 ? 1 : 0;
    }
    EXPECT_GT(surface, 4);
    EXPECT_LT(surface, body.vertices.GetCount());
    ExpectNoTemporaries(mesh);
}

TEST_F(MeshHeightSamplingTest, ElementClassPointsAreDrapedAndTheTerrainLevelLowered) {
    const API_Element mesh = PlaceRidge();
    BaseRSWCls road;
    road.element = mesh;
    double height = 0.0;
    // Three corners of this square lie beyond the east edge; only the first counts.
    ASSERT_TRUE(Run([&] { return CreateSquareElement(road, API_Coord{99.8, 30}, height); }));
    EXPECT_NEAR(height, mesh.mesh.level + Ridge(99.8, 30), 1e-6);
    EXPECT_FALSE(Run([&] { return CreateSquareElement(road, API_Coord{-5, 30}, height); }));

    road.chainA.Insert(QV_Coord3DLong{10, 10, 0, 0});
    road.chainA.Insert(QV_Coord3DLong{20, 10, 0, 2});
    road.chainB.Insert(QV_Coord3DLong{70, 50, 0, 0});
    ASSERT_TRUE(Run([&] { return BuildPointElementFromList(road); }));
    EXPECT_NEAR(road.chainA[1].z, mesh.mesh.level + Ridge(20, 10), 1e-6);
    EXPECT_EQ(road.chainA[1].code, 2);
    EXPECT_NEAR(road.chainB[0].z, mesh.mesh.level + Ridge(70, 50), 1e-6);
    road.chainB.Insert(QV_Coord3DLong{500, 50, 7, 0});
    EXPECT_FALSE(Run([&] { return BuildPointElementFromList(road); }));
    EXPECT_EQ(road.chainB[1].z, 7.0);
    ExpectNoTemporaries(mesh);

    // Only a negative level above the current skirt becomes the mesh's skirt; its base level never moves.
    road.element.mesh.level = -5.0;
    road.element.mesh.skirtLevel = -4.0;
    road.meshSkirt = -4.0;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(static_cast<void*>(&mask.mesh.level), 0xFF, sizeof mask.mesh.level);
    std::memset(static_cast<void*>(&mask.mesh.skirtLevel), 0xFF, sizeof mask.mesh.skirtLevel);
    ASSERT_EQ(Command([&] { return ChangeElement(&road.element, nullptr, &mask); }), NoError);
    for (double level : {1.0, -6.0}) {
        EXPECT_TRUE(Run([&] { return RaiseNegativeLevel(road, level); }));
        EXPECT_EQ(Db().Find(mesh.header.guid)->record.Get().mesh.skirtLevel, -4.0) << level;
    }
    EXPECT_TRUE(Run([&] { return RaiseNegativeLevel(road, -2.5); }));
    EXPECT_EQ(Db().Find(mesh.header.guid)->record.Get().mesh.skirtLevel, -2.5);
    EXPECT_EQ(Db().Find(mesh.header.guid)->record.Get().mesh.level, -5.0);
    EXPECT_EQ(road.meshSkirt, -2.5);
}

}  // namespace mesh_height_sampling_test
