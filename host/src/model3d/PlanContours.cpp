#include "model3d/PlanContours.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {
struct Piece {
    int32_t level;
    uint64_t from, to;  // the triangle sides it joins, each as (low corner, high corner)
};

uint64_t SideKey(int32_t a, int32_t b) { return (uint64_t(uint32_t(std::min(a, b))) << 32) | uint32_t(std::max(a, b)); }

// Where side (a, b) crosses the level; computed from the lower-numbered corner so both triangles of the side get
// the same point.
ModelPoint Crossing(const std::vector<ModelPoint>& points, uint64_t side, double level) {
    const ModelPoint& p = points[size_t(side >> 32)];
    const ModelPoint& q = points[size_t(side & 0xffffffffu)];
    const double t = (level - p.z) / (q.z - p.z);
    return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), level};
}
}  // namespace

std::vector<LevelLine> TraceLevelLines(const std::vector<ModelPoint>& points,
                                       const std::vector<std::array<int32_t, 3>>& triangles,
                                       const std::vector<double>& levels) {
    std::vector<Piece> pieces;
    for (const auto& t : triangles) {
        bool usable = true;
        for (int32_t v : t)
            usable = usable && v >= 0 && size_t(v) < points.size() && std::isfinite(points[size_t(v)].x) &&
                std::isfinite(points[size_t(v)].y) && std::isfinite(points[size_t(v)].z);
        if (!usable) continue;
        const double lo = std::min({points[size_t(t[0])].z, points[size_t(t[1])].z, points[size_t(t[2])].z});
        const double hi = std::max({points[size_t(t[0])].z, points[size_t(t[1])].z, points[size_t(t[2])].z});
        // Levels in (lo, hi]: some corner below, some at or above.
        auto k = std::upper_bound(levels.begin(), levels.end(), lo);
        for (; k != levels.end() && *k <= hi; ++k) {
            const double level = *k;
            uint64_t sides[2];
            int n = 0;
            for (int s = 0; s < 3; ++s) {
                const int32_t a = t[size_t(s)], b = t[size_t((s + 1) % 3)];
                if ((points[size_t(a)].z >= level) != (points[size_t(b)].z >= level) && n < 2)
                    sides[n++] = SideKey(a, b);
            }
            if (n == 2) pieces.push_back({int32_t(k - levels.begin()), sides[0], sides[1]});
        }
    }
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.level < b.level; });

    std::vector<LevelLine> lines;
    for (size_t start = 0; start < pieces.size();) {
        size_t end = start;
        while (end < pieces.size() && pieces[end].level == pieces[start].level) ++end;
        const double level = levels[size_t(pieces[start].level)];
        // A side holds at most two pieces of one level (one per triangle beside it).
        std::unordered_map<uint64_t, std::array<int64_t, 2>> at;
        at.reserve((end - start) * 2);
        for (size_t i = start; i < end; ++i)
            for (uint64_t side : {pieces[i].from, pieces[i].to}) {
                auto it = at.emplace(side, std::array<int64_t, 2>{-1, -1}).first;
                (it->second[0] < 0 ? it->second[0] : it->second[1]) = int64_t(i);
            }
        std::vector<bool> used(end - start, false);
        const auto follow = [&](size_t first, uint64_t side, LevelLine* line) {
            // From piece `first`, leaving it across `side`, as far as the pieces go.
            size_t i = first;
            while (true) {
                line->points.push_back(Crossing(points, side, level));
                const std::array<int64_t, 2>& two = at[side];
                const int64_t next = two[0] == int64_t(i) ? two[1] : two[0];
                if (next < 0 || used[size_t(next) - start]) return next >= 0 && size_t(next) == first;
                i = size_t(next);
                used[i - start] = true;
                side = pieces[i].from == side ? pieces[i].to : pieces[i].from;
            }
        };
        // Open lines first, from a side only one piece uses (the surface's border), then the closed ones.
        for (int pass = 0; pass < 2; ++pass)
            for (size_t i = start; i < end; ++i) {
                if (used[i - start]) continue;
                const Piece& p = pieces[i];
                uint64_t open = 0;
                bool hasOpen = false;
                for (uint64_t side : {p.from, p.to}) {
                    const std::array<int64_t, 2>& two = at[side];
                    if (two[1] < 0 && !hasOpen) open = side, hasOpen = true;
                }
                if (pass == 0 && !hasOpen) continue;
                used[i - start] = true;
                LevelLine line;
                line.level = p.level;
                const uint64_t from = hasOpen ? open : p.from;
                line.points.push_back(Crossing(points, from, level));
                line.closed = follow(i, from == p.from ? p.to : p.from, &line);
                if (line.closed) line.points.pop_back();  // back on the first point
                lines.push_back(std::move(line));
            }
        start = end;
    }
    return lines;
}
