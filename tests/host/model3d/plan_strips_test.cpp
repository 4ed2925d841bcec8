// Boxes that cover a face in plan strip by strip: every point of a random polygon lies in one of them, a long face
// across the axes is covered by far less than its one box, and a chain that takes only the terrain's columns near
// long thin bodies across it measures what the whole solid does. A cutting prism over an outline with a point per
// grid cell cuts what the prism over its corners does.
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/BodyClip.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/ExactSolid.hpp"
#include "model3d/PlanStrips.hpp"
#include "model3d/PrismBody.hpp"
#include "model3d/SolidBooleans.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace plan_strips_test {

constexpr double kPi = 3.14159265358979323846;

bool Covered(const std::vector<PlanBox>& boxes, double x, double y) {
    for (const PlanBox& b : boxes)
        if (b.xMin <= x && x <= b.xMax && b.yMin <= y && y <= b.yMax) return true;
    return false;
}

// A rectangle `length` by `width` about (cx, cy), its long side turned by `angle`.
std::vector<ModelPoint> Turned(double cx, double cy, double length, double width, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    std::vector<ModelPoint> ring;
    for (const auto& [u, v] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
        ring.push_back({cx + u * length * c - v * width * s, cy + u * length * s + v * width * c, 0.0});
    return ring;
}

TEST(PlanStripsTest, EveryPointOfARandomPolygonLiesInABox) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 300; ++round) {
        // Survey-sized coordinates, thin and fat, convex (a turned rectangle) or a star.
        const double cx = 5e5 + 1e4 * unit(rng), cy = 6.7e6 + 1e4 * unit(rng);
        std::vector<ModelPoint> ring;
        if (round % 2 == 0) {
            ring = Turned(cx, cy, 10.0 + 1000.0 * unit(rng), 0.01 + 20.0 * unit(rng), 2 * kPi * unit(rng));
        } else {
            const int n = 5 + int(12 * unit(rng));  // no gap of half a turn: the centre stays inside
            for (int k = 0; k < n; ++k) {
                const double a = 2 * kPi * (k + 0.8 * unit(rng)) / n, r = 5.0 + 300.0 * unit(rng);
                ring.push_back({cx + r * std::cos(a), cy + 0.2 * r * std::sin(a), 0.0});
            }
        }
        std::vector<PlanBox> boxes;
        StripBoxes(ring, &boxes);
        ASSERT_FALSE(boxes.empty());
        // Its corners, points along its sides, and points within (both shapes are star-shaped about their centre).
        for (size_t i = 0; i < ring.size(); ++i) {
            const ModelPoint &p = ring[i], &q = ring[(i + 1) % ring.size()];
            for (int k = 0; k < 40; ++k) {
                const double t = k == 0 ? 0.0 : unit(rng), w = unit(rng);
                const double x = p.x + t * (q.x - p.x), y = p.y + t * (q.y - p.y);
                EXPECT_TRUE(Covered(boxes, x, y)) << "round " << round << " side " << i;
                EXPECT_TRUE(Covered(boxes, cx + w * (x - cx), cy + w * (y - cy))) << "round " << round;
            }
        }
    }
}

TEST(PlanStripsTest, ALongFaceAcrossTheAxesIsCoveredByLittleMoreThanItself) {
    const std::vector<ModelPoint> ring = Turned(1000.0, 2000.0, 500.0, 8.0, kPi / 4);
    std::vector<PlanBox> boxes;
    StripBoxes(ring, &boxes);
    double area = 0.0;
    for (const PlanBox& b : boxes) area += (b.xMax - b.xMin) * (b.yMax - b.yMin);
    // One box would cover 254^2 / 2 times 4, some 129,000 m2; the face is 4,000 m2.
    EXPECT_LT(area, 4 * 500.0 * 8.0);
}

class PlanStripsChainTest : public ProjectHostTest {};

// A prism over a plan ring from z0 to z1.
ModelBody Prism(const std::vector<ModelPoint>& ring, double z0, double z1) {
    BodyBuilder b;
    std::vector<int32_t> low, high;
    for (const ModelPoint& p : ring) low.push_back(b.AddVertex({p.x, p.y, z0}));
    for (const ModelPoint& p : ring) high.push_back(b.AddVertex({p.x, p.y, z1}));
    const size_t n = ring.size();
    for (size_t k = 1; k + 1 < n; ++k) {
        b.AddTriangle(low[0], low[k + 1], low[k]);
        b.AddTriangle(high[0], high[k], high[k + 1]);
    }
    for (size_t k = 0; k < n; ++k) b.AddPolygon({low[k], low[(k + 1) % n], high[(k + 1) % n], high[k]});
    return b.Finish();
}

TEST_F(PlanStripsChainTest, ColumnsNearLongThinBodiesMeasureWhatTheWholeSolidDoes) {
    // A rough terrain of 41 x 41 points 2.5 m apart.
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<API_Coord3D> points;
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j) points.push_back({i * 2.5, j * 2.5, 20.0 + 3.0 * std::sin(i * 0.3) + unit(rng)});
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &mesh), NoError) << Db().LastRefusal();
    ModelStore& models = host->Project().models;
    std::string why;
    const std::shared_ptr<const ModelBody> base = models.MeshSolidOf(mesh, &why);
    ASSERT_TRUE(base) << why;
    std::vector<LinkStep> none;
    int32_t surfaceVertices = 0;
    ASSERT_TRUE(models.MeshStepsOf(mesh, &none, &surfaceVertices, &why)) << why;
    for (int round = 0; round < 12; ++round) {
        // Strips across the terrain, taking from above and adding below its heights.
        std::vector<LinkStep> steps;
        for (int k = 0; k < 3; ++k) {
            LinkStep step;
            step.operation = k == 1 ? APISolid_Add : APISolid_SubtractUpwards;
            const std::vector<ModelPoint> ring =
                Turned(20.0 + 60.0 * unit(rng), 20.0 + 60.0 * unit(rng), 40.0 + 60.0 * unit(rng), 0.5 + 2.0 * unit(rng),
                       2 * kPi * unit(rng));
            const double z = 18.0 + 6.0 * unit(rng);
            step.bodies.push_back(k == 1 ? Prism(ring, z - 4.0, z) : Prism(ring, z, z + 4.0));
            steps.push_back(std::move(step));
        }
        EarthworkChain near, whole;
        ASSERT_EQ(near.Run(base, surfaceVertices, steps, false, &why), NoError) << why;
        ASSERT_TRUE(near.Partial()) << "round " << round;
        ASSERT_EQ(whole.Run(base, surfaceVertices, steps, true, &why), NoError) << why;
        EXPECT_EQ(near.Volume(), whole.Volume()) << "round " << round;
    }
}

TEST(PlanStripsClipTest, AnOutlineWithAPointPerCellCutsWhatItsCornersCut) {
    // The outline of a 100 x 60 grid of 2.5 m cells with a notch in its top (a point per cell along each side),
    // and of its corners alone.
    PlanRing dense, corners;
    const auto run = [&](double x0, double y0, double x1, double y1) {
        const int n = int(std::lround(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)) / 2.5));
        for (int k = 0; k < n; ++k) dense.points.push_back({x0 + (x1 - x0) * k / n, y0 + (y1 - y0) * k / n, 0.0});
        corners.points.push_back({x0, y0, 0.0});
    };
    run(0, 0, 100, 0);
    run(100, 0, 100, 60);
    run(100, 60, 60, 60);
    run(60, 60, 60, 45);
    run(60, 45, 40, 45);
    run(40, 45, 40, 60);
    run(40, 60, 0, 60);
    run(0, 60, 0, 0);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 20; ++round) {
        // A thin body reaching out over the outline somewhere, every other one across the notch.
        const bool notch = round % 2 == 0;
        const double cx = notch ? 35.0 + 30.0 * unit(rng) : 100.0 * unit(rng);
        const double cy = notch ? 40.0 + 20.0 * unit(rng) : 60.0 * unit(rng);
        const ModelBody body = Prism(
            Turned(cx, cy, 30.0 + 50.0 * unit(rng), 1.0 + 3.0 * unit(rng), 2 * kPi * unit(rng)), 1.0, 2.0 + unit(rng));
        ModelBody clipped, prismBody;
        std::string why;
        ASSERT_TRUE(ClipBodyToPrism(body, {dense}, 0.0, 10.0, &clipped, &why)) << why;
        // The same cut made here, with the prism over the corners.
        ASSERT_TRUE(PrismBody({corners}, 0.0, 10.0, &prismBody, &why)) << why;
        ExactSolid solid, prism, meet, got;
        ASSERT_TRUE(SolidFromBody(body, &solid) && SolidFromBody(prismBody, &prism));
        ASSERT_TRUE(Combine(solid, prism, SolidOperation::Intersection, meet));
        const double expected = meet.number_of_faces() == 0 ? 0.0 : RoundedVolume(ExactVolume(meet));
        double measured = 0.0;
        if (!clipped.vertices.empty()) {
            ASSERT_TRUE(SolidFromBody(clipped, &got));
            measured = RoundedVolume(ExactVolume(got));
        }
        EXPECT_NEAR(measured, expected, 1e-9 * expected) << "round " << round;
        if (notch) {
            EXPECT_GT(expected, 0.0) << "round " << round;
        }
    }
}

}  // namespace plan_strips_test
