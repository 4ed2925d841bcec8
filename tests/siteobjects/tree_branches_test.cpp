// The branch structure of a tree, checked against the arrays alone: every tip is rebuilt from columns 1 to
// "ciclo" of its row, the way the object's script draws it, and must give the summaries the generator wrote.
#include "ParamRecords.hpp"
#include "RuntimeDriver.hpp"
#include "siteobjects/TreeBranches.hpp"
#include "siteobjects/TreeParams.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tree_branches_test {

constexpr double Pi = 3.141592653589793;

void AddTreeArrays(ParamRecords& p) {
    for (const char* name : {"spostamento", "alfa", "beta"}) p.Reals(name, 1, 2, {0.0, 0.0});
    p.Reals("lunghezza", 1, 1, {1.0});
    p.Reals("ciclo", 1, 1, {0.0});
    p.Real("max_height", 1.0);
    p.Reals("XY_box", 2, 2, {0.0, 0.0, 0.0, 0.0});
    p.Real("enne_rami", 0.0);
    p.Real("enne_cicli", 0.0);
    p.Real("angolo", 0.0);
}

struct Grown {
    int32_t rows = 0, cols = 0;
    std::vector<double> offset, length, alfa, beta, level, box;
    double maxHeight = 0.0;
    double At(const std::vector<double>& a, int32_t r, int32_t c) const { return a[size_t(r) * cols + c]; }
};

Grown Grow(int32_t n, int32_t levels, double angle) {
    ParamRecords p;
    AddTreeArrays(p);
    BaseLP view = p.View();
    EXPECT_TRUE(WriteTreeShape(view, n, levels, angle));
    Grown g;
    g.rows = p.Find("lunghezza")->dim1;
    g.cols = p.Find("alfa")->dim2;
    g.offset = p.CellsOf("spostamento");
    g.length = p.CellsOf("lunghezza");
    g.alfa = p.CellsOf("alfa");
    g.beta = p.CellsOf("beta");
    g.level = p.CellsOf("ciclo");
    g.box = p.CellsOf("XY_box");
    g.maxHeight = p.Find("max_height")->value.real;
    return g;
}

using M4 = std::array<std::array<double, 4>, 4>;

M4 Mul(const M4& a, const M4& b) {
    M4 out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 4; ++k) out[r][c] += a[r][k] * b[k][c];
    return out;
}

// Move along the parent's axis, turn about it by alfa, tilt so that beta = 90 degrees goes straight on.
M4 Step(double offset, double alfa, double beta) {
    const double ca = std::cos(alfa), sa = std::sin(alfa), cb = std::cos(beta), sb = std::sin(beta);
    return M4{{{ca * sb, -sa, ca * cb, 0}, {sa * sb, ca, sa * cb, 0}, {-cb, 0, sb, offset}, {0, 0, 0, 1}}};
}

std::array<double, 3> Tip(const Grown& g, int32_t row) {
    M4 f{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    const int32_t L = int32_t(g.level[row]);
    for (int32_t k = 1; k <= L; ++k)
        f = Mul(f, Step(g.At(g.offset, row, k), g.At(g.alfa, row, k), g.At(g.beta, row, k)));
    const double len = g.length[row];
    return {f[0][2] * len + f[0][3], f[1][2] * len + f[1][3], f[2][2] * len + f[2][3]};
}

TEST(TreeBranches, TipsRebuiltFromTheArraysGiveTheSummaries) {
    RuntimeDriver::SeedRand(7);
    struct Case {
        int32_t n, levels;
        double angle;
    };
    for (const Case c : {Case{3, 2, 40.0}, Case{4, 3, 25.0}, Case{1, 4, 30.0}, Case{5, 1, 60.0}, Case{7, 2, -15.0},
                         Case{4, 3, -20.0}, Case{9, 2, 70.0}}) {
        SCOPED_TRACE(std::to_string(c.n) + " x " + std::to_string(c.levels) + " at " + std::to_string(c.angle));
        const Grown g = Grow(c.n, c.levels, c.angle);
        int64_t expected = 1;
        for (int k = 1; k <= c.levels; ++k) expected += int64_t(std::pow(c.n, k));
        ASSERT_EQ(g.rows, expected);
        ASSERT_EQ(g.cols, c.levels + 1);
        double maxX = 0, minX = 0, maxY = 0, minY = 0, maxZ = 0;
        for (int32_t r = 1; r < g.rows; ++r) {
            const auto t = Tip(g, r);
            maxX = std::max(maxX, t[0]);
            minX = std::min(minX, t[0]);
            maxY = std::max(maxY, t[1]);
            minY = std::min(minY, t[1]);
            maxZ = std::max(maxZ, t[2]);
        }
        EXPECT_NEAR(g.maxHeight, maxZ, 1e-12);
        EXPECT_NEAR(g.box[0], minX, 1e-12);
        EXPECT_NEAR(g.box[1], minY, 1e-12);
        EXPECT_NEAR(g.box[2], maxX, 1e-12);
        EXPECT_NEAR(g.box[3], maxY, 1e-12);
        // Depth first: a row's level is at most one deeper than the row before, and every first child starts
        // at its parent's tip.
        EXPECT_EQ(g.level[0], 0.0);
        EXPECT_EQ(g.length[0], 1.0);
        for (int32_t r = 1; r < g.rows; ++r) {
            const int32_t L = int32_t(g.level[r]);
            ASSERT_GE(L, 1);
            ASSERT_LE(L, int32_t(g.level[r - 1]) + 1);
            if (L == int32_t(g.level[r - 1]) + 1) {
                EXPECT_DOUBLE_EQ(g.At(g.offset, r, L), g.length[r - 1]);
            }
            for (int32_t k = 0; k < g.cols; ++k) {
                EXPECT_TRUE(std::isfinite(g.At(g.alfa, r, k)));
                if (k > L) {
                    EXPECT_EQ(g.At(g.offset, r, k), 0.0);
                }
            }
        }
    }
}

TEST(TreeBranches, ThreeByTwoLayoutAndTheConicalForm) {
    const Grown g = Grow(3, 2, 45.0);
    ASSERT_EQ(g.rows, 13);
    for (int32_t r : {1, 5, 9}) EXPECT_EQ(g.level[r], 1.0) << r;
    for (int32_t r : {2, 3, 4, 6, 7, 8, 10, 11, 12}) EXPECT_EQ(g.level[r], 2.0) << r;
    // The subtree rows repeat their level-1 branch in column 1.
    for (int32_t r = 2; r <= 4; ++r) EXPECT_EQ(g.At(g.offset, r, 1), g.At(g.offset, 1, 1));
    // Ordinary form: every elevation within 10 degrees of the angle.
    for (int32_t r = 1; r < g.rows; ++r)
        EXPECT_NEAR(g.At(g.beta, r, int32_t(g.level[r])), 45.0 * Pi / 180, 10.0 * Pi / 180);

    const int32_t n = 7;
    const Grown c = Grow(n, 2, -15.0);
    ASSERT_EQ(c.rows, 1 + 7 + 49);
    int32_t i = -1;
    for (int32_t r = 1; r < c.rows; ++r) {
        if (c.level[r] == 1.0) {
            // Level-1 branches: the first on the trunk's tip a sixteenth long, the others evenly from a third up.
            if (i < 0) {
                EXPECT_DOUBLE_EQ(c.At(c.offset, r, 1), 1.0);
                EXPECT_DOUBLE_EQ(c.length[r], 0.0625);
            } else {
                EXPECT_NEAR(c.At(c.offset, r, 1), 1.0 / 3 + i * (2.0 / 3) / (n - 1), 1e-12);
                EXPECT_NEAR(c.length[r], 0.25 - i * (0.25 - 1.0 / 16) / (n - 1), 1e-12);
            }
            ++i;
            // Its first child goes straight on.
            EXPECT_EQ(c.At(c.beta, r + 1, 2), Pi / 2);
            EXPECT_NEAR(c.At(c.beta, r, 1), -15.0 * Pi / 180, 10.0 * Pi / 180);
        }
    }
}

TEST(TreeBranches, CountsNoArrayCanHoldAreRefusedWithoutWriting) {
    for (auto [n, levels] : {std::pair{0, 3}, {-2, 3}, {3, 0}, {3, -1}, {1, 100000}, {10, 9}, {1000, 3}}) {
        EXPECT_FALSE(TreeCountsUsable(n, levels)) << n << " " << levels;
        ParamRecords p;
        AddTreeArrays(p);
        BaseLP view = p.View();
        EXPECT_FALSE(WriteTreeShape(view, n, levels, 30.0));
        EXPECT_EQ(p.Find("alfa")->dim1, 1);
        EXPECT_EQ(p.Find("max_height")->value.real, 1.0);
    }
    EXPECT_TRUE(TreeCountsUsable(9, 5));
    // A write beyond an array's size changes nothing and says why.
    ParamRecords p;
    AddTreeArrays(p);
    BaseLP view = p.View();
    EXPECT_EQ(SetArrayParamItem(view, "alfa", 1, 0, 5.0), -1);
    EXPECT_EQ(view.status, LPStatus_BadCell);
    EXPECT_EQ(p.CellsOf("alfa"), (std::vector<double>{0.0, 0.0}));
}

TEST(TreeBranches, EachCallDrawsAShapeOfItsOwnFromTheRuntimeSequence) {
    RuntimeDriver::SeedRand(42);
    const Grown a = Grow(4, 3, 30.0);
    const Grown b = Grow(4, 3, 30.0);
    RuntimeDriver::SeedRand(42);
    const Grown again = Grow(4, 3, 30.0);
    EXPECT_EQ(a.level, b.level);
    EXPECT_NE(a.alfa, b.alfa);
    EXPECT_EQ(a.alfa, again.alfa);
    EXPECT_EQ(a.offset, again.offset);
}

}  // namespace tree_branches_test
