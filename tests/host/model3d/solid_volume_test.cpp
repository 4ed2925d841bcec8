// A solid's rounded volume from its close bound against the rounding of its exact volume, on solids the booleans
// made (their new points rational), near the origin and far from it, with a rest added.
#include "model3d/ExactSolid.hpp"
#include "model3d/SolidBooleans.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace solid_volume_test {

// A block over [x0, x1] x [y0, y1] from z0 up to a top whose four corners lie at the heights given (two triangles
// where they are not in one plane).
ModelBody Block(double x0, double x1, double y0, double y1, double z0, const double top[4]) {
    BodyBuilder b;
    std::vector<int32_t> v;
    for (int k = 0; k < 8; ++k)
        v.push_back(b.AddVertex({(k & 1) ? x1 : x0, (k & 2) ? y1 : y0, (k & 4) ? top[k & 3] : z0}));
    const int quads[6][4] = {{0, 2, 3, 1}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}, {4, 5, 7, 6}};
    for (const auto& f : quads) {
        b.AddPolygon({v[size_t(f[0])], v[size_t(f[1])], v[size_t(f[2])]});
        b.AddPolygon({v[size_t(f[0])], v[size_t(f[2])], v[size_t(f[3])]});
    }
    return b.Finish();
}

TEST(SolidVolumeTest, TheBoundRoundsAsTheExactVolumeDoes) {
    std::mt19937 rng(1210);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int rational = 0;
    for (int run = 0; run < 60; ++run) {
        // Near the origin, at survey coordinates, and far out.
        const double scale = run % 3 == 0 ? 1.0 : run % 3 == 1 ? 3e4 : 1e100;
        const double ox = scale * unit(rng), oy = scale * unit(rng);
        double topA[4], topB[4];
        for (double& z : topA) z = scale * (0.5 + 0.5 * unit(rng));
        for (double& z : topB) z = scale * (0.3 + unit(rng));
        ExactSolid a, b, out;
        ASSERT_TRUE(SolidFromBody(Block(ox, ox + scale, oy, oy + scale, 0.0, topA), &a));
        const double dx = scale * (0.2 + 0.5 * unit(rng)), dy = scale * (0.2 + 0.5 * unit(rng));
        ASSERT_TRUE(SolidFromBody(Block(ox + dx, ox + dx + scale, oy + dy, oy + dy + scale, scale * 0.2, topB), &b));
        const SolidOperation op = run % 2 == 0 ? SolidOperation::Union : SolidOperation::Difference;
        ASSERT_TRUE(Combine(a, b, op, out)) << run;
        for (ExactSolid::Vertex_index v : out.vertices()) {
            const auto approx = CGAL::approx(out.point(v));
            if (approx.x().inf() != approx.x().sup() || approx.y().inf() != approx.y().sup() ||
                approx.z().inf() != approx.z().sup()) {
                ++rational;
                break;
            }
        }
        const ExactKernel::FT::ET exact = ExactVolume(out);
        for (const double rest : {0.0, 1.0 / 3.0, 123456789.25, -0.1}) {
            const ExactKernel::FT::ET r(rest);
            EXPECT_EQ(RoundedVolumeOf(out, r), RoundedVolume(exact + r)) << run << " rest " << rest;
        }
        // A sum that is a double itself lies between two roundings' cells: its bound meets both (the exact volume
        // then decides).
        for (int step = -1; step <= 1; ++step) {
            const double near = RoundedVolume(exact) + step * std::abs(RoundedVolume(exact)) * 1e-15;
            const ExactKernel::FT::ET r = ExactKernel::FT::ET(near) - exact;
            EXPECT_EQ(RoundedVolumeOf(out, r), near) << run << " on " << near;
        }
    }
    // Most of the solids hold points the booleans made.
    EXPECT_GT(rational, 40);
}

}  // namespace solid_volume_test
