// What a changed top takes from and adds to a terrain's surface, against the heights sampled on a fine grid.
#include "model3d/SurfaceDifference.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace surface_difference_test {
// A height field on [0, 10]^2: an n x n grid of squares, each cut along a diagonal drawn at random.
struct Field {
    int n = 0;
    std::vector<double> z;     // (n + 1)^2 heights
    std::vector<bool> rising;  // per square: cut from (0,0) to (1,1), else from (1,0) to (0,1)
    double h() const { return 10.0 / n; }
    double Z(int i, int j) const { return z[size_t(j * (n + 1) + i)]; }
    double At(double x, double y) const {
        const int i = std::min(n - 1, int(x / h())), j = std::min(n - 1, int(y / h()));
        const double u = x / h() - i, v = y / h() - j;
        const double z00 = Z(i, j), z10 = Z(i + 1, j), z01 = Z(i, j + 1), z11 = Z(i + 1, j + 1);
        if (rising[size_t(j * n + i)])
            return u >= v ? z00 + u * (z10 - z00) + v * (z11 - z10) : z00 + v * (z01 - z00) + u * (z11 - z01);
        return u + v <= 1 ? z00 + u * (z10 - z00) + v * (z01 - z00)
                          : z11 + (1 - u) * (z01 - z11) + (1 - v) * (z10 - z11);
    }
    ModelPoint P(int i, int j) const { return {i * h(), j * h(), Z(i, j)}; }
    std::vector<std::array<ModelPoint, 3>> Faces() const {
        std::vector<std::array<ModelPoint, 3>> f;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const ModelPoint a = P(i, j), b = P(i + 1, j), c = P(i + 1, j + 1), d = P(i, j + 1);
                if (rising[size_t(j * n + i)])
                    f.push_back({a, b, c}), f.push_back({a, c, d});
                else
                    f.push_back({a, b, d}), f.push_back({b, c, d});
            }
        return f;
    }
};

Field RandomField(std::mt19937& random, int n, double spread) {
    Field f;
    f.n = n;
    std::uniform_real_distribution<double> height(-spread, spread);
    for (int k = 0; k < (n + 1) * (n + 1); ++k) f.z.push_back(height(random));
    for (int k = 0; k < n * n; ++k) f.rising.push_back(random() % 2 == 0);
    return f;
}

TEST(SurfaceDifferenceTest, WhatATopTakesAndAddsIsTheIntegralOfTheHeightsItLeavesAboveAndBelow) {
    std::mt19937 random(20261211);
    for (int trial = 0; trial < 12; ++trial) {
        const Field old = RandomField(random, 3 + trial % 5, 2.0);
        const Field top = RandomField(random, 2 + trial % 7, 2.0);
        Surface surface;
        for (const auto& f : old.Faces()) {
            const int32_t k = int32_t(surface.points.size());
            surface.points.insert(surface.points.end(), f.begin(), f.end());
            surface.triangles.push_back({k, k + 1, k + 2});
        }
        const SurfaceIndex index(surface);
        const SurfaceChange change = SurfaceDifference(top.Faces(), surface, index);
        // The midpoint rule on a grid much finer than either field's triangles.
        constexpr int kSamples = 800;
        const double cell = 10.0 / kSamples;
        double removed = 0.0, added = 0.0;
        for (int j = 0; j < kSamples; ++j)
            for (int i = 0; i < kSamples; ++i) {
                const double x = (i + 0.5) * cell, y = (j + 0.5) * cell;
                const double d = old.At(x, y) - top.At(x, y);
                (d > 0 ? removed : added) += std::abs(d) * cell * cell;
            }
        EXPECT_NEAR(change.removed, removed, 2e-3 * (removed + added)) << "trial " << trial;
        EXPECT_NEAR(change.added, added, 2e-3 * (removed + added)) << "trial " << trial;
    }
}
}  // namespace surface_difference_test
