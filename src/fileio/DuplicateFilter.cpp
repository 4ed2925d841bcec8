#include "fileio/DuplicateFilter.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using ASCFile::ASCFilePoint;

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

// A stable sort by x alone, so equal x stay in reading order: four passes of 16 bits.
void RadixSortByX(std::vector<SortKey>& keys) {
    struct Item {
        uint64_t bits;
        uint32_t index;
    };
    std::vector<Item> a(keys.size()), b(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) a[i] = Item{OrderedBits(keys[i].x), keys[i].index};
    std::vector<uint32_t> counts(65536);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(counts.begin(), counts.end(), 0u);
        for (const Item& item : a) ++counts[(item.bits >> shift) & 0xffff];
        // A digit every key shares moves nothing.
        if (counts[(a[0].bits >> shift) & 0xffff] == a.size()) continue;
        uint32_t sum = 0;
        for (uint32_t& c : counts) {
            const uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (const Item& item : a) b[counts[(item.bits >> shift) & 0xffff]++] = item;
        a.swap(b);
    }
    // The bits give the x back unchanged (-0 came in as 0).
    for (size_t i = 0; i < keys.size(); ++i) {
        const uint64_t bits = (a[i].bits & 0x8000000000000000ull) ? a[i].bits & ~0x8000000000000000ull : ~a[i].bits;
        double x;
        std::memcpy(&x, &bits, sizeof x);
        keys[i] = SortKey{x, a[i].index};
    }
}

// Points without texts (every grid point) move as their three numbers.
inline void MovePoint(ASCFilePoint& to, ASCFilePoint& from, bool withTexts) {
    if (withTexts || !from.comment.IsEmpty() || !to.comment.IsEmpty()) {
        to = std::move(from);
        return;
    }
    to.x = from.x;
    to.y = from.y;
    to.z = from.z;
}

bool Before(const ASCFilePoint& a, const ASCFilePoint& b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.code.IsEmpty() || b.code.IsEmpty()) return a.code.IsEmpty() && !b.code.IsEmpty();
    return a.code < b.code;
}

// The order of points [begin, end) by x, then code, then reading order: a strict weak ordering, unlike a
// tolerance on x. Empty when they stand in that order already. Runs already sorted (the chunks, for the pass over
// all) are merged rather than sorted again.
std::vector<SortKey> SortedKeys(const std::vector<ASCFilePoint>& points, size_t begin, size_t end, size_t runLength,
                                bool& texts) {
    bool sorted = true;
    bool anyCode = false;
    bool anyComment = false;
    for (size_t i = begin; i < end; ++i) {
        anyCode = anyCode || !points[i].code.IsEmpty();
        anyComment = anyComment || !points[i].comment.IsEmpty();
        if (i > begin && sorted) sorted = !Before(points[i], points[i - 1]);
    }
    texts = anyCode || anyComment;
    if (sorted) return {};
    std::vector<SortKey> keys(end - begin);
    for (size_t i = begin; i < end; ++i) keys[i - begin] = SortKey{points[i].x, uint32_t(i)};
    auto less = [&](const SortKey& a, const SortKey& b) {
        if (a.x != b.x) return a.x < b.x;
        if (anyCode) {
            const ASCFilePoint& pa = points[a.index];
            const ASCFilePoint& pb = points[b.index];
            if (Before(pa, pb)) return true;
            if (Before(pb, pa)) return false;
        }
        return a.index < b.index;
    };
    if (!anyCode) {
        RadixSortByX(keys);
    } else if (runLength == 0 || runLength >= keys.size()) {
        std::sort(keys.begin(), keys.end(), less);
    } else {
        for (size_t width = runLength; width < keys.size(); width *= 2)
            for (size_t lo = 0; lo + width < keys.size(); lo += 2 * width)
                std::inplace_merge(keys.begin() + std::ptrdiff_t(lo), keys.begin() + std::ptrdiff_t(lo + width),
                                   keys.begin() + std::ptrdiff_t(std::min(keys.size(), lo + 2 * width)), less);
    }
    return keys;
}

// Puts points [begin, ...) in the order of `keys` (nothing for no keys).
void ApplyOrder(std::vector<ASCFilePoint>& points, size_t begin, const std::vector<SortKey>& keys, bool texts) {
    // Points without texts move as their three numbers through a small copy; others whole.
    if (!texts) {
        struct Numbers {
            double x, y, z;
        };
        std::vector<Numbers> ordered(keys.size());
        for (size_t k = 0; k < keys.size(); ++k) {
            const ASCFilePoint& p = points[keys[k].index];
            ordered[k] = Numbers{p.x, p.y, p.z};
        }
        for (size_t k = 0; k < keys.size(); ++k) {
            ASCFilePoint& p = points[begin + k];
            p.x = ordered[k].x;
            p.y = ordered[k].y;
            p.z = ordered[k].z;
        }
        return;
    }
    std::vector<ASCFilePoint> ordered(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) ordered[k] = std::move(points[keys[k].index]);
    std::move(ordered.begin(), ordered.end(), points.begin() + std::ptrdiff_t(begin));
}

void SortRange(std::vector<ASCFilePoint>& points, size_t begin, size_t end, size_t runLength) {
    bool texts = false;
    const std::vector<SortKey> keys = SortedKeys(points, begin, end, runLength, texts);
    ApplyOrder(points, begin, keys, texts);
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
// number removed, marked in `keep`.
// `at(k)` is the point at place k of the order.
template <typename At>
size_t ScanOrder(At at, size_t begin, size_t end, double tolerance, std::vector<uint8_t>& keep) {
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
                 std::vector<uint8_t>& keep) {
    return ScanOrder([&](size_t k) -> const ASCFilePoint& { return points[k]; }, begin, end, tolerance, keep);
}

}  // namespace

bool FilterDuplicatePoints(std::vector<ASCFilePoint>& points, double tolerance, uint32_t chunkSize,
                           ReaderProgress& progress) {
    if (!(std::fabs(tolerance) >= 1e-7) || points.empty()) return false;
    tolerance = std::fabs(tolerance);
    if (chunkSize == 0) chunkSize = 1;
    const size_t count = points.size();
    const size_t chunks = (count + chunkSize - 1) / chunkSize;
    std::vector<uint8_t> keep(count, 1);
    if (chunks > 1) {
        // Points that are nowhere near each other come through the chunks and the pass over all untouched, in the
        // order of the pass over all: one pass tells.
        bool texts = false;
        std::vector<SortKey> keys = SortedKeys(points, 0, count, 0, texts);
        // Scanned in that order in place (a walk through memory in order); put back when points are near.
        ApplyOrder(points, 0, keys, texts);
        if (ScanRange(points, 0, count, tolerance, keep) == 0) {
            for (size_t c = 0; c < chunks; ++c) progress.Step(uint32_t(c + 1));
            return false;
        }
        if (!keys.empty()) {
            std::vector<SortKey> back(count);
            for (size_t k = 0; k < count; ++k) back[keys[k].index] = SortKey{0.0, uint32_t(k)};
            ApplyOrder(points, 0, back, texts);
        }
        keep.assign(count, 1);
    }
    size_t removed = 0;
    for (size_t c = 0; c < chunks; ++c) {
        const size_t begin = c * chunkSize;
        const size_t end = std::min(count, begin + chunkSize);
        SortRange(points, begin, end, 0);
        removed += ScanRange(points, begin, end, tolerance, keep);
        progress.Step(uint32_t(c + 1));
    }
    auto compact = [&]() {
        size_t to = 0;
        for (size_t i = 0; i < points.size(); ++i)
            if (keep[i]) {
                if (to != i) MovePoint(points[to], points[i], !points[i].code.IsEmpty() || !points[to].code.IsEmpty());
                ++to;
            }
        points.resize(to);
    };
    if (removed > 0) compact();
    if (chunks > 1) {
        // The chunks are sorted runs now; their sizes changed only where points were removed.
        SortRange(points, 0, points.size(), removed == 0 ? chunkSize : 0);
        keep.assign(points.size(), 1);
        const size_t again = ScanRange(points, 0, points.size(), tolerance, keep);
        if (again > 0) compact();
        removed += again;
    }
    return removed > 0;
}
