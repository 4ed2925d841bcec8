// The exact sum of products against rationals, over numbers of every size a double takes.
#include "model3d/ExactSum.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace exact_sum_test {

TEST(ExactSum, EqualsTheRationalSumOverEveryMagnitude) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    for (int range : {4, 60, 1000}) {
        std::uniform_int_distribution<int> exponent(-range, range);
        ExactSum sum;
        mpq_class expected = 0;
        for (int i = 0; i < 20000; ++i) {
            const double a = std::ldexp(mantissa(random), exponent(random));
            const double b = std::ldexp(mantissa(random), exponent(random));
            const double c = std::ldexp(mantissa(random), exponent(random));
            const uint64_t times = 1 + uint64_t(i % 4);
            const mpq_class product = mpq_class(a) * mpq_class(b) * mpq_class(c) * mpq_class(long(times));
            if (i % 3 == 0) {
                sum.Subtract(a, b, c, times);
                expected -= product;
            } else {
                sum.Add(a, b, c, times);
                expected += product;
            }
        }
        EXPECT_EQ(sum.Value(), expected) << "exponents within " << range;
    }
    // The extremes: the least subnormal cubed, the largest double cubed, and sums that carry across limbs.
    ExactSum edges;
    const double tiny = std::numeric_limits<double>::denorm_min(), huge = std::numeric_limits<double>::max();
    edges.Add(tiny, tiny, tiny);
    edges.Add(huge, huge, huge, 4);
    for (int i = 0; i < 1000; ++i) edges.Add(1.0 - std::ldexp(1.0, -53), 1.0, 1.0);
    edges.Subtract(huge, huge, huge, 4);
    const mpq_class t(tiny), one(1.0 - std::ldexp(1.0, -53));
    EXPECT_EQ(edges.Value(), t * t * t + one * 1000);
}

// Terms kept in sums apart (ranges summed at once) and then added give the one sum, to the last bit.
TEST(ExactSum, SumsOfPartsAddUpToTheWhole) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-300, 300), parts(1, 9);
    for (int round = 0; round < 20; ++round) {
        const int n = parts(random);
        std::vector<ExactSum> sums(static_cast<size_t>(n));
        ExactSum whole;
        for (int i = 0; i < 3000; ++i) {
            const double a = std::ldexp(mantissa(random), exponent(random)), b = mantissa(random),
                         c = std::ldexp(mantissa(random), exponent(random) / 4);
            ExactSum& part = sums[size_t(random() % uint64_t(n))];
            if (i % 2 == 0) {
                part.Add(a, b, c, 3);
                whole.Add(a, b, c, 3);
            } else {
                part.Subtract(a, b, c);
                whole.Subtract(a, b, c);
            }
        }
        ExactSum added;
        for (const ExactSum& s : sums) added += s;
        EXPECT_EQ(added.Value(), whole.Value()) << "round " << round;
    }
}

}  // namespace exact_sum_test
