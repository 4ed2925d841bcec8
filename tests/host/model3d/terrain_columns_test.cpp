// A terrain's solid seen as columns: what the columns a part leaves out hold is, exactly, what an integration over
// their triangles written here gives, on heights of both signs and far apart (the size of terrain whose loops run
// in ranges at once); solids of another form are refused.
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/TerrainColumns.hpp"

#include <gmpxx.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace terrain_columns_test {

class TerrainColumnsTest : public ProjectHostTest {
protected:
    // A mesh of k x k points 2 m apart, each height drawn from [low, high].
    void Terrain(int k, double low, double high, uint32_t seed) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> z(low, high);
        std::vector<API_Coord3D> points;
        for (int i = 0; i < k; ++i)
            for (int j = 0; j < k; ++j) points.push_back({i * 2.0, j * 2.0, z(rng)});
        API_Guid mesh = {};
        ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &mesh), NoError) << Db().LastRefusal();
        std::string why;
        base = host->Project().models.MeshSolidOf(mesh, &why);
        ASSERT_TRUE(base) << why;
        std::vector<LinkStep> none;
        ASSERT_TRUE(host->Project().models.MeshStepsOf(mesh, &none, &surfaceVertices, &why)) << why;
    }
    std::shared_ptr<const ModelBody> base;
    int32_t surfaceVertices = 0;
};

TEST_F(TerrainColumnsTest, TheColumnsLeftOutHoldWhatTheirTrianglesDo) {
    // 180,000 triangles, heights from -6 to 40 m: neighbours of both signs and many times apart.
    Terrain(301, -6.0, 40.0, 5);
    ASSERT_TRUE(base);
    const std::unique_ptr<TerrainColumns> columns = TerrainColumns::Of(base, surfaceVertices);
    ASSERT_TRUE(columns);
    // The top triangles in the solid's order, as the columns number them.
    std::vector<std::vector<int32_t>> tops;
    for (int32_t p = 1; p <= int32_t(base->pgons.size()); ++p) {
        const std::vector<int32_t> ring = base->PolygonVertices(p);
        if (ring.size() == 3 && ring[0] <= surfaceVertices && ring[1] <= surfaceVertices && ring[2] <= surfaceVertices)
            tops.push_back(ring);
    }
    const mpq_class floor(base->vertices[size_t(surfaceVertices)].z);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> at(0.0, 600.0), size(1.0, 150.0);
    for (int round = 0; round < 3; ++round) {
        std::vector<PlanBox> boxes;
        for (int k = 0; k <= round; ++k) {
            const double x = at(rng), y = at(rng);
            boxes.push_back({x, y, x + size(rng), y + size(rng) / 10});
        }
        TerrainColumns::Part part;
        ASSERT_TRUE(columns->PartNear(boxes, TerrainColumns::Floor::Flat, &part));
        ASSERT_EQ(part.held.size(), tops.size());
        mpq_class expected = 0;
        size_t left = 0;
        for (size_t t = 0; t < tops.size(); ++t) {
            if (part.held[t]) continue;
            ++left;
            const ModelPoint &a = base->vertices[size_t(tops[t][0] - 1)], &b = base->vertices[size_t(tops[t][1] - 1)],
                             &c = base->vertices[size_t(tops[t][2] - 1)];
            const mpq_class twiceArea =
                (mpq_class(b.x) - a.x) * (mpq_class(c.y) - a.y) - (mpq_class(c.x) - a.x) * (mpq_class(b.y) - a.y);
            expected += twiceArea * (mpq_class(a.z) + b.z + c.z - 3 * floor);
        }
        expected /= 6;
        EXPECT_GT(left, tops.size() / 2);
        EXPECT_LT(left, tops.size());
        EXPECT_EQ(part.restVolume, expected) << "round " << round;
    }
}

TEST_F(TerrainColumnsTest, ASolidOfAnotherFormIsRefused) {
    Terrain(12, 10.0, 14.0, 1);
    ASSERT_TRUE(base);
    ASSERT_TRUE(TerrainColumns::Of(base, surfaceVertices));
    const auto refused = [&](const char* what, ModelBody body) {
        EXPECT_FALSE(TerrainColumns::Of(std::make_shared<const ModelBody>(std::move(body)), surfaceVertices)) << what;
    };
    // A triangle whose sides are listed out of turn: each edge is still run once each way.
    ModelBody shuffled = *base;
    const auto& pg = shuffled.pgons[0];
    std::swap(shuffled.pedges[size_t(pg.first)], shuffled.pedges[size_t(pg.first + 1)]);
    refused("sides out of turn", shuffled);
    // A side that belongs to no polygon, with no edge.
    ModelBody extra = *base;
    extra.pedges.push_back(0);
    refused("a side of no polygon", extra);
    // An edge to a vertex the body does not have.
    ModelBody far = *base;
    far.edges[0].second = int32_t(far.vertices.size()) + 5;
    refused("an edge to no vertex", far);
    // A top triangle turned over.
    ModelBody turned = *base;
    for (size_t p = 0; p < turned.pgons.size(); ++p) {
        const std::vector<int32_t> ring = turned.PolygonVertices(int32_t(p + 1));
        if (ring.size() != 3 || ring[0] > surfaceVertices || ring[1] > surfaceVertices || ring[2] > surfaceVertices)
            continue;
        turned.vertices[size_t(ring[0] - 1)].x = turned.vertices[size_t(ring[1] - 1)].x;
        turned.vertices[size_t(ring[0] - 1)].y = turned.vertices[size_t(ring[1] - 1)].y;
        break;
    }
    refused("a top triangle with no area", turned);
}

}  // namespace terrain_columns_test
