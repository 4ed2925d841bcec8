// Reading an element's 3D model into polygons and vertices, and the inclination of its polygons, on the
// stand-in host's model of a mesh that is one known plane.
#include "ProjectHost.hpp"
#include "TerrainMeshes.hpp"
#include "geometry/PolygonInclination.hpp"
#include "geometry/project/ElementModelRead.hpp"

#include <cmath>
#include <random>

namespace element_model_read_test {

double Plane(double x, double y) { return 5.0 + 0.2 * x + 0.3 * y; }

double ExpectedInclination(const API_Coord3D& a, const API_Coord3D& b, const API_Coord3D& c) {
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    return std::acos(std::fabs(nz) / std::sqrt(nx * nx + ny * ny + nz * nz));
}

TEST(PolygonInclinationTest, TheAngleOfAPlaneIsDefinedForEveryRing) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int i = 0; i < 500; ++i) {
        const API_Coord3D a{u(rng), u(rng), u(rng)}, b{u(rng), u(rng), u(rng)}, c{u(rng), u(rng), u(rng)};
        const API_Coord3D ring[] = {a, b, c, a};
        EXPECT_NEAR(PolygonInclination(ring, 4), ExpectedInclination(a, b, c), 1e-9);
    }
    // A wall stands upright; a ring whose first three points lie on one line takes the plane of the others.
    const API_Coord3D wall[] = {{0, 0, 0}, {4, 0, 0}, {4, 0, 3}, {0, 0, 3}, {0, 0, 0}};
    EXPECT_NEAR(PolygonInclination(wall, 5), M_PI / 2, 1e-12);
    const API_Coord3D bent[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 2}, {0, 0, 0}};
    EXPECT_NEAR(PolygonInclination(bent, 5), M_PI / 4, 1e-12);
    // Two vertices, or one point: no plane, no NaN.
    const API_Coord3D twoPoints[] = {{0, 0, 0}, {1, 1, 1}};
    EXPECT_EQ(PolygonInclination(twoPoints, 2), 0.0);
    EXPECT_EQ(PolygonInclination(twoPoints, 1), 0.0);
}

class ElementModelReadTest : public ProjectHostTest {
protected:
    // A 40 x 30 plane with a few level points on it.
    API_Element PlacePlane() {
        std::vector<API_Coord3D> ring, levels;
        for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{40, 0}, API_Coord{40, 30}, API_Coord{0, 30}})
            ring.push_back(API_Coord3D{c.x, c.y, Plane(c.x, c.y)});
        for (const API_Coord& c : {API_Coord{10, 10}, API_Coord{25, 12}, API_Coord{31, 22}, API_Coord{8, 24}})
            levels.push_back(API_Coord3D{c.x, c.y, Plane(c.x, c.y)});
        API_Element mesh;
        EXPECT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, levels, {}, &mesh); }), NoError);
        return mesh;
    }
};

TEST_F(ElementModelReadTest, PolygonsAreTheSurfaceWithoutFloorAndSkirt) {
    const API_Element mesh = PlacePlane();
    std::vector<TerrainMeshes::Triangle> top;
    ASSERT_TRUE(TerrainMeshes::TopTriangles(mesh, &top));
    MeshBody body;
    // Read twice into one body: nothing of the first read stays.
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(ReadModelPolygons(body, mesh), 1);
        EXPECT_EQ(body.bodyParts.GetCount(), 1);
        ASSERT_EQ(body.polygons.GetCount(), int32_t(top.size()));
        ASSERT_EQ(body.polygonSizes.GetCount(), int32_t(top.size()));
        for (int32_t i = 0; i < body.polygons.GetCount(); ++i) {
            const QV_List<API_Coord3D>& ring = body.polygons[i].points;
            ASSERT_EQ(body.polygonSizes[i], ring.GetCount());
            EXPECT_EQ(ring.GetCount(), 4);  // a triangle that repeats its first vertex
            EXPECT_EQ(ring[0].x, ring[ring.GetCount() - 1].x);
            for (const API_Coord3D& p : ring) EXPECT_NEAR(p.z, mesh.mesh.level + Plane(p.x, p.y), 1e-9);
        }
    }
    ComputeTriangleNormalAngles(body);
    ASSERT_EQ(body.angles.GetCount(), body.polygons.GetCount());
    for (double a : body.angles) EXPECT_NEAR(a, std::atan(std::hypot(0.2, 0.3)), 1e-9);

    host->FailCall("Get3DComponent", -1, APIERR_GENERAL);
    EXPECT_EQ(ReadModelPolygons(body, mesh), 0);
}

TEST_F(ElementModelReadTest, VerticesAreTheSurfacePointsOfEveryBody) {
    const API_Element mesh = PlacePlane();
    MeshBody body;
    QV_List<API_Coord3D> out;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(ReadModelVertexList(body, mesh, out), 1);
        EXPECT_EQ(body.bodyParts.GetCount(), 1);
        EXPECT_EQ(out.GetCount(), 8);  // the outline's four corners and the four level points
        for (const API_Coord3D& p : out) EXPECT_NEAR(p.z, mesh.mesh.level + Plane(p.x, p.y), 1e-9);
    }
    host->FailCall("Element_Get3DInfo", -1, APIERR_GENERAL);
    EXPECT_EQ(ReadModelVertexList(body, mesh, out), 0);
    EXPECT_EQ(out.GetCount(), 8);
}

}  // namespace element_model_read_test
