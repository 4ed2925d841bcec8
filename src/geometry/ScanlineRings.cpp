#include "geometry/ScanlineRings.hpp"

#include <algorithm>
#include <cmath>

namespace Scanline {
namespace {

// Point against a ring: 1 inside, -1 outside, 0 on its boundary.
int PointInRing(const std::vector<API_Coord>& ring, const std::vector<int32_t>* candidates, double px, double py) {
    const size_t n = ring.size();
    bool inside = false;
    auto test = [&](size_t i) -> int {
        const API_Coord& a = ring[i];
        const API_Coord& b = ring[(i + 1) % n];
        const double cross = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
        if (cross == 0.0 && px >= std::min(a.x, b.x) && px <= std::max(a.x, b.x) && py >= std::min(a.y, b.y) &&
            py <= std::max(a.y, b.y))
            return 0;
        if ((a.y > py) != (b.y > py)) {
            const double xi = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
            if (px < xi) inside = !inside;
        }
        return 1;
    };
    if (candidates) {
        for (int32_t i : *candidates)
            if (test(static_cast<size_t>(i)) == 0) return 0;
    } else {
        for (size_t i = 0; i < n; ++i)
            if (test(i) == 0) return 0;
    }
    return inside ? 1 : -1;
}

// A ring is kept only if it has area: one whose area is a vanishing part of its box is nothing but rounding.
void KeepRing(std::vector<API_Coord>&& ring, std::vector<std::vector<API_Coord>>& simple) {
    if (ring.size() < 3) return;
    const API_Box b = PointsBox(ring);
    if (std::fabs(RingArea(ring)) > 1e-13 * (b.xMax - b.xMin) * (b.yMax - b.yMin)) simple.push_back(std::move(ring));
}

void KeepAll(std::vector<std::vector<API_Coord>>& rings, std::vector<std::vector<API_Coord>>& simple) {
    for (std::vector<API_Coord>& ring : rings) KeepRing(std::move(ring), simple);
}

bool ByX(const API_Coord& a, const API_Coord& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }

// Computed vertices (crossing points, points of edges under a horizontal edge) closer than tol to each other are
// suspect too: several pairs of edges may give one point. (One close to an input vertex lies at a beam boundary,
// where the sweep marked it.)
void AddCloseComputedPoints(std::vector<API_Coord>& computed, double tol, std::vector<API_Coord>& suspects) {
    std::sort(computed.begin(), computed.end(), ByX);
    for (size_t i = 1; i < computed.size(); ++i)
        for (size_t j = i; j-- > 0 && computed[i].x - computed[j].x <= tol;)
            if (std::fabs(computed[i].y - computed[j].y) <= tol) {
                suspects.push_back(computed[i]);
                suspects.push_back(computed[j]);
            }
}

// The suspect points, one for every cluster closer than tol, in x order.
class SuspectPoints {
public:
    SuspectPoints(std::vector<API_Coord>& suspects, double tol) : m_tol(tol) {
        std::sort(suspects.begin(), suspects.end(), ByX);
        for (const API_Coord& p : suspects) {
            bool merged = false;
            for (size_t k = points.size(); k-- > 0 && p.x - points[k].x <= tol;)
                if (std::fabs(p.y - points[k].y) <= tol) {
                    merged = true;
                    break;
                }
            if (!merged) points.push_back(p);
        }
    }

    // The suspect point within tol of q, or -1.
    int32_t Find(const API_Coord& q) const {
        if (points.empty()) return -1;
        auto at = std::lower_bound(points.begin(), points.end(), q.x - m_tol,
                                   [](const API_Coord& p, double x) { return p.x < x; });
        for (; at != points.end() && at->x <= q.x + m_tol; ++at)
            if (std::fabs(at->y - q.y) <= m_tol) return static_cast<int32_t>(at - points.begin());
        return -1;
    }

    // The first point whose x is not below x.
    std::vector<API_Coord>::const_iterator From(double x) const {
        return std::lower_bound(points.begin(), points.end(), x, [](const API_Coord& p, double v) { return p.x < v; });
    }

    std::vector<API_Coord> points;

private:
    double m_tol;
};

// Vertices within tol of a suspect point take its coordinates; hits counts them by point. False when none did.
bool SnapVertices(std::vector<std::vector<API_Coord>>& rings, const SuspectPoints& suspect,
                  std::vector<uint32_t>& hits) {
    hits.assign(suspect.points.size(), 0);
    bool any = false;
    for (std::vector<API_Coord>& ring : rings)
        for (API_Coord& v : ring) {
            const int32_t k = suspect.Find(v);
            if (k >= 0) {
                v = suspect.points[static_cast<size_t>(k)];
                ++hits[static_cast<size_t>(k)];
                any = true;
            }
        }
    return any;
}

// A suspect point that is a vertex somewhere and lies on an edge elsewhere becomes a vertex of that edge.
void InsertOnEdges(std::vector<std::vector<API_Coord>>& rings, const SuspectPoints& suspect, double tol,
                   std::vector<uint32_t>& hits) {
    struct Insert {
        uint32_t ring, edge;
        double t;
        uint32_t point;
    };
    const std::vector<API_Coord>& points = suspect.points;
    std::vector<Insert> inserts;
    for (uint32_t r = 0; r < rings.size(); ++r) {
        const std::vector<API_Coord>& ring = rings[r];
        for (uint32_t i = 0; i < ring.size(); ++i) {
            const API_Coord& a = ring[i];
            const API_Coord& b = ring[(i + 1) % ring.size()];
            for (auto at = suspect.From(std::min(a.x, b.x) - tol);
                 at != points.end() && at->x <= std::max(a.x, b.x) + tol; ++at) {
                const size_t k = static_cast<size_t>(at - points.begin());
                if (hits[k] == 0 || at->y < std::min(a.y, b.y) - tol || at->y > std::max(a.y, b.y) + tol) continue;
                if ((at->x == a.x && at->y == a.y) || (at->x == b.x && at->y == b.y)) continue;
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double t = ((at->x - a.x) * dx + (at->y - a.y) * dy) / (dx * dx + dy * dy);
                if (!(t > 0.0 && t < 1.0)) continue;
                const double ex = a.x + t * dx - at->x, ey = a.y + t * dy - at->y;
                if (ex * ex + ey * ey <= tol * tol) inserts.push_back(Insert{r, i, t, static_cast<uint32_t>(k)});
            }
        }
    }
    if (inserts.empty()) return;
    std::sort(inserts.begin(), inserts.end(), [](const Insert& a, const Insert& b) {
        return a.ring != b.ring ? a.ring < b.ring : a.edge != b.edge ? a.edge < b.edge : a.t < b.t;
    });
    std::vector<API_Coord> out;
    size_t k = 0;
    for (uint32_t r = 0; r < rings.size() && k < inserts.size(); ++r) {
        if (inserts[k].ring != r) continue;
        out.clear();
        for (uint32_t i = 0; i < rings[r].size(); ++i) {
            out.push_back(rings[r][i]);
            for (; k < inserts.size() && inserts[k].ring == r && inserts[k].edge == i; ++k) {
                out.push_back(points[inserts[k].point]);
                ++hits[inserts[k].point];
            }
        }
        rings[r].swap(out);
    }
}

// Shared points: suspects that are vertices twice or more (repeats in a row count once, and go). sid gets, for each
// vertex of each ring, its shared point or -1. False when no point is shared.
bool MarkSharedPoints(std::vector<std::vector<API_Coord>>& rings, const SuspectPoints& suspect,
                      std::vector<std::vector<int32_t>>& sid) {
    const std::vector<API_Coord>& points = suspect.points;
    sid.assign(rings.size(), {});
    std::vector<uint32_t> count(points.size(), 0);
    bool shared = false;
    for (size_t r = 0; r < rings.size(); ++r) {
        std::vector<API_Coord>& ring = rings[r];
        size_t w = 0;
        for (size_t i = 0; i < ring.size(); ++i)
            if (w == 0 || ring[i].x != ring[w - 1].x || ring[i].y != ring[w - 1].y) ring[w++] = ring[i];
        while (w > 1 && ring[w - 1].x == ring[0].x && ring[w - 1].y == ring[0].y) --w;
        ring.resize(w);
        sid[r].assign(ring.size(), -1);
        for (size_t i = 0; i < ring.size(); ++i) {
            const int32_t k = suspect.Find(ring[i]);
            if (k >= 0 && ring[i].x == points[static_cast<size_t>(k)].x &&
                ring[i].y == points[static_cast<size_t>(k)].y) {
                sid[r][i] = k;
                if (++count[static_cast<size_t>(k)] > 1) shared = true;
            }
        }
    }
    if (!shared) return false;
    for (size_t r = 0; r < rings.size(); ++r)
        for (int32_t& k : sid[r])
            if (k >= 0 && count[static_cast<size_t>(k)] < 2) k = -1;
    return true;
}

// An edge (ring, index) leaving a shared point, and its direction.
struct Outgoing {
    uint32_t ring, edge;
    double angle;
};

// The outgoing edges at each shared point, by angle. used gets a flag per edge: edges between shared points that
// run both ways cancel, and are marked used from the start.
void CollectOutgoing(const std::vector<std::vector<API_Coord>>& rings, const std::vector<std::vector<int32_t>>& sid,
                     size_t pointCount, std::vector<std::vector<Outgoing>>& outgoing,
                     std::vector<std::vector<char>>& used) {
    struct Between {
        int32_t from, to;
        uint32_t ring, edge;
    };
    outgoing.assign(pointCount, {});
    used.assign(rings.size(), {});
    std::vector<Between> between;
    for (uint32_t r = 0; r < rings.size(); ++r) {
        const std::vector<API_Coord>& ring = rings[r];
        used[r].assign(ring.size(), 0);
        for (uint32_t i = 0; i < ring.size(); ++i) {
            const int32_t k = sid[r][i];
            if (k < 0) continue;
            const API_Coord& a = ring[i];
            const API_Coord& b = ring[(i + 1) % ring.size()];
            outgoing[static_cast<size_t>(k)].push_back(Outgoing{r, i, std::atan2(b.y - a.y, b.x - a.x)});
            const int32_t to = sid[r][(i + 1) % ring.size()];
            if (to >= 0) between.push_back(Between{k, to, r, i});
        }
    }
    std::sort(between.begin(), between.end(), [](const Between& a, const Between& b) {
        const auto ka = std::minmax(a.from, a.to), kb = std::minmax(b.from, b.to);
        return ka < kb;
    });
    for (size_t i = 0; i < between.size();) {
        size_t j = i;
        const auto key = std::minmax(between[i].from, between[i].to);
        while (j < between.size() && std::minmax(between[j].from, between[j].to) == key) ++j;
        for (size_t a = i; a < j; ++a) {
            if (used[between[a].ring][between[a].edge]) continue;
            for (size_t b = a + 1; b < j; ++b)
                if (!used[between[b].ring][between[b].edge] && between[b].from == between[a].to &&
                    between[b].to == between[a].from) {
                    used[between[a].ring][between[a].edge] = used[between[b].ring][between[b].edge] = 1;
                    break;
                }
        }
        i = j;
    }
    for (std::vector<Outgoing>& o : outgoing)
        std::sort(o.begin(), o.end(), [](const Outgoing& a, const Outgoing& b) { return a.angle < b.angle; });
}

// Cuts a walk into simple rings where it passes a shared point twice. lastAt (by shared point, all -1) is scratch
// and is left all -1.
void CutWalk(const std::vector<API_Coord>& walk, const std::vector<int32_t>& walkIds, std::vector<int32_t>& lastAt,
             std::vector<std::vector<API_Coord>>& simple) {
    std::vector<API_Coord> stack;
    std::vector<int32_t> stackIds;
    std::vector<int32_t> seen;
    for (size_t m = 0; m < walk.size(); ++m) {
        const int32_t k = walkIds[m];
        if (k >= 0 && lastAt[static_cast<size_t>(k)] >= 0) {
            const size_t from = static_cast<size_t>(lastAt[static_cast<size_t>(k)]);
            std::vector<API_Coord> loop(stack.begin() + static_cast<std::ptrdiff_t>(from), stack.end());
            for (size_t q = from + 1; q < stackIds.size(); ++q)
                if (stackIds[q] >= 0) lastAt[static_cast<size_t>(stackIds[q])] = -1;
            stack.resize(from + 1);
            stackIds.resize(from + 1);
            KeepRing(std::move(loop), simple);
            continue;
        }
        if (k >= 0) {
            lastAt[static_cast<size_t>(k)] = static_cast<int32_t>(stack.size());
            seen.push_back(k);
        }
        stack.push_back(walk[m]);
        stackIds.push_back(k);
    }
    for (int32_t k : seen) lastAt[static_cast<size_t>(k)] = -1;
    KeepRing(std::move(stack), simple);
}

// Walks the boundary from each edge not walked yet: at a shared point, on with the outgoing edge next clockwise
// from the way back. Each walk is cut into simple rings.
void TraceWalks(const std::vector<std::vector<API_Coord>>& rings, const std::vector<std::vector<int32_t>>& sid,
                const std::vector<std::vector<Outgoing>>& outgoing, std::vector<std::vector<char>>& used,
                std::vector<std::vector<API_Coord>>& simple) {
    std::vector<API_Coord> walk;
    std::vector<int32_t> walkIds, lastAt(outgoing.size(), -1);
    for (uint32_t r0 = 0; r0 < rings.size(); ++r0) {
        for (uint32_t i0 = 0; i0 < rings[r0].size(); ++i0) {
            if (used[r0][i0]) continue;
            walk.clear();
            walkIds.clear();
            uint32_t r = r0, i = i0;
            // An edge still free to take: not used, or the walk's first edge (which closes it).
            auto free = [&](const Outgoing& o) { return !used[o.ring][o.edge] || (o.ring == r0 && o.edge == i0); };
            while (!used[r][i]) {
                used[r][i] = 1;
                const std::vector<API_Coord>& ring = rings[r];
                walk.push_back(ring[i]);
                walkIds.push_back(sid[r][i]);
                const uint32_t j = i + 1 == ring.size() ? 0 : i + 1;
                const int32_t k = sid[r][j];
                if (k < 0) {
                    i = j;
                    continue;
                }
                const double back = std::atan2(ring[i].y - ring[j].y, ring[i].x - ring[j].x);
                const std::vector<Outgoing>& o = outgoing[static_cast<size_t>(k)];
                const Outgoing* best = nullptr;
                for (size_t m = o.size(); m-- > 0;)
                    if (free(o[m]) && o[m].angle < back) {
                        best = &o[m];
                        break;
                    }
                if (!best)
                    for (size_t m = o.size(); m-- > 0;)
                        if (free(o[m])) {
                            best = &o[m];
                            break;
                        }
                if (!best) break;
                r = best->ring;
                i = best->edge;
            }
            CutWalk(walk, walkIds, lastAt, simple);
        }
    }
}

// An outer contour of the result with what the hole placement needs: box, area, and (built on demand) its edges
// bucketed by height so that many point tests against one large contour stay cheap.
struct OuterInfo {
    const std::vector<API_Coord>* ring;
    API_Box box;
    double area;
    int32_t tests = 0;
    double y0 = 0.0, bucketHeight = 0.0;
    std::vector<std::vector<int32_t>> buckets;

    void BuildBuckets() {
        const size_t n = ring->size();
        const size_t count = std::max<size_t>(1, n);
        y0 = box.yMin;
        bucketHeight = (box.yMax - box.yMin) / static_cast<double>(count);
        buckets.assign(count, {});
        for (size_t i = 0; i < n; ++i) {
            const API_Coord& a = (*ring)[i];
            const API_Coord& b = (*ring)[(i + 1) % n];
            const size_t lo = Bucket(std::min(a.y, b.y));
            const size_t hi = Bucket(std::max(a.y, b.y));
            for (size_t k = lo; k <= hi; ++k) buckets[k].push_back(static_cast<int32_t>(i));
        }
    }

    size_t Bucket(double y) const {
        if (!(bucketHeight > 0.0)) return 0;
        const double k = std::floor((y - y0) / bucketHeight);
        if (!(k > 0.0)) return 0;
        return std::min(buckets.size() - 1, static_cast<size_t>(k));
    }

    int Classify(double px, double py) {
        if (px < box.xMin || px > box.xMax || py < box.yMin || py > box.yMax) return -1;
        if (buckets.empty() && ++tests > 8 && ring->size() > 64) BuildBuckets();
        if (buckets.empty()) return PointInRing(*ring, nullptr, px, py);
        // Every edge whose height range holds py sits in py's bucket.
        return PointInRing(*ring, &buckets[Bucket(py)], px, py);
    }
};

// Whether a hole lies inside an outer contour: decided by the first midpoint of a hole edge (then vertex) that is not
// on the outer contour's boundary; a hole lying wholly on that boundary counts as inside.
bool HoleInside(const std::vector<API_Coord>& hole, OuterInfo& outer) {
    const size_t n = hole.size();
    for (size_t i = 0; i < n; ++i) {
        const API_Coord& a = hole[i];
        const API_Coord& b = hole[(i + 1) % n];
        const int r = outer.Classify(0.5 * (a.x + b.x), 0.5 * (a.y + b.y));
        if (r != 0) return r > 0;
    }
    for (const API_Coord& p : hole) {
        const int r = outer.Classify(p.x, p.y);
        if (r != 0) return r > 0;
    }
    return true;
}

bool BoxInside(const API_Box& inner, const API_Box& outer) {
    return inner.xMin >= outer.xMin && inner.xMax <= outer.xMax && inner.yMin >= outer.yMin && inner.yMax <= outer.yMax;
}

}  // namespace

double RingArea(const std::vector<API_Coord>& ring) {
    double sum = 0.0;
    const size_t n = ring.size();
    if (n < 3) return 0.0;
    const API_Coord o = ring[0];
    for (size_t i = 1; i + 1 < n; ++i) {
        const double ax = ring[i].x - o.x, ay = ring[i].y - o.y;
        const double bx = ring[i + 1].x - o.x, by = ring[i + 1].y - o.y;
        sum += ax * by - bx * ay;
    }
    return 0.5 * sum;
}

void SimpleRings(std::vector<std::vector<API_Coord>>& rings, std::vector<API_Coord> suspects,
                 std::vector<API_Coord> computed, double tol, std::vector<std::vector<API_Coord>>& simple) {
    if (suspects.empty()) return KeepAll(rings, simple);
    AddCloseComputedPoints(computed, tol, suspects);
    const SuspectPoints suspect(suspects, tol);
    std::vector<uint32_t> hits;
    if (!SnapVertices(rings, suspect, hits)) return KeepAll(rings, simple);
    InsertOnEdges(rings, suspect, tol, hits);
    std::vector<std::vector<int32_t>> sid;
    if (!MarkSharedPoints(rings, suspect, sid)) return KeepAll(rings, simple);
    std::vector<std::vector<Outgoing>> outgoing;
    std::vector<std::vector<char>> used;
    CollectOutgoing(rings, sid, suspect.points.size(), outgoing, used);
    TraceWalks(rings, sid, outgoing, used, simple);
}

void GroupContours(std::vector<OutContour>& contours, std::vector<Group>& groups) {
    const size_t n = contours.size();
    std::vector<API_Box> boxes(n);
    for (size_t i = 0; i < n; ++i) boxes[i] = PointsBox(contours[i].points);

    std::vector<OuterInfo> outers;
    std::vector<size_t> outerContour;
    for (size_t i = 0; i < n; ++i) {
        if (contours[i].hole) continue;
        OuterInfo info;
        info.ring = &contours[i].points;
        info.box = boxes[i];
        info.area = std::fabs(RingArea(contours[i].points));
        outers.push_back(std::move(info));
        outerContour.push_back(i);
    }
    // Outer contours by the left side of their box: only those at or left of a hole's left side can hold it.
    std::vector<int32_t> byX(outers.size());
    for (size_t k = 0; k < outers.size(); ++k) byX[k] = static_cast<int32_t>(k);
    std::sort(byX.begin(), byX.end(),
              [&outers](int32_t a, int32_t b) { return outers[a].box.xMin < outers[b].box.xMin; });

    std::vector<int32_t> container(n, -1);
    for (size_t i = 0; i < n; ++i) {
        if (!contours[i].hole) continue;
        const auto end = std::upper_bound(byX.begin(), byX.end(), boxes[i].xMin,
                                          [&outers](double x, int32_t k) { return x < outers[k].box.xMin; });
        for (auto at = byX.begin(); at != end; ++at) {
            OuterInfo& o = outers[*at];
            if (!BoxInside(boxes[i], o.box)) continue;
            if (container[i] >= 0 && o.area >= outers[container[i]].area) continue;
            if (HoleInside(contours[i].points, o)) container[i] = *at;
        }
    }

    std::vector<int32_t> groupOf(n, -1);
    std::vector<char> head(n, 0);
    int32_t groupCount = 0;
    int32_t lastGroup = -1;
    for (size_t i = 0; i < n; ++i) {
        if (!contours[i].hole || (container[i] < 0 && lastGroup < 0)) {
            groupOf[i] = lastGroup = groupCount++;
            head[i] = 1;
        } else if (container[i] < 0) {
            groupOf[i] = lastGroup;
        }
    }
    for (size_t i = 0; i < n; ++i)
        if (container[i] >= 0) groupOf[i] = groupOf[outerContour[container[i]]];

    groups.assign(static_cast<size_t>(groupCount), Group{});
    for (size_t i = 0; i < n; ++i)
        if (head[i]) groups[groupOf[i]].push_back(std::move(contours[i]));
    for (size_t i = 0; i < n; ++i)
        if (!head[i]) groups[groupOf[i]].push_back(std::move(contours[i]));
}

}  // namespace Scanline
