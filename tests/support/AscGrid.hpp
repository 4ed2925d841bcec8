#pragma once
// A few lines that read an ESRI ASCII grid (the six-line header, then rows from the north) for tests and
// benchmarks that build terrain from it. Bad input answers false with the reason.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct AscGrid {
    int ncols = 0;
    int nrows = 0;
    double xll = 0.0;
    double yll = 0.0;
    double cell = 0.0;
    double nodata = -9999.0;
    std::vector<double> z;  // row 0 is the northern row

    bool Has(int row, int col) const { return z[size_t(row) * size_t(ncols) + size_t(col)] != nodata; }
    double At(int row, int col) const { return z[size_t(row) * size_t(ncols) + size_t(col)]; }
    // The centre of a cell in plan.
    double X(int col) const { return xll + (col + 0.5) * cell; }
    double Y(int row) const { return yll + (nrows - row - 0.5) * cell; }
    // Bilinear height between the cell centres at a plan point inside them (all four corners with data).
    double Bilinear(double x, double y) const {
        const double fc = (x - X(0)) / cell, fr = (Y(0) - y) / cell;
        const int c = std::min(std::max(int(std::floor(fc)), 0), ncols - 2);
        const int r = std::min(std::max(int(std::floor(fr)), 0), nrows - 2);
        const double u = fc - c, v = fr - r;
        return (1 - u) * (1 - v) * At(r, c) + u * (1 - v) * At(r, c + 1) + (1 - u) * v * At(r + 1, c) +
            u * v * At(r + 1, c + 1);
    }
};

inline bool ReadAscGrid(const std::string& path, AscGrid& grid, std::string* why) {
    std::ifstream in(path);
    if (!in) return *why = "cannot open " + path, false;
    const char* keys[] = {"ncols", "nrows", "xllcorner", "yllcorner", "cellsize", "NODATA_value"};
    double values[6] = {};
    for (int k = 0; k < 6; ++k) {
        std::string key;
        if (!(in >> key >> values[k]) || key != keys[k])
            return *why = std::string("header: expected ") + keys[k], false;
    }
    grid.ncols = int(values[0]);
    grid.nrows = int(values[1]);
    grid.xll = values[2];
    grid.yll = values[3];
    grid.cell = values[4];
    grid.nodata = values[5];
    if (grid.ncols < 2 || grid.nrows < 2 || grid.ncols > 100000 || grid.nrows > 100000 || !(grid.cell > 0.0))
        return *why = "header: bad size or cell", false;
    grid.z.assign(size_t(grid.ncols) * size_t(grid.nrows), grid.nodata);
    for (double& v : grid.z)
        if (!(in >> v)) return *why = "fewer heights than the header promises", false;
    std::string extra;
    if (in >> extra) return *why = "more heights than the header promises", false;
    return true;
}
