#pragma once
// The branch structure of a tree object: a trunk with `n` children on every branch for `C` levels, written into
// the object's array parameters "spostamento", "alfa", "beta" (N x (C+1)), "lunghezza" and "ciclo" (N x 1), and
// the summaries "max_height" and "XY_box". Rows run depth first (a branch, then its whole subtree); column k of a
// row holds the offset, turn and elevation of the level-k branch on its path from the trunk, so each tip is
// rebuilt by chaining columns 1 to "ciclo" of its row. Lengths are relative to a trunk of 1.0. Every call draws
// fresh numbers from the runtime's generator, so every tree gets a shape of its own.
#include "elements/BaseLP.hpp"

#include <cstdint>

// A branch frame: rows x, y, z and (0, 0, 0, 1); columns the local axes and the origin. The branch runs along
// its local z axis.
struct BranchFrame {
    double m[4][4];
    static BranchFrame Identity();
};

// Max x, min x, max y, min y and max z of the branch tips; all start at 0.
struct BranchBounds {
    double maxX = 0.0;
    double minX = 0.0;
    double maxY = 0.0;
    double minY = 0.0;
    double maxZ = 0.0;
};

// Rows of a tree: 1 + the sum over k = 1..levels of trunc(n^k); -1 when it does not fit in 32 bits.
int64_t TreeNodeCount(int32_t n, int32_t levels);
// Rows in the subtree below a branch of `level`: the sum over k = 1..levels-level of trunc(n^k).
int64_t TreeSubtreeRows(int32_t n, int32_t level, int32_t levels);

// Whether a tree of `n` branches per branch and `levels` levels can be grown: both at least 1, at most
// MaxTreeLevels levels and arrays within MaxArrayParamCells cells.
bool TreeCountsUsable(int32_t n, int32_t levels);
constexpr int32_t MaxTreeLevels = 64;

// The child frame at `offset` along the parent's axis, turned by `alfa` about it and tilted so that `beta` = pi/2
// goes straight on (radians); its tip (at `length`) widens `bounds`.
void ChainBranchFrame(double offset, double alfa, double beta, double length, const BranchFrame& parentFrame,
                      BranchFrame& childFrame, BranchBounds& bounds);

// Writes one cell of a numeric array parameter (column < 0: `row` is a flat index); its index, or -1 with the
// view's status (1 missing, 4 a text or a scalar, 3 out of range).
int32_t SetArrayParamItem(BaseLP& view, const char* name, int32_t row, int32_t column, double value);

// The n children of one parent of length `length`, and below them their subtrees down to level `lastLevel`.
// `angle` and `step` in degrees; a negative angle with `conical` selects the conical form.
void GenerateBranches(bool conical, double length, int32_t level, int32_t lastLevel, BaseLP& view, int32_t& rowCounter,
                      int32_t n, double step, double angle, const BranchFrame& parentFrame, BranchBounds& bounds);

// The whole structure of one tree: the arrays sized afresh, the trunk row, the branches, "max_height" and
// "XY_box". False, nothing written, when the counts are unusable (TreeCountsUsable); false when an array cannot
// be sized. `bounds` (optional) receives the tips' bounds.
bool GrowTreeBranches(BaseLP& view, int32_t n, int32_t levels, double angle, BranchBounds* bounds = nullptr);
