// Solid links whose operators meet each other: the same body cut or joined twice, two bodies that share a face, and
// two apart; their volumes against the closed forms of boxes.
#include "APIInteraction.hpp"
#include "model3d/EarthworkChain.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace meeting_bodies_test {

// The box [x0, x1] x [y0, y1] x [z0, z1] as a model body.
ModelBody Box(double x0, double x1, double y0, double y1, double z0, double z1) {
    BodyBuilder b;
    std::vector<int32_t> v;
    for (int k = 0; k < 8; ++k) v.push_back(b.AddVertex({(k & 1) ? x1 : x0, (k & 2) ? y1 : y0, (k & 4) ? z1 : z0}));
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) b.AddPolygon({v[size_t(f[0])], v[size_t(f[1])], v[size_t(f[2])], v[size_t(f[3])]});
    return b.Finish();
}

LinkStep Step(uint32_t operation, ModelBody body) {
    LinkStep step;
    step.operation = operation;
    step.bodies.push_back(std::move(body));
    return step;
}

// A base box 100 x 100 x 10; two operator boxes of a x a in plan, the second placed on the first, beside it (a
// face shared) or apart, cut from depth d below the top (upward) or joined on top
// h high. The volume taken or added is the plan area of their union times d or h.
TEST(MeetingBodiesTest, BodiesThatMeetAreCutAndJoinedAsTheirUnion) {
    std::mt19937 rng(51);
    std::uniform_real_distribution<double> side(2.0, 30.0), depth(0.5, 9.5), corner(5.0, 30.0);
    const auto base = std::make_shared<const ModelBody>(Box(0, 100, 0, 100, 0, 10));
    const char* kinds[] = {"the same", "a face shared", "apart"};
    for (int run = 0; run < 24; ++run) {
        const int kind = run % 3;
        const bool cut = (run / 3) % 2 == 0;
        const double a = side(rng), d = depth(rng), x = corner(rng), y = corner(rng);
        const double dx = kind == 0 ? 0.0 : a + (kind == 2 ? 1.0 : 0.0), dy = kind == 2 ? a + 1.0 : 0.0;
        const double area = kind == 0 ? a * a : 2 * a * a;
        const double z0 = cut ? 10.0 - d : 10.0, z1 = cut ? 20.0 : 10.0 + d;
        const uint32_t operation = cut ? APISolid_SubtractUpwards : APISolid_Add;
        std::vector<LinkStep> steps = {Step(operation, Box(x, x + a, y, y + a, z0, z1)),
                                       Step(operation, Box(x + dx, x + dx + a, y + dy, y + dy + a, z0, z1))};
        EarthworkChain chain;
        std::string why;
        ASSERT_EQ(chain.Run(base, 4, steps, true, &why), NoError) << kinds[kind] << " " << why;
        const double want = 100000.0 + (cut ? -1.0 : 1.0) * area * d;
        EXPECT_NEAR(chain.Volume(), want, 1e-9 * want) << kinds[kind] << (cut ? " cut" : " joined");
        // The solid reads back as one body, and the same steps again change nothing.
        ModelBody body;
        int32_t surface = 0;
        EXPECT_TRUE(chain.Body(&body, &surface, &why)) << why;
        steps.push_back(steps[1]);
        ASSERT_EQ(chain.Run(base, 4, steps, true, &why), NoError) << kinds[kind] << " " << why;
        EXPECT_NEAR(chain.Volume(), want, 1e-9 * want) << kinds[kind] << " thrice";
    }
}

}  // namespace meeting_bodies_test
