#include "siteobjects/TreeBranches.hpp"

#include "elements/GdlParams.hpp"

#include "CRuntime.hpp"

#include <cmath>

namespace {

constexpr double DegToRad = 3.141592653589793 / 180.0;

// A fresh draw in [0, 1), in steps of 1/32768.
double Draw() { return double(CRT::rand()) / 32768.0; }

// Within +-10 degrees of `centre`, in radians.
double Around(double centreDegrees) { return (centreDegrees - 10.0) * DegToRad + Draw() * 20.0 * DegToRad; }

void WriteBranch(BaseLP& view, int32_t& rowCounter, int32_t level, int64_t subtreeRows, double offset, double alfa,
                 double beta, double length) {
    const int32_t row = rowCounter;
    SetArrayParamItem(view, "spostamento", row, level, offset);
    SetArrayParamItem(view, "lunghezza", row, 0, length);
    SetArrayParamItem(view, "alfa", row, level, alfa);
    SetArrayParamItem(view, "beta", row, level, beta);
    SetArrayParamItem(view, "ciclo", row, 0, double(level));
    // The subtree's rows repeat this branch in its own column: the script chains columns from the trunk out.
    for (int64_t r = row + 1; r <= row + subtreeRows; ++r) {
        SetArrayParamItem(view, "spostamento", int32_t(r), level, offset);
        SetArrayParamItem(view, "alfa", int32_t(r), level, alfa);
        SetArrayParamItem(view, "beta", int32_t(r), level, beta);
    }
    ++rowCounter;
}

}  // namespace

BranchFrame BranchFrame::Identity() {
    BranchFrame f = {};
    for (int i = 0; i < 4; ++i) f.m[i][i] = 1.0;
    return f;
}

int64_t TreeSubtreeRows(int32_t n, int32_t level, int32_t levels) {
    int64_t rows = 0;
    for (int32_t k = 1; k <= levels - level; ++k) {
        const double power = std::trunc(std::pow(double(n), double(k)));
        if (!(power < 2147483647.0) || rows + int64_t(power) > 2147483647) return -1;
        rows += int64_t(power);
    }
    return rows;
}

int64_t TreeNodeCount(int32_t n, int32_t levels) {
    const int64_t rows = TreeSubtreeRows(n, 0, levels);
    return rows < 0 || rows >= 2147483647 ? -1 : rows + 1;
}

bool TreeCountsUsable(int32_t n, int32_t levels) {
    if (n < 1 || levels < 1 || levels > MaxTreeLevels) return false;
    const int64_t rows = TreeNodeCount(n, levels);
    return rows > 0 && rows * int64_t(levels + 1) <= MaxArrayParamCells;
}

void ChainBranchFrame(double offset, double alfa, double beta, double length, const BranchFrame& parentFrame,
                      BranchFrame& childFrame, BranchBounds& bounds) {
    const double ca = std::cos(alfa), sa = std::sin(alfa), cb = std::cos(beta), sb = std::sin(beta);
    const double move[4][4] = {
        {ca * sb, -sa, ca * cb, 0.0}, {sa * sb, ca, sa * cb, 0.0}, {-cb, 0.0, sb, offset}, {0.0, 0.0, 0.0, 1.0}};
    BranchFrame out = {};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += parentFrame.m[r][k] * move[k][c];
            out.m[r][c] = sum;
        }
    childFrame = out;
    const double x = out.m[0][2] * length + out.m[0][3];
    const double y = out.m[1][2] * length + out.m[1][3];
    const double z = out.m[2][2] * length + out.m[2][3];
    if (x > bounds.maxX) bounds.maxX = x;
    if (x < bounds.minX) bounds.minX = x;
    if (y > bounds.maxY) bounds.maxY = y;
    if (y < bounds.minY) bounds.minY = y;
    if (z > bounds.maxZ) bounds.maxZ = z;
}

int32_t SetArrayParamItem(BaseLP& view, const char* name, int32_t row, int32_t column, double value) {
    return SetArrayParamCell(view, name, row, column, value);
}

void GenerateBranches(bool conical, double length, int32_t level, int32_t lastLevel, BaseLP& view, int32_t& rowCounter,
                      int32_t n, double step, double angle, const BranchFrame& parentFrame, BranchBounds& bounds) {
    if (level < 1 || level > lastLevel || n < 1) return;
    const int64_t subtree = TreeSubtreeRows(n, level, lastLevel);
    const double childAngle = conical && level == 2 ? -angle : angle;
    const double L = length;

    // The first child starts at the parent's tip.
    {
        const double alfa = Around(360.0);
        const double len = conical && level == 1 ? L * 0.0625 : conical ? L * 0.5 : L * 2.0 / 3.0;
        const double beta = conical && level == 2 ? 3.141592653589793 / 2.0 : Around(childAngle);
        BranchFrame child;
        ChainBranchFrame(L, alfa, beta, len, parentFrame, child, bounds);
        WriteBranch(view, rowCounter, level, subtree, L, alfa, beta, len);
        if (level != lastLevel)
            GenerateBranches(conical, len, level + 1, lastLevel, view, rowCounter, n, step, childAngle, child, bounds);
    }
    for (int32_t i = 0; i + 1 < n; ++i) {
        const int32_t k = i + 1;
        const double drawn = Draw();  // drawn in every form, so the sequence does not depend on it being used
        const double offset = conical && level == 1 ? L / 3.0 + i * (2.0 * L / 3.0) / (n - 1)
            : conical                               ? drawn * 2.0 * L / 3.0
                                                    : L / 3.0 + drawn * 2.0 * L / 3.0;
        const double alfa = Around(k * step);
        const double beta = Around(childAngle);
        const double len = conical && level == 1 ? L / 4.0 - i * (L / 4.0 - L / 16.0) / (n - 1)
            : conical                            ? L / 2.0
                                                 : L * 2.0 / 3.0;
        BranchFrame child;
        ChainBranchFrame(offset, alfa, beta, len, parentFrame, child, bounds);
        WriteBranch(view, rowCounter, level, subtree, offset, alfa, beta, len);
        if (level != lastLevel)
            GenerateBranches(conical, len, level + 1, lastLevel, view, rowCounter, n, step, childAngle, child, bounds);
    }
}

bool GrowTreeBranches(BaseLP& view, int32_t n, int32_t levels, double angle, BranchBounds* outBounds) {
    if (!TreeCountsUsable(n, levels)) return false;
    const int32_t rows = int32_t(TreeNodeCount(n, levels));
    for (const char* name : {"spostamento", "alfa", "beta"})
        if (ResizeArrayParamByCName(view, name, rows, levels + 1, true) < 0) return false;
    for (const char* name : {"lunghezza", "ciclo"})
        if (ResizeArrayParamByCName(view, name, rows, 1, true) < 0) return false;
    for (int32_t r = 0; r < rows; ++r)
        for (const char* name : {"spostamento", "alfa", "beta"}) SetArrayParamItem(view, name, r, 0, 0.0);
    SetArrayParamItem(view, "lunghezza", 0, 0, 1.0);
    SetArrayParamItem(view, "ciclo", 0, 0, 0.0);
    int32_t rowCounter = 1;
    BranchBounds bounds;
    GenerateBranches(angle < 0.0, 1.0, 1, levels, view, rowCounter, n, 360.0 / n, angle, BranchFrame::Identity(),
                     bounds);
    view.SetParamDouble(QV_String("max_height"), bounds.maxZ);
    SetArrayParamItem(view, "XY_box", 0, 0, bounds.minX);
    SetArrayParamItem(view, "XY_box", 0, 1, bounds.minY);
    SetArrayParamItem(view, "XY_box", 1, 0, bounds.maxX);
    SetArrayParamItem(view, "XY_box", 1, 1, bounds.maxY);
    if (outBounds != nullptr) *outBounds = bounds;
    return true;
}
