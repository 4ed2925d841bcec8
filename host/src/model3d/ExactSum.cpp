#include "model3d/ExactSum.hpp"

#include <cstring>

namespace {
// A finite double as sign * m * 2^e with m below 2^53.
struct Dyadic {
    uint64_t m;
    int e;
    bool negative;
};

Dyadic Split(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int biased = int((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    if (biased == 0) return {fraction, -1074, (bits >> 63) != 0};
    return {fraction | (uint64_t(1) << 52), biased - 1075, (bits >> 63) != 0};
}
}  // namespace

void ExactSum::Put(double a, double b, double c, uint64_t times, bool negative) {
    const Dyadic x = Split(a), y = Split(b);
    Dyadic z = Split(c);
    z.m *= times;
    if (x.m == 0 || y.m == 0 || z.m == 0) return;
    // The product's magnitude in three limbs (below 2^161).
    const unsigned __int128 xy = static_cast<unsigned __int128>(x.m) * y.m;
    const unsigned __int128 lo = static_cast<unsigned __int128>(uint64_t(xy)) * z.m;
    const unsigned __int128 hi = static_cast<unsigned __int128>(uint64_t(xy >> 64)) * z.m;
    const unsigned __int128 mid = (lo >> 64) + uint64_t(hi);
    const uint64_t w[3] = {uint64_t(lo), uint64_t(mid), uint64_t(mid >> 64) + uint64_t(hi >> 64)};
    // Shifted into place: four limbs from `limb` on.
    const int at = x.e + y.e + z.e - kLowestBit;
    const int limb = at / 64, shift = at % 64;
    uint64_t v[4];
    if (shift == 0) {
        v[0] = w[0];
        v[1] = w[1];
        v[2] = w[2];
        v[3] = 0;
    } else {
        v[0] = w[0] << shift;
        v[1] = (w[1] << shift) | (w[0] >> (64 - shift));
        v[2] = (w[2] << shift) | (w[1] >> (64 - shift));
        v[3] = w[2] >> (64 - shift);
    }
    std::array<uint64_t, kLimbs>& acc = negative != (x.negative != (y.negative != z.negative)) ? negative_ : positive_;
    uint64_t carry = 0;
    int i = limb;
    for (int k = 0; k < 4; ++k, ++i) {
        const unsigned __int128 s = static_cast<unsigned __int128>(acc[size_t(i)]) + v[k] + carry;
        acc[size_t(i)] = uint64_t(s);
        carry = uint64_t(s >> 64);
    }
    for (; carry != 0 && i < kLimbs; ++i) carry = ++acc[size_t(i)] == 0 ? 1 : 0;
}

ExactSum& ExactSum::operator+=(const ExactSum& other) {
    const auto add = [](std::array<uint64_t, kLimbs>& to, const std::array<uint64_t, kLimbs>& from) {
        uint64_t carry = 0;
        for (size_t i = 0; i < to.size(); ++i) {
            const unsigned __int128 s = static_cast<unsigned __int128>(to[i]) + from[i] + carry;
            to[i] = uint64_t(s);
            carry = uint64_t(s >> 64);
        }
    };
    add(positive_, other.positive_);
    add(negative_, other.negative_);
    return *this;
}

mpq_class ExactSum::Value() const {
    mpz_class p, n;
    mpz_import(p.get_mpz_t(), kLimbs, -1, sizeof(uint64_t), 0, 0, positive_.data());
    mpz_import(n.get_mpz_t(), kLimbs, -1, sizeof(uint64_t), 0, 0, negative_.data());
    mpq_class out;
    mpq_set_z(out.get_mpq_t(), mpz_class(p - n).get_mpz_t());
    mpq_div_2exp(out.get_mpq_t(), out.get_mpq_t(), mp_bitcnt_t(-kLowestBit));
    return out;
}
