// The box of a terrain whose links cut and join, asked before its solid is computed, against the box of the model
// the operations then read back: over random uneven terrains and random edits (links made, taken away), with
// bodies inside the terrain, past its highest or lowest point, over its border and reaching down through it, they
// are the same six numbers, whether the box came from the bodies alone (with a raster kept from an earlier question
// or not) or from the operations.
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/LinkedSurfaceBox.hpp"
#include "model3d/ModelStore.hpp"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace linked_bounds_test {

// The box of the model read back: the mesh body's surface, every other body whole.
API_Box3D ReadBackBox(const Model3D& model) {
    API_Box3D box = {};
    bool any = false;
    for (size_t k = 0; k < model.bodies.size(); ++k) {
        const ModelBody& b = model.bodies[k];
        const size_t n = k == 0 && model.surfaceVertices >= 0 ? size_t(model.surfaceVertices) : b.vertices.size();
        for (size_t i = 0; i < n; ++i) {
            const ModelPoint& p = b.vertices[i];
            if (!any) box = {p.x, p.y, p.z, p.x, p.y, p.z};
            any = true;
            box = {std::min(box.xMin, p.x), std::min(box.yMin, p.y), std::min(box.zMin, p.z),
                   std::max(box.xMax, p.x), std::max(box.yMax, p.y), std::max(box.zMax, p.z)};
        }
    }
    return box;
}

bool Same(const API_Box3D& a, const API_Box3D& b) {
    return a.xMin == b.xMin && a.yMin == b.yMin && a.zMin == b.zMin && a.xMax == b.xMax && a.yMax == b.yMax &&
        a.zMax == b.zMax;
}

class LinkedBoundsTest : public ProjectHostTest {
protected:
    API_Guid Box(double x0, double y0, double x1, double y1, double z0, double z1) {
        return PlaceBox(x0, y0, x1, y1, z0, z1);
    }
    ModelStore& Models() { return host->Project().models; }
    // The mesh's box from its solid and its links' bodies (`known`: whether it can be had so; with `kept`'s raster
    // too, into `fromKept`), and the box of the model the operations read back.
    void Boxes(const API_Guid& mesh, bool* known, API_Box3D* fromBodies, API_Box3D* read,
               LinkedSurfaceCache* kept = nullptr, API_Box3D* fromKept = nullptr) {
        std::string why;
        std::vector<LinkStep> steps;
        int32_t surfaceVertices = 0;
        ASSERT_TRUE(Models().MeshStepsOf(mesh, &steps, &surfaceVertices, &why)) << why;
        const std::shared_ptr<const ModelBody> solid = Models().MeshSolidOf(mesh, &why);
        ASSERT_TRUE(solid) << why;
        *known = LinkedSurfaceBox(*solid, surfaceVertices, steps, fromBodies);
        if (kept != nullptr) {
            ASSERT_EQ(LinkedSurfaceBox(solid, surfaceVertices, steps, fromKept, kept), *known);
        }
        const std::shared_ptr<const Model3D> model = Models().ModelOf(mesh, &why);
        ASSERT_TRUE(model) << why;
        *read = ReadBackBox(*model);
    }
};

TEST_F(LinkedBoundsTest, TheBoxBeforeTheOperationsIsTheBoxTheyReadBack) {
    std::mt19937 rng(51);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int derived = 0, asked = 0;
    // Kept over every round and edit: it serves the same solid again and never another.
    LinkedSurfaceCache kept;
    for (int round = 0; round < 4; ++round) {
        std::vector<API_Coord3D> points;
        const double tilt = 2.0 * unit(rng);
        for (int i = 0; i <= 11; ++i)
            for (int j = 0; j <= 11; ++j) points.push_back({i * 10.0, j * 10.0, 15.0 + tilt * i + 8.0 * unit(rng)});
        API_Guid mesh = {};
        ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &mesh), NoError) << Db().LastRefusal();
        std::vector<API_Guid> linked;
        for (int edit = 0; edit < 14; ++edit) {
            if (linked.size() > 3 || (!linked.empty() && rng() % 4 == 0)) {
                const size_t at = rng() % linked.size();
                const API_Guid op = linked[at];
                ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
                linked.erase(linked.begin() + long(at));
            } else {
                // Mostly inside the terrain and between its heights (a join reaching down into it); now and then
                // anywhere: over its border, past its highest or lowest point; or a downward subtraction.
                const uint32_t draw = uint32_t(rng() % 10);
                const bool wild = draw == 0;
                const double x0 = wild ? -8.0 + 112.0 * unit(rng) : 12.0 + 80.0 * unit(rng);
                const double y0 = wild ? -8.0 + 112.0 * unit(rng) : 12.0 + 80.0 * unit(rng);
                const double x1 = x0 + 2.0 + (wild ? 30.0 : 10.0) * unit(rng);
                const double y1 = y0 + 2.0 + (wild ? 30.0 : 10.0) * unit(rng);
                const uint32_t operation = draw == 1 ? APISolid_SubtractDownwards
                    : draw % 2 == 0                  ? APISolid_SubtractUpwards
                                                     : APISolid_Add;
                const double z0 = wild                      ? -5.0 + 45.0 * unit(rng)
                    : operation == APISolid_SubtractUpwards ? 30.0 + 5.0 * unit(rng)
                                                            : 5.0 * unit(rng);
                const double z1 = wild ? z0 + 1.0 + 30.0 * unit(rng) : 30.0 + 5.0 * unit(rng);
                const API_Guid op = Box(x0, y0, std::min(x1, 118.0), std::min(y1, 118.0), z0, z1);
                ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Create(mesh, op, operation, 1); }), NoError);
                linked.push_back(op);
            }
            // Asked first, while the operations wait.
            API_Box3D bounds = {};
            ASSERT_TRUE(Models().Bounds(mesh, &bounds));
            bool known = false;
            API_Box3D fromBodies = {}, fromKept = {}, read = {};
            ASSERT_NO_FATAL_FAILURE(Boxes(mesh, &known, &fromBodies, &read, &kept, &fromKept));
            EXPECT_TRUE(Same(bounds, read)) << "round " << round << " edit " << edit;
            if (known) {
                EXPECT_TRUE(Same(fromBodies, read)) << "round " << round << " edit " << edit;
                EXPECT_TRUE(Same(fromKept, read)) << "round " << round << " edit " << edit;
                ++derived;
            }
            ++asked;
        }
    }
    // Both ways were taken.
    EXPECT_GT(derived, asked / 5);
    EXPECT_LT(derived, asked);
}

// A terrain of 135,000 triangles, whose faces are rastered in ranges at once: the box from the bodies is the box
// read back, for joins and cuts over its middle; and a join under the higher of two spikes far apart is not taken
// for one that leaves the terrain's top to the lower.
TEST_F(LinkedBoundsTest, ALargeTerrainsBoxIsTheBoxTheOperationsReadBack) {
    std::mt19937 rng(8);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int derived = 0;
    for (const double spikeAt : {25.0, 225.0}) {
        std::vector<API_Coord3D> points;
        for (int i = 0; i < 260; ++i)
            for (int j = 0; j < 260; ++j) {
                const double spike = i == j && (i == 25 || i == 225) ? (i == spikeAt ? 40.0 : 20.0) : 0.0;
                points.push_back(
                    {i * 2.0, j * 2.0, 40.0 + 10.0 * std::sin(i * 0.05) * std::cos(j * 0.04) + unit(rng) + spike});
            }
        API_Guid mesh = {};
        ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &mesh), NoError) << Db().LastRefusal();
        for (int edit = 0; edit < 3; ++edit) {
            // Two in the middle, then one under the higher spike.
            const double x0 = edit == 2 ? 2.0 * spikeAt - 10.0 : 150.0 + 200.0 * unit(rng);
            const double y0 = edit == 2 ? x0 : 150.0 + 200.0 * unit(rng);
            const bool join = edit != 1;
            const API_Guid op =
                Box(x0, y0, x0 + 20.0, y0 + 30.0, join ? 32.0 : 44.0, join ? 40.0 + 6.0 * unit(rng) : 49.0);
            ASSERT_EQ(Command([&] {
                          return ACAPI_Element_SolidLink_Create(mesh, op,
                                                                join ? APISolid_Add : APISolid_SubtractUpwards, 1);
                      }),
                      NoError);
            bool known = false;
            API_Box3D fromBodies = {}, read = {};
            ASSERT_NO_FATAL_FAILURE(Boxes(mesh, &known, &fromBodies, &read));
            if (!known) continue;
            ++derived;
            EXPECT_TRUE(Same(fromBodies, read)) << "spike at " << spikeAt << ", edit " << edit;
        }
    }
    EXPECT_GT(derived, 0);
}

}  // namespace linked_bounds_test
