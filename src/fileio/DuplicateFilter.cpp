#include "fileio/DuplicateFilter.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

using ASCFile::ASCFilePoint;

struct SortKey {
    double x;
    uint32_t index;
};

// Sorts points [begin, end) by x, then code, then reading order: a strict weak ordering, unlike a tolerance on x.
void SortRange(std::vector<ASCFilePoint>& points, size_t begin, size_t end) {
    auto before = [&](const ASCFilePoint& a, const ASCFilePoint& b) {
        if (a.x != b.x) return a.x < b.x;
        if (a.code.IsEmpty() || b.code.IsEmpty()) return a.code.IsEmpty() && !b.code.IsEmpty();
        return a.code < b.code;
    };
    bool sorted = true;
    for (size_t i = begin + 1; i < end && sorted; ++i) sorted = !before(points[i], points[i - 1]);
    if (sorted) return;
    std::vector<SortKey> keys(end - begin);
    for (size_t i = begin; i < end; ++i) keys[i - begin] = SortKey{points[i].x, uint32_t(i)};
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (a.x != b.x) return a.x < b.x;
        const ASCFilePoint& pa = points[a.index];
        const ASCFilePoint& pb = points[b.index];
        if (before(pa, pb)) return true;
        if (before(pb, pa)) return false;
        return a.index < b.index;
    });
    std::vector<ASCFilePoint> ordered(end - begin);
    for (size_t k = 0; k < keys.size(); ++k) ordered[k] = std::move(points[keys[k].index]);
    std::move(ordered.begin(), ordered.end(), points.begin() + std::ptrdiff_t(begin));
}

// Kept points of the recent past in one band of y, oldest (smallest x) first.
struct Band {
    std::vector<uint32_t> members;
    size_t head = 0;
};

int64_t BandOf(double y, double tolerance) {
    const double q = std::floor(y / tolerance);
    if (!(q > -4e18)) return int64_t(-4e18);
    if (!(q < 4e18)) return int64_t(4e18);
    return int64_t(q);
}

// Walks the sorted points [begin, end): a point is removed when a kept point before it lies within the
// tolerance in x and y. Kept points wait in bands of y one tolerance high, so only the bands next to a point's
// own are looked at, and they leave their band once x has moved on by more than the tolerance. Answers the
// number removed, marked in `keep`.
size_t ScanRange(const std::vector<ASCFilePoint>& points, size_t begin, size_t end, double tolerance,
                 std::vector<uint8_t>& keep) {
    std::unordered_map<int64_t, Band> bands;
    size_t removed = 0;
    for (size_t j = begin; j < end; ++j) {
        const ASCFilePoint& p = points[j];
        const int64_t band = BandOf(p.y, tolerance);
        bool duplicate = false;
        // Two bands either side: the division may round a neighbour one band further.
        for (int64_t b = band - 2; b <= band + 2 && !duplicate; ++b) {
            auto found = bands.find(b);
            if (found == bands.end()) continue;
            Band& near = found->second;
            while (near.head < near.members.size() && p.x - points[near.members[near.head]].x > tolerance) ++near.head;
            if (near.head > 64 && near.head * 2 > near.members.size()) {
                near.members.erase(near.members.begin(), near.members.begin() + std::ptrdiff_t(near.head));
                near.head = 0;
            }
            for (size_t k = near.head; k < near.members.size(); ++k) {
                const ASCFilePoint& q = points[near.members[k]];
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
            bands[band].members.push_back(uint32_t(j));
        }
    }
    return removed;
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
    size_t removed = 0;
    for (size_t c = 0; c < chunks; ++c) {
        const size_t begin = c * chunkSize;
        const size_t end = std::min(count, begin + chunkSize);
        SortRange(points, begin, end);
        removed += ScanRange(points, begin, end, tolerance, keep);
        progress.Step(uint32_t(c + 1));
    }
    auto compact = [&]() {
        size_t to = 0;
        for (size_t i = 0; i < points.size(); ++i)
            if (keep[i]) {
                if (to != i) points[to] = std::move(points[i]);
                ++to;
            }
        points.resize(to);
    };
    if (removed > 0) compact();
    if (chunks > 1) {
        SortRange(points, 0, points.size());
        keep.assign(points.size(), 1);
        const size_t again = ScanRange(points, 0, points.size(), tolerance, keep);
        if (again > 0) compact();
        removed += again;
    }
    return removed > 0;
}
