#pragma once
// The cells of a hash grid over the plane: a cell's number along an axis is floor(v / side), kept as a double so
// that no coordinate overflows it, and hashed by its bits.
#include <cmath>
#include <cstdint>
#include <cstring>

// The bits of a cell number: -0.0 and 0.0 are one cell; no finite coordinate gives NaN.
inline int64_t CellBits(double cell) {
    if (cell == 0.0) cell = 0.0;
    if (std::isnan(cell)) return INT64_MAX;
    int64_t k;
    std::memcpy(&k, &cell, sizeof k);
    return k;
}

inline double CellFromBits(int64_t k) {
    double cell;
    std::memcpy(&cell, &k, sizeof cell);
    return cell;
}

// The cell after and before; where doubles no longer hold every integer, the next double.
inline double CellAfter(double cell) {
    const double n = cell + 1.0;
    return n != cell ? n : std::nextafter(cell, HUGE_VAL);
}
inline double CellBefore(double cell) {
    const double n = cell - 1.0;
    return n != cell ? n : std::nextafter(cell, -HUGE_VAL);
}
