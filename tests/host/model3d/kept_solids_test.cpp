// A terrain's solid links computed by one chain kept over many edits (links added, taken away, moved, and their
// bodies numbered afresh with the same shapes) against a chain computed anew for each state: the volumes are the
// same number, a volume asked between runs leaves the body the latest run read, and the bodies bound the same
// solid.
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ModelStore.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kept_solids_test {

struct BoxStep {
    uint32_t operation = APISolid_SubtractUpwards;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, z0 = 0, z1 = 0;
    uint32_t numbering = 0;  // the order its corners are numbered in
};

// The box as a body, its corners numbered in an order drawn from `numbering`.
ModelBody BoxBody(const BoxStep& s) {
    std::array<int, 8> order;
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 shuffle(s.numbering);
    std::shuffle(order.begin(), order.end(), shuffle);
    BodyBuilder b;
    std::array<int32_t, 8> v = {};
    for (int k : order)
        v[size_t(k)] = b.AddVertex({(k & 1) ? s.x1 : s.x0, (k & 2) ? s.y1 : s.y0, (k & 4) ? s.z1 : s.z0});
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces)
        for (int t = 0; t < 2; ++t) b.AddTriangle(v[size_t(f[0])], v[size_t(f[1 + t])], v[size_t(f[2 + t])]);
    return b.Finish();
}

std::vector<LinkStep> StepsOf(const std::vector<BoxStep>& boxes) {
    std::vector<LinkStep> steps;
    for (const BoxStep& s : boxes) {
        LinkStep step;
        step.operation = s.operation;
        step.bodies.push_back(BoxBody(s));
        steps.push_back(std::move(step));
    }
    return steps;
}

// A body's volume, its solid measured by a chain of no steps.
double VolumeOfBody(const ModelBody& body, int32_t surfaceVertices) {
    EarthworkChain chain;
    std::string why;
    EXPECT_EQ(chain.Run(std::make_shared<const ModelBody>(body), surfaceVertices, {}, true, &why), NoError) << why;
    return chain.Volume();
}

std::pair<double, double> ZRange(const ModelBody& body) {
    std::pair<double, double> range = {1e300, -1e300};
    for (const ModelPoint& p : body.vertices) range = {std::min(range.first, p.z), std::max(range.second, p.z)};
    return range;
}

class KeptSolidsTest : public ProjectHostTest {
protected:
    // A sloping terrain of 9 x 9 points 10 m apart: its solid and the count of its surface's vertices.
    void PlaceTerrain() {
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 8; ++i)
            for (int j = 0; j <= 8; ++j)
                points.push_back({i * 10.0, j * 10.0, 10.0 + 0.1 * i * 10.0 + 0.05 * j * 10.0});
        API_Guid mesh = {};
        ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &mesh), NoError) << Db().LastRefusal();
        ModelStore& models = host->Project().models;
        std::string why;
        base_ = models.MeshSolidOf(mesh, &why);
        std::vector<LinkStep> none;
        ASSERT_TRUE(base_) << why;
        ASSERT_TRUE(models.MeshStepsOf(mesh, &none, &surfaceVertices_, &why)) << why;
    }
    std::shared_ptr<const ModelBody> base_;
    int32_t surfaceVertices_ = 0;
};

TEST_F(KeptSolidsTest, KeptSolidsGiveWhatAChainComputedAnewGives) {
    ASSERT_NO_FATAL_FAILURE(PlaceTerrain());
    const std::shared_ptr<const ModelBody> base = base_;
    const int32_t surfaceVertices = surfaceVertices_;
    std::string why;

    std::mt19937 rng(52);
    std::uniform_real_distribution<double> corner(2.0, 62.0), side(3.0, 14.0), low(8.0, 22.0), high(1.0, 9.0);
    const uint32_t operations[] = {APISolid_SubtractUpwards, APISolid_Add, APISolid_SubtractDownwards};
    const auto drawn = [&] {
        BoxStep s;
        s.operation = operations[rng() % 3];
        s.x0 = corner(rng), s.y0 = corner(rng), s.z0 = low(rng);
        s.x1 = s.x0 + side(rng), s.y1 = s.y0 + side(rng), s.z1 = s.z0 + high(rng);
        s.numbering = uint32_t(rng());
        return s;
    };
    EarthworkChain kept;
    std::vector<BoxStep> boxes;
    int renumbered = 0;
    for (int edit = 0; edit < 40; ++edit) {
        // An edit: a link made, taken away, its body renumbered (same shape), or moved.
        const int kind = boxes.empty() ? 0 : int(rng() % 4);
        const size_t at = boxes.empty() ? 0 : rng() % boxes.size();
        if (kind == 0 || boxes.size() < 2)
            boxes.insert(boxes.begin() + long(boxes.empty() ? 0 : rng() % (boxes.size() + 1)), drawn());
        else if (kind == 1)
            boxes.erase(boxes.begin() + long(at));
        else if (kind == 2)
            boxes[at].numbering = uint32_t(rng()), ++renumbered;
        else
            boxes[at] = drawn();
        const std::vector<LinkStep> steps = StepsOf(boxes);

        EarthworkChain fresh;
        ASSERT_EQ(fresh.Run(base, surfaceVertices, steps, false, &why), NoError) << why;
        const double want = fresh.Volume();
        double volume = 0.0;
        bool partial = false;
        ASSERT_EQ(kept.VolumeOf(base, surfaceVertices, steps, &volume, &partial, &why), NoError) << why;
        EXPECT_EQ(volume, want) << "edit " << edit;
        EXPECT_EQ(partial, fresh.Partial()) << "edit " << edit;

        // Every other state is run and read: the kept chain's body bounds the solid a fresh one reads, and a
        // volume asked after it leaves that body as it was.
        ModelBody body;
        int32_t bodySurface = 0;
        if (edit % 2 == 1) {
            ASSERT_EQ(kept.Run(base, surfaceVertices, steps, false, &why), NoError) << why;
            EXPECT_EQ(kept.Volume(), want);
            ModelBody freshBody;
            int32_t freshSurface = 0;
            ASSERT_TRUE(kept.Body(&body, &bodySurface, &why)) << why;
            ASSERT_TRUE(fresh.Body(&freshBody, &freshSurface, &why)) << why;
            EXPECT_EQ(VolumeOfBody(body, bodySurface), VolumeOfBody(freshBody, freshSurface)) << "edit " << edit;
            EXPECT_EQ(ZRange(body), ZRange(freshBody)) << "edit " << edit;
            BoxStep other = drawn();
            other.x0 = boxes.front().x0, other.y0 = boxes.front().y0;
            other.x1 = boxes.front().x1, other.y1 = boxes.front().y1;
            std::vector<BoxStep> shorter(boxes.begin(), boxes.end() - 1);
            shorter.push_back(other);
            double aside = 0.0;
            ASSERT_EQ(kept.VolumeOf(base, surfaceVertices, StepsOf(shorter), &aside, &partial, &why), NoError);
            EarthworkChain check;
            ASSERT_EQ(check.Run(base, surfaceVertices, StepsOf(shorter), false, &why), NoError) << why;
            EXPECT_EQ(aside, check.Volume()) << "edit " << edit;
            ModelBody again;
            ASSERT_TRUE(kept.Body(&again, &bodySurface, &why)) << why;
            EXPECT_TRUE(SameBody(again, body)) << "edit " << edit;
        }
    }
    EXPECT_GT(renumbered, 0);
}

// Features as the calculation takes them apart: each a cut taking all above a level over one rectangle and a fill
// up to that level over a rectangle sharing a side or overlapping it (their regions meet in a face), features apart
// or overlapping. With the whole chain kept, every chain up to m with one link k < m taken out gives the volume a
// chain computed anew gives, whether that link meets the later ones or not.
TEST_F(KeptSolidsTest, ALinkTakenOutOfTheKeptOnesGivesWhatAChainComputedAnewGives) {
    ASSERT_NO_FATAL_FAILURE(PlaceTerrain());
    const std::shared_ptr<const ModelBody> base = base_;
    const int32_t surfaceVertices = surfaceVertices_;
    std::string why;

    std::mt19937 rng(1210);
    std::uniform_real_distribution<double> corner(2.0, 58.0), side(3.0, 18.0), level(9.0, 24.0);
    int checked = 0;
    for (int round = 0; round < 6; ++round) {
        std::vector<BoxStep> boxes;
        for (int feature = 0; feature < 2 + round % 2; ++feature) {
            BoxStep cut, fill;
            const double h = level(rng);
            cut.operation = APISolid_SubtractUpwards;
            cut.x0 = corner(rng), cut.y0 = corner(rng), cut.x1 = cut.x0 + side(rng), cut.y1 = cut.y0 + side(rng);
            cut.z0 = h, cut.z1 = h + 30.0;
            fill = cut;
            fill.operation = APISolid_Add;
            // The fill beside the cut (a side shared) or over part of it.
            fill.x0 = rng() % 2 == 0 ? cut.x1 : cut.x0 + 0.5 * (cut.x1 - cut.x0);
            fill.x1 = fill.x0 + side(rng);
            fill.z0 = 2.0, fill.z1 = h;
            fill.numbering = uint32_t(rng());
            boxes.push_back(cut);
            boxes.push_back(fill);
        }
        const std::vector<LinkStep> steps = StepsOf(boxes);
        EarthworkChain kept;
        double volume = 0.0;
        bool partial = false;
        ASSERT_EQ(kept.VolumeOf(base, surfaceVertices, steps, &volume, &partial, &why), NoError) << why;
        for (size_t m = 1; m <= steps.size(); ++m)
            for (size_t k = 0; k < m; ++k) {
                std::vector<LinkStep> query(steps.begin(), steps.begin() + long(m));
                query.erase(query.begin() + long(k));
                EarthworkChain fresh;
                ASSERT_EQ(fresh.Run(base, surfaceVertices, query, false, &why), NoError) << why;
                ASSERT_EQ(kept.VolumeOf(base, surfaceVertices, query, &volume, &partial, &why), NoError) << why;
                EXPECT_EQ(volume, fresh.Volume()) << "round " << round << " m " << m << " k " << k;
                ++checked;
            }
        // The whole chain is still the kept one.
        ASSERT_EQ(kept.VolumeOf(base, surfaceVertices, steps, &volume, &partial, &why), NoError) << why;
        EarthworkChain whole;
        ASSERT_EQ(whole.Run(base, surfaceVertices, steps, false, &why), NoError) << why;
        EXPECT_EQ(volume, whole.Volume()) << "round " << round;
    }
    EXPECT_GT(checked, 90);
}

}  // namespace kept_solids_test
