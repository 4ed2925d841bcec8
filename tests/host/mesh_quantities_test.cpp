// A mesh's volume as the host computes it: its solid from the floor up to its surface, and what each kind of solid
// link does to it, against closed forms over the plane z = 10 + 0.1x + 0.05y.
#include "ProjectHost.hpp"
#include "model3d/MeshQuantities.hpp"
#include "assembly/HostProject.hpp"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace mesh_quantities_test {

double Plane(double x, double y) { return 10.0 + 0.1 * x + 0.05 * y; }

class MeshQuantitiesTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::vector<API_Coord3D> points;
        for (int x = 0; x <= 40; x += 10)
            for (int y = 0; y <= 20; y += 10) points.push_back({double(x), double(y), Plane(x, y)});
        ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "M", &mesh), NoError);
    }
    GSErrCode Volume(const API_Guid& guid, double* v) {
        API_ElementQuantity q;
        API_QuantityPar p = {1e-5};
        const GSErrCode err = ACAPI_Element_GetQuantities(guid, &p, &q);
        *v = q.mesh.volume;
        return err;
    }
    API_Guid Box(double x0, double y0, double x1, double y1, double z0, double z1) {
        return PlaceBox(x0, y0, x1, y1, z0, z1);
    }
    GSErrCode Link(const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(mesh, op, operation, 1); });
    }
    API_Guid mesh = {};
};

TEST_F(MeshQuantitiesTest, TheSolidAndWhatEachLinkTakesOrAdds) {
    // The solid stands on the mesh's level, 0 here.
    const double floor = 0.0;
    double v = 0.0;
    ASSERT_EQ(Volume(mesh, &v), NoError);
    EXPECT_NEAR(v, 800.0 * (Plane(20, 10) - floor), 1e-6);

    // Upward subtraction of a box reaching below the solid takes its column above the box's underside; the floor
    // then lies 1 below the box, for every mesh and however many links remain, so that volumes differ by the
    // links alone.
    ASSERT_EQ(Link(Box(10, 0, 20, 10, -1.0, 11.0), APISolid_SubtractUpwards), NoError);
    const double lower = -2.0;
    double cut = 0.0;
    ASSERT_EQ(Volume(mesh, &cut), NoError);
    EXPECT_NEAR(cut, 800.0 * (Plane(20, 10) - lower) - 100.0 * (Plane(15, 5) + 1.0), 1e-6);
    v += 800.0 * (floor - lower);

    // A box inside what is left adds nothing; one over the surface adds what lies above it.
    ASSERT_EQ(Link(Box(30, 10, 40, 20, 9.5, 10.0), APISolid_Add), NoError);
    double same = 0.0;
    ASSERT_EQ(Volume(mesh, &same), NoError);
    EXPECT_NEAR(same, cut, 1e-6);
    ASSERT_EQ(Link(Box(30, 0, 40, 10, 12.0, 20.0), APISolid_Add), NoError);
    double filled = 0.0;
    ASSERT_EQ(Volume(mesh, &filled), NoError);
    EXPECT_NEAR(filled - cut, 100.0 * (20.0 - Plane(35, 5)), 1e-6);

    // Nothing to measure on what is no mesh.
    EXPECT_NE(Volume(PlaceObject(API_ObjectID, libA, "O"), &v), NoError);
    API_Guid none = {};
    none.time_low = 0xDEAD;
    EXPECT_NE(Volume(none, &v), NoError);
}

TEST_F(MeshQuantitiesTest, VolumesAfterLinksComeAndGoAreThoseBuiltFromNothing) {
    // Boxes that cut and add across the mesh and each other, linked and unlinked in random orders: every volume
    // the host answers is, to the bit, the one a host without kept solids computes.
    std::srand(5);
    std::vector<std::pair<API_Guid, uint32_t>> ops;
    for (int k = 0; k < 6; ++k) {
        const double x = 2.0 + 5.0 * k, y = 1.0 + 2.0 * (k % 3);
        const bool cut = k % 2 == 0;
        ops.push_back({Box(x, y, x + 9.0, y + 8.0, cut ? 11.0 : 9.0, cut ? 30.0 : 14.0),
                       cut ? APISolid_SubtractUpwards : APISolid_Add});
    }
    std::vector<bool> linked(ops.size(), false);
    for (int round = 0; round < 30; ++round) {
        const size_t k = size_t(std::rand()) % ops.size();
        ASSERT_EQ(Command([&] {
                      return linked[k] ? ACAPI_Element_SolidLink_Remove(mesh, ops[k].first)
                                       : ACAPI_Element_SolidLink_Create(mesh, ops[k].first, ops[k].second, 1);
                  }),
                  NoError);
        linked[k] = !linked[k];
        double kept = 0.0, again = 0.0, fresh = 0.0;
        ASSERT_EQ(Volume(mesh, &kept), NoError);
        ASSERT_EQ(Volume(mesh, &again), NoError);
        MeshVolumes none;
        std::string why;
        ASSERT_EQ(none.Volume(Db(), host->Project().models, mesh, &fresh, &why), NoError) << why;
        ASSERT_EQ(kept, fresh) << "round " << round;
        ASSERT_EQ(again, fresh) << "round " << round;
    }
}

TEST_F(MeshQuantitiesTest, ColumnsNearTheBodiesGiveTheWholeSolidsVolumesToTheBit) {
    // An uneven terrain with heights that are no binary fractions, boxes that cut and add across it, along its
    // grid lines, over its border and beside it, linked and unlinked in random orders: every volume the host
    // answers from the columns near the bodies is, to the bit, the one computed on the whole solid.
    std::srand(11);
    std::vector<API_Coord3D> points;
    for (int x = 0; x <= 120; x += 10)
        for (int y = 0; y <= 120; y += 10) {
            const double jitter = double(std::rand() % 200) / 100.0;
            points.push_back(
                {double(x), double(y), 20.0 + 5.0 * std::sin(x / 17.0) + 3.0 * std::cos(y / 11.0) + jitter});
        }
    API_Guid terrain = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "R", &terrain), NoError);
    const auto coordinate = [] {
        // Every third on a grid line, through the terrain's vertices; some past its border.
        const double c = -20.0 + double(std::rand() % 1400) / 10.0;
        return std::rand() % 3 == 0 ? 10.0 * std::round(c / 10.0) : c;
    };
    std::vector<std::pair<API_Guid, uint32_t>> ops;
    for (int k = 0; k < 9; ++k) {
        const bool cut = k % 2 == 0;
        const double x = coordinate(), y = coordinate();
        const double w = 5.0 + double(std::rand() % 300) / 10.0, d = 5.0 + double(std::rand() % 300) / 10.0;
        const double z = cut ? 15.0 + double(std::rand() % 100) / 10.0 : 5.0 + double(std::rand() % 200) / 10.0;
        ops.push_back({Box(x, y, x + w, y + d, z, z + 5.0 + double(std::rand() % 300) / 10.0),
                       cut ? APISolid_SubtractUpwards : APISolid_Add});
    }
    ops.push_back({Box(200, 10, 210, 20, 0, 40), APISolid_Add});  // beside the terrain: the whole solid
    std::vector<bool> linked(ops.size(), false);
    MeshVolumes whole(MeshVolumes::Solids::Whole);
    for (int round = 0; round < 40; ++round) {
        const size_t k = size_t(std::rand()) % ops.size();
        ASSERT_EQ(Command([&] {
                      return linked[k] ? ACAPI_Element_SolidLink_Remove(terrain, ops[k].first)
                                       : ACAPI_Element_SolidLink_Create(terrain, ops[k].first, ops[k].second, 1);
                  }),
                  NoError);
        linked[k] = !linked[k];
        double parts = 0.0, reference = 0.0;
        std::string why;
        ASSERT_EQ(Volume(terrain, &parts), NoError) << "round " << round;
        ASSERT_EQ(whole.Volume(Db(), host->Project().models, terrain, &reference, &why), NoError) << why;
        ASSERT_EQ(parts, reference) << "round " << round;
    }
    EXPECT_GT(host->Project().volumes.PartAnswers(), 20);
    EXPECT_EQ(whole.PartAnswers(), 0);
}

TEST_F(MeshQuantitiesTest, AMeshWithTheSameInputsSharesTheSurfaceUntilItChanges) {
    // A second mesh of the same points (as the volume calculation's copy of a terrain) is built from the first's
    // surface: no second triangulation, the same volume. Once one of them changes, each has its own.
    std::vector<API_Coord3D> points;
    for (int x = 0; x <= 40; x += 10)
        for (int y = 0; y <= 20; y += 10) points.push_back({double(x), double(y), Plane(x, y)});
    ModelStore& models = host->Project().models;
    double first = 0.0, second = 0.0;
    ASSERT_EQ(Volume(mesh, &first), NoError);
    const int builds = models.SurfaceBuilds();
    API_Guid copy = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "C", &copy), NoError);
    ASSERT_EQ(Volume(copy, &second), NoError);
    EXPECT_EQ(models.SurfaceBuilds(), builds);
    EXPECT_EQ(second, first);
    ASSERT_EQ(Db().AddMeshLevelLine(copy, {{5, 5, 30}, {35, 15, 30}}), NoError);
    ASSERT_EQ(Volume(copy, &second), NoError);
    EXPECT_EQ(models.SurfaceBuilds(), builds + 1);
    EXPECT_GT(second, first);
    ASSERT_EQ(Volume(mesh, &first), NoError);
    EXPECT_NEAR(first, 800.0 * Plane(20, 10), 1e-6);
}

}  // namespace mesh_quantities_test
