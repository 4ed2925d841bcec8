// A terrain mesh built in the stand-in host from the points of a real elevation grid (a window of a DEM in UTM
// metres): heights sampled through the module at random plan points are the triangulated surface's heights, and
// the sampling leaves no temporary slab or link behind.
#include "ProjectHost.hpp"
#include "AscGrid.hpp"
#include "TerrainMeshes.hpp"
#include "elements/MeshHeightSampling.hpp"

#include <random>

namespace dem_sampling_integration_test {

class DemSamplingTest : public ProjectHostTest {};

TEST_F(DemSamplingTest, SampledHeightsAreTheSurfaceOfTheRealGrid) {
    AscGrid grid;
    std::string why;
    ASSERT_TRUE(ReadAscGrid(TestSupport::DataDir() + "/asc/elev_window.asc", grid, &why)) << why;
    // The cell centres: the border ring is the outline, the others are level points.
    const int n = 24;
    std::vector<API_Coord3D> ring, levels;
    for (int c = 0; c < n; ++c) ring.push_back({grid.X(c), grid.Y(n - 1), grid.At(n - 1, c)});
    for (int r = n - 2; r > 0; --r) ring.push_back({grid.X(n - 1), grid.Y(r), grid.At(r, n - 1)});
    for (int c = n - 1; c >= 0; --c) ring.push_back({grid.X(c), grid.Y(0), grid.At(0, c)});
    for (int r = 1; r < n - 1; ++r) ring.push_back({grid.X(0), grid.Y(r), grid.At(r, 0)});
    for (int r = 1; r < n - 1; ++r)
        for (int c = 1; c < n - 1; ++c) levels.push_back({grid.X(c), grid.Y(r), grid.At(r, c)});
    API_Element mesh;
    ASSERT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, levels, {}, &mesh); }), NoError);
    std::vector<TerrainMeshes::Triangle> surface;
    ASSERT_TRUE(TerrainMeshes::TopTriangles(mesh, &surface));
    ASSERT_EQ(surface.size(), size_t(2 * (n - 1) * (n - 1)));

    // Random plan points, and some grid points (vertices of the surface).
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> ux(grid.X(0), grid.X(n - 1)), uy(grid.Y(n - 1), grid.Y(0));
    QV_List<QV_Coord3DLong> points;
    for (int i = 0; i < 150; ++i) points.Insert(QV_Coord3DLong{ux(rng), uy(rng), 0.0, 0});
    for (int i = 0; i < 10; ++i) points.Insert(QV_Coord3DLong{grid.X(1 + 2 * i), grid.Y(3 + i), 0.0, 0});
    MeshBody body;
    double zMin = 0.0, zMax = 0.0;
    bool ok = false;
    Command([&] {
        ok = SampleMeshHeights(body, mesh, points, zMin, zMax);
        return NoError;
    });
    ASSERT_TRUE(ok);
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        double expected = 0.0;
        ASSERT_TRUE(TerrainMeshes::HeightOn(surface, points[i].x, points[i].y, &expected));
        EXPECT_NEAR(points[i].z, expected, 1e-6) << i;
    }
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(points[150 + i].z, mesh.mesh.level + grid.At(3 + i, 1 + 2 * i), 1e-6);

    GS::Array<API_Guid> slabs, operators;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);
    ACAPI_Element_SolidLink_GetOperators(mesh.header.guid, &operators);
    EXPECT_EQ(operators.GetSize(), 0u);
}

}  // namespace dem_sampling_integration_test
