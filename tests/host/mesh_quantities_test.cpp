// A mesh's volume as the host computes it: its solid from the floor up to its surface, and what each kind of solid
// link does to it, against closed forms over the plane z = 10 + 0.1x + 0.05y.
#include "ProjectHost.hpp"
#include "model3d/MeshQuantities.hpp"
#include "project/HostProject.hpp"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

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
        const API_Guid g = PlaceObject(API_ObjectID, libA, "");
        StoredBody b;
        b.vertices = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                      {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
        b.polygons = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
        EXPECT_EQ(Db().GiveBodies(g, {b}), NoError);
        return g;
    }
    GSErrCode Link(const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(mesh, op, operation, 1); });
    }
    API_Guid mesh = {};
};

}  // namespace

TEST_F(MeshQuantitiesTest, TheSolidAndWhatEachLinkTakesOrAdds) {
    // The solid stands on the mesh's level, 0 here.
    const double floor = 0.0;
    double v = 0.0;
    ASSERT_EQ(Volume(mesh, &v), NoError);
    EXPECT_NEAR(v, 800.0 * (Plane(20, 10) - floor), 1e-6);

    // Upward subtraction of a box standing through the whole solid takes its column, floor to surface.
    ASSERT_EQ(Link(Box(10, 0, 20, 10, -1.0, 11.0), APISolid_SubtractUpwards), NoError);
    double cut = 0.0;
    ASSERT_EQ(Volume(mesh, &cut), NoError);
    EXPECT_NEAR(v - cut, 100.0 * (Plane(15, 5) - floor), 1e-6);

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
