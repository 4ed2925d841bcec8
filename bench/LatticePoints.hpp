#pragma once
// The host benchmarks' import input: a square lattice of `count` points 10 m apart at survey coordinates, with
// heights over it, as the grid reader would hand them to the placement.
#include "fileio/ASCFileCls.hpp"

#include <cmath>
#include <cstdint>
#include <utility>

inline void FillLatticePoints(ASCFile::ASCFileCls& reader, int64_t count) {
    reader.points.clear();
    reader.points.reserve(size_t(count));
    const int64_t side = int64_t(std::ceil(std::sqrt(double(count))));
    for (int64_t i = 0; i < count; ++i) {
        ASCFile::ASCFilePoint p;
        p.x = 500000.0 + 10.0 * double(i % side);
        p.y = 5000000.0 + 10.0 * double(i / side);
        p.z = 200.0 + std::sin(double(i) * 1e-3) * 50.0;
        reader.points.push_back(std::move(p));
    }
}
