#include "fileio/DuplicateFilter.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

using ASCFile::ASCFilePoint;
using ASCFile::PointCode;
using ASCFile::PointTexts;

struct SortKey {
    double x;
    uint32_t index;
};

// Doubles as unsigned integers of the same order; -0 is taken as 0, its equal.
uint64_t OrderedBits(double x) {
    if (x == 0.0) x = 0.0;  // -0 sorts as 0
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
}

// The places [begin, end) in the order of their x alone, equal x in reading order: a stable radix sort of the
// places, 16 bits a pass. Digits that every point shares are found first and cost no pass.
std::vector<uint32_t> RadixOrderByX(const std::vector<ASCFilePoint>& points, size_t begin, size_t end) {
    const size_t n = end - begin;
    uint64_t all = ~uint64_t(0), any = 0;
    for (size_t i = begin; i < end; ++i) {
        const uint64_t bits = OrderedBits(points[i].x);
        all &= bits;
        any |= bits;
    }
    const uint64_t varying = all ^ any;
    std::vector<uint32_t> a(n), b;
    for (size_t i = 0; i < n; ++i) a[i] = uint32_t(begin + i);
    std::vector<uint16_t> digits;
    std::vector<uint32_t> counts;
    for (int shift = 0; shift < 64; shift += 16) {
        if (((varying >> shift) & 0xffff) == 0) continue;
        if (digits.empty()) {
            digits.resize(n);
            b.resize(n);
            counts.resize(65536);
        }
        std::fill(counts.begin(), counts.end(), 0u);
        for (size_t i = 0; i < n; ++i) {
            digits[i] = uint16_t(OrderedBits(points[a[i]].x) >> shift);
            ++counts[digits[i]];
        }
        uint32_t sum = 0;
        for (uint32_t& c : counts) {
            const uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (size_t i = 0; i < n; ++i) b[counts[digits[i]]++] = a[i];
        a.swap(b);
    }
    return a;
}

bool Before(const ASCFilePoint& a, const ASCFilePoint& b, const std::vector<PointTexts>& texts) {
    if (a.x != b.x) return a.x < b.x;
    const QV_String& ca = PointCode(texts, a);
    const QV_String& cb = PointCode(texts, b);
    if (ca.IsEmpty() || cb.IsEmpty()) return ca.IsEmpty() && !cb.IsEmpty();
    return ca < cb;
}

// The places of points [begin, end) by x, then code, then reading order: a strict weak ordering, unlike a
// tolerance on x. Empty when they stand in that order already. Runs already sorted (the chunks, for the pass over
// all) are merged rather than sorted again.
std::vector<uint32_t> SortedOrder(const std::vector<ASCFilePoint>& points, const std::vector<PointTexts>& texts,
                                  size_t begin, size_t end, size_t runLength) {
    bool sorted = true;
    bool anyCode = false;
    for (size_t i = begin; i < end; ++i) {
        anyCode = anyCode || !PointCode(texts, points[i]).IsEmpty();
        if (i > begin && sorted) sorted = !Before(points[i], points[i - 1], texts);
    }
    if (sorted) return {};
    if (!anyCode) return RadixOrderByX(points, begin, end);
    std::vector<SortKey> keys(end - begin);
    for (size_t i = begin; i < end; ++i) keys[i - begin] = SortKey{points[i].x, uint32_t(i)};
    auto less = [&](const SortKey& a, const SortKey& b) {
        if (a.x != b.x) return a.x < b.x;
        const ASCFilePoint& pa = points[a.index];
        const ASCFilePoint& pb = points[b.index];
        if (Before(pa, pb, texts)) return true;
        if (Before(pb, pa, texts)) return false;
        return a.index < b.index;
    };
    if (runLength == 0 || runLength >= keys.size()) {
        std::sort(keys.begin(), keys.end(), less);
    } else {
        for (size_t width = runLength; width < keys.size(); width *= 2)
            for (size_t lo = 0; lo + width < keys.size(); lo += 2 * width)
                std::inplace_merge(keys.begin() + std::ptrdiff_t(lo), keys.begin() + std::ptrdiff_t(lo + width),
                                   keys.begin() + std::ptrdiff_t(std::min(keys.size(), lo + 2 * width)), less);
    }
    std::vector<uint32_t> order(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) order[k] = keys[k].index;
    return order;
}

// Puts points [begin, ...) in the order of `order` (place k takes the point at order[k]), or with `back` takes
// that order back (the point at place k returns to order[k]); in place, cycle by cycle. Nothing for no order.
void ApplyOrder(std::vector<ASCFilePoint>& points, size_t begin, const std::vector<uint32_t>& order, bool back) {
    const size_t n = order.size();
    std::vector<bool> done(n, false);
    for (size_t s = 0; s < n; ++s) {
        if (done[s]) continue;
        done[s] = true;
        if (order[s] - begin == s) continue;
        ASCFilePoint carried = points[begin + s];
        if (back) {
            // The carried point goes to its place and takes the one there along.
            for (size_t j = order[s] - begin; j != s; j = order[j] - begin) {
                std::swap(carried, points[begin + j]);
                done[j] = true;
            }
            points[begin + s] = carried;
        } else {
            size_t k = s;
            for (size_t j = order[k] - begin; j != s; k = j, j = order[j] - begin) {
                points[begin + k] = points[begin + j];
                done[j] = true;
            }
            points[begin + k] = carried;
        }
    }
}

void SortRange(std::vector<ASCFilePoint>& points, const std::vector<PointTexts>& texts, size_t begin, size_t end,
               size_t runLength) {
    ApplyOrder(points, begin, SortedOrder(points, texts, begin, end, runLength), false);
}

// Kept points of the recent past in one band of y, oldest (smallest x) first.
struct Band {
    std::vector<uint32_t> members;
    size_t head = 0;
};

// Band number to band, open addressing: the scan looks up three bands per point.
class BandTable {
public:
    Band* Find(int64_t key) {
        if (slots_.empty()) return nullptr;
        for (size_t i = Slot(key);; i = (i + 1) & mask_) {
            if (slots_[i].used == 0) return nullptr;
            if (slots_[i].key == key) return &bands_[slots_[i].band];
        }
    }
    Band& Get(int64_t key) {
        if (Band* found = Find(key)) return *found;
        if ((bands_.size() + 1) * 2 > slots_.size()) Grow();
        size_t i = Slot(key);
        while (slots_[i].used != 0) i = (i + 1) & mask_;
        slots_[i] = Entry{key, uint32_t(bands_.size()), 1};
        bands_.emplace_back();
        return bands_.back();
    }

private:
    struct Entry {
        int64_t key;
        uint32_t band;
        uint32_t used;
    };
    size_t Slot(int64_t key) const { return size_t((uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift_); }
    void Grow() {
        const size_t size = slots_.empty() ? 64 : slots_.size() * 2;
        shift_ = 64;
        for (size_t s = size; s > 1; s >>= 1) --shift_;
        mask_ = size - 1;
        std::vector<Entry> old;
        old.swap(slots_);
        slots_.assign(size, Entry{0, 0, 0});
        for (const Entry& e : old)
            if (e.used != 0) {
                size_t i = Slot(e.key);
                while (slots_[i].used != 0) i = (i + 1) & mask_;
                slots_[i] = e;
            }
    }
    std::vector<Entry> slots_;
    std::vector<Band> bands_;
    size_t mask_ = 0;
    int shift_ = 64;
};

// Bands a little higher than the tolerance: two points within it lie in the same or neighbouring bands, also
// after the division's rounding.
int64_t BandOf(double y, double bandHeight) {
    const double q = std::floor(y / bandHeight);
    if (!(q > -4e18)) return int64_t(-4e18);
    if (!(q < 4e18)) return int64_t(4e18);
    return int64_t(q);
}

// Walks the sorted points [begin, end): a point is removed when a kept point before it lies within the
// tolerance in x and y. Kept points wait in bands of y one tolerance high, so only the bands next to a point's
// own are looked at, and they leave their band once x has moved on by more than the tolerance. Answers the
// number removed, marked in `keep`; a kept point at the very place of one it removes, with another height, goes
// into `mixed`.
// `at(k)` is the point at place k of the order.
using Places = std::vector<std::pair<double, double>>;
template <typename At>
size_t ScanOrder(At at, size_t begin, size_t end, double tolerance, std::vector<uint8_t>& keep, Places& mixed) {
    BandTable bands;
    const double bandHeight = tolerance * (1.0 + 1e-6);
    // Beyond a billion bands the division's rounding may exceed the margin: look one band further.
    double largest = 0.0;
    for (size_t j = begin; j < end; ++j) largest = std::max(largest, std::fabs(at(j).y));
    const int64_t reach = largest / bandHeight < 1e9 ? 1 : 2;
    size_t removed = 0;
    for (size_t j = begin; j < end; ++j) {
        const ASCFilePoint& p = at(j);
        const int64_t band = BandOf(p.y, bandHeight);
        bool duplicate = false;
        for (int64_t b = band - reach; b <= band + reach && !duplicate; ++b) {
            Band* found = bands.Find(b);
            if (found == nullptr) continue;
            Band& near = *found;
            while (near.head < near.members.size() && p.x - at(near.members[near.head]).x > tolerance) ++near.head;
            if (near.head > 64 && near.head * 2 > near.members.size()) {
                near.members.erase(near.members.begin(), near.members.begin() + std::ptrdiff_t(near.head));
                near.head = 0;
            }
            for (size_t k = near.head; k < near.members.size(); ++k) {
                const ASCFilePoint& q = at(near.members[k]);
                if (std::fabs(p.x - q.x) <= tolerance && std::fabs(p.y - q.y) <= tolerance) {
                    if (p.x == q.x && p.y == q.y && p.z != q.z) mixed.emplace_back(q.x, q.y);
                    duplicate = true;
                    break;
                }
            }
        }
        if (duplicate) {
            keep[j] = 0;
            ++removed;
        } else {
            bands.Get(band).members.push_back(uint32_t(j));
        }
    }
    return removed;
}

size_t ScanRange(const std::vector<ASCFilePoint>& points, size_t begin, size_t end, double tolerance,
                 std::vector<uint8_t>& keep, Places& mixed) {
    return ScanOrder([&](size_t k) -> const ASCFilePoint& { return points[k]; }, begin, end, tolerance, keep, mixed);
}

}  // namespace

bool FilterDuplicatePoints(std::vector<ASCFilePoint>& points, const std::vector<PointTexts>& texts, double tolerance,
                           uint32_t chunkSize, ReaderProgress& progress, uint32_t* mixedPositions) {
    if (mixedPositions != nullptr) *mixedPositions = 0;
    if (!(std::fabs(tolerance) >= 1e-7) || points.empty()) return false;
    Places mixed;
    // A place met in the chunks and again in the pass over all counts once.
    auto countMixed = [&]() {
        if (mixedPositions == nullptr) return;
        std::sort(mixed.begin(), mixed.end());
        *mixedPositions = uint32_t(std::unique(mixed.begin(), mixed.end()) - mixed.begin());
    };
    tolerance = std::fabs(tolerance);
    if (chunkSize == 0) chunkSize = 1;
    const size_t count = points.size();
    const size_t chunks = (count + chunkSize - 1) / chunkSize;
    std::vector<uint8_t> keep(count, 1);
    if (chunks > 1) {
        // Points that are nowhere near each other come through the chunks and the pass over all untouched, in the
        // order of the pass over all: one pass tells.
        const std::vector<uint32_t> order = SortedOrder(points, texts, 0, count, 0);
        // Scanned in that order in place (a walk through memory in order); put back when points are near.
        ApplyOrder(points, 0, order, false);
        if (ScanRange(points, 0, count, tolerance, keep, mixed) == 0) {
            for (size_t c = 0; c < chunks; ++c) progress.Step(uint32_t(c + 1));
            return false;
        }
        ApplyOrder(points, 0, order, true);
        keep.assign(count, 1);
        mixed.clear();
    }
    size_t removed = 0;
    for (size_t c = 0; c < chunks; ++c) {
        const size_t begin = c * chunkSize;
        const size_t end = std::min(count, begin + chunkSize);
        SortRange(points, texts, begin, end, 0);
        removed += ScanRange(points, begin, end, tolerance, keep, mixed);
        progress.Step(uint32_t(c + 1));
    }
    auto compact = [&]() {
        size_t to = 0;
        for (size_t i = 0; i < points.size(); ++i)
            if (keep[i]) points[to++] = points[i];
        points.resize(to);
    };
    if (removed > 0) compact();
    if (chunks > 1) {
        // The chunks are sorted runs now; their sizes changed only where points were removed.
        SortRange(points, texts, 0, points.size(), removed == 0 ? chunkSize : 0);
        keep.assign(points.size(), 1);
        const size_t again = ScanRange(points, 0, points.size(), tolerance, keep, mixed);
        if (again > 0) compact();
        removed += again;
    }
    countMixed();
    return removed > 0;
}
