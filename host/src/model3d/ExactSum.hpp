#pragma once
// A sum of products of three doubles, kept exactly: every product goes into one wide fixed-point number, so a
// sum of millions of terms costs a few integer additions per term instead of a big-number operation each.
#include <gmpxx.h>

#include <array>
#include <cstdint>

class ExactSum {
public:
    // Adds times * a * b * c, or takes it away. The numbers must be finite; `times` at most 4.
    void Add(double a, double b, double c, uint64_t times = 1) { Put(a, b, c, times, false); }
    void Subtract(double a, double b, double c, uint64_t times = 1) { Put(a, b, c, times, true); }
    // Adds another sum, kept apart while its terms were added (sums of ranges taken at once).
    ExactSum& operator+=(const ExactSum& other);
    // The sum as an exact rational.
    mpq_class Value() const;

private:
    void Put(double a, double b, double c, uint64_t times, bool negative);

    // Bit i of a limb array weighs 2^(i + kLowestBit); kLowestBit lies below three times a double's least bit
    // (2^-1074), and the top leaves room above the largest product for 2^64 terms.
    static constexpr int kLowestBit = -3392;
    static constexpr int kLimbs = 104;
    std::array<uint64_t, kLimbs> positive_{};
    std::array<uint64_t, kLimbs> negative_{};
};
