#include "earthworks/WallProfile.hpp"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {
constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kCentreTolerance = 1e-5;
constexpr double kOnTolerance = 1e-7;
constexpr double kMergeDistance = 0.01;
constexpr int32_t kArcPoint = 2;

double ArcAngle(const API_Coord& centre, const API_Coord& p) {
    if (std::fabs(p.x - centre.x) < kCentreTolerance && std::fabs(p.y - centre.y) < kCentreTolerance) return 0.0;
    double a = std::atan2(p.y - centre.y, p.x - centre.x);
    if (a < 0.0) a += kTwoPi;
    while (a > kTwoPi) a -= kTwoPi;
    return a;
}

bool Clockwise(const PrimPoly& s) {
    return (s.mid.y - s.begin.y) * (s.end.x - s.begin.x) - (s.end.y - s.begin.y) * (s.mid.x - s.begin.x) > 0.0;
}

double Sweep(double a0, double a1, bool clockwise) {
    if (clockwise) return a0 > a1 ? a0 - a1 : kTwoPi - a1 + a0;
    return a0 > a1 ? kTwoPi - a0 + a1 : a1 - a0;
}

double Radius(const PrimPoly& s) { return std::hypot(s.begin.x - s.centre.x, s.begin.y - s.centre.y); }

PrimPoly StraightSegment(double x0, double y0, double x1, double y1) {
    PrimPoly s{};
    s.begin = {x0, y0};
    s.end = {x1, y1};
    s.isLine = 1;
    return s;
}

bool Same(double x0, double y0, double x1, double y1) {
    return std::fabs(x0 - x1) < kOnTolerance && std::fabs(y0 - y1) < kOnTolerance;
}

int32_t FindVertex(const QV_List<QV_Coord3DLong>& v, const API_Coord& p, int32_t hint) {
    if (hint >= 0 && hint < v.GetCount() && Same(v[hint].x, v[hint].y, p.x, p.y)) return hint;
    for (int32_t i = 0; i < v.GetCount(); ++i)
        if (Same(v[i].x, v[i].y, p.x, p.y)) return i;
    return -1;
}

double ZAt(const QV_List<QV_Coord3DLong>& v, int32_t i) { return i >= 0 && i < v.GetCount() ? v[i].z : 0.0; }

// The unit direction in which the segment runs through `p` (one of its points).
API_Coord DirectionAt(const PrimPoly& s, const API_Coord& p) {
    double dx, dy;
    if (s.isLine != 0) {
        dx = s.end.x - s.begin.x;
        dy = s.end.y - s.begin.y;
    } else {
        const double rx = p.x - s.centre.x, ry = p.y - s.centre.y;
        // Counter-clockwise travel turns the radius a quarter to the left.
        if (Clockwise(s)) {
            dx = ry;
            dy = -rx;
        } else {
            dx = -ry;
            dy = rx;
        }
    }
    const double len = std::hypot(dx, dy);
    if (len == 0.0) return {0.0, 0.0};
    return {dx / len, dy / len};
}
}  // namespace

bool ObstacleCosLess(const ObstacleCos& a, const ObstacleCos& b, void*) { return a.d < b.d; }

void SegmentArcs(QV_List<PrimPoly>& path, int32_t resolution) {
    const int32_t n = resolution < 1 ? 1 : resolution;
    QV_List<PrimPoly> out;
    for (const PrimPoly& s : path) {
        if (s.isLine != 0) {
            out.Insert(s);
            continue;
        }
        const double a0 = ArcAngle(s.centre, s.begin);
        const double a1 = ArcAngle(s.centre, s.end);
        const bool cw = Clockwise(s);
        const double step = Sweep(a0, a1, cw) / n;
        const double r = s.radius > 0.0 ? s.radius : Radius(s);
        API_Coord prev = s.begin;
        for (int32_t k = 1; k <= n; ++k) {
            API_Coord next = s.end;
            if (k < n) {
                const double a = cw ? a0 - k * step : a0 + k * step;
                next = {s.centre.x + r * std::cos(a), s.centre.y + r * std::sin(a)};
            }
            out.Insert(StraightSegment(prev.x, prev.y, next.x, next.y));
            prev = next;
        }
    }
    path = out;
}

void BuildFaceVertices(const QV_List<PrimPoly>& segments, QV_List<QV_Coord3DLong>& vertices) {
    vertices.Clear();
    if (segments.IsEmpty()) return;
    vertices.Insert({segments[0].begin.x, segments[0].begin.y, 0.0, 0});
    for (const PrimPoly& s : segments) {
        if (s.isLine == 0) vertices.Insert({s.mid.x, s.mid.y, 0.0, kArcPoint});
        vertices.Insert({s.end.x, s.end.y, 0.0, 0});
    }
}

void MergeClosePoints(QV_List<API_Coord3D>& points) {
    // Points are bucketed in cells of the merge distance, so each one meets only the points of its own and the
    // eight cells around it; the order in which points absorb later ones stays that of the list.
    const int32_t n = points.GetCount();
    std::vector<char> dropped(size_t(n), 0);
    std::unordered_map<uint64_t, std::vector<int32_t>> cells;
    const auto cellOf = [](double v) { return int64_t(std::floor(v / kMergeDistance)); };
    const auto key = [](int64_t cx, int64_t cy) { return uint64_t(cx) * 0x9E3779B97F4A7C15ull ^ uint64_t(cy); };
    const auto usable = [](const API_Coord3D& p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < 1e15 && std::fabs(p.y) < 1e15;
    };
    std::vector<int32_t> others;  // too far out for a cell: compared with each other only
    for (int32_t i = 0; i < n; ++i) {
        if (usable(points[i]))
            cells[key(cellOf(points[i].x), cellOf(points[i].y))].push_back(i);
        else
            others.push_back(i);
    }
    const auto absorb = [&](API_Coord3D& p, int32_t j) {
        const API_Coord3D& q = points[j];
        if (std::fabs(p.x - q.x) < kMergeDistance && std::fabs(p.y - q.y) < kMergeDistance) {
            if (q.z > p.z) p.z = q.z;
            dropped[size_t(j)] = 1;
        }
    };
    for (int32_t i = 0; i < n; ++i) {
        if (dropped[size_t(i)] != 0) continue;
        API_Coord3D& p = points[i];
        if (!usable(p)) {
            for (const int32_t j : others)
                if (j > i && dropped[size_t(j)] == 0) absorb(p, j);
            continue;
        }
        const int64_t cx = cellOf(p.x), cy = cellOf(p.y);
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const auto cell = cells.find(key(cx + dx, cy + dy));
                if (cell == cells.end()) continue;
                for (const int32_t j : cell->second)
                    if (j > i && dropped[size_t(j)] == 0) absorb(p, j);
            }
    }
    QV_List<API_Coord3D> kept;
    for (int32_t i = 0; i < n; ++i)
        if (dropped[size_t(i)] == 0) kept.Insert(points[i]);
    points = kept;
}

bool PointOnSegment(const PrimPoly& s, double px, double py) {
    if (s.isLine != 0) {
        const double x0 = s.begin.x, y0 = s.begin.y, x1 = s.end.x, y1 = s.end.y;
        if (std::fabs(x0 - x1) < kOnTolerance && std::fabs(y0 - y1) < kOnTolerance) return false;
        // t runs from the end point (0) to the begin point (1).
        if (std::fabs(x0 - x1) > std::fabs(y0 - y1)) {
            const double t = (px - x1) / (x0 - x1);
            return std::fabs(py - t * y0 - (1.0 - t) * y1) < kOnTolerance && t >= 0.0 && t <= 1.0;
        }
        const double t = (py - y1) / (y0 - y1);
        return std::fabs(px - t * x0 - (1.0 - t) * x1) < kOnTolerance && t >= 0.0 && t <= 1.0;
    }
    const double r = Radius(s);
    const double a0 = ArcAngle(s.centre, s.begin);
    const double a1 = ArcAngle(s.centre, s.end);
    if (std::fabs(a0 - a1) < kCentreTolerance || r <= 0.0) return false;
    if (std::fabs(std::hypot(px - s.centre.x, py - s.centre.y) - r) >= kOnTolerance) return false;
    const bool cw = Clockwise(s);
    const double a = ArcAngle(s.centre, {px, py});
    const double tolerance = kOnTolerance / r;
    // How far the point lies from the begin angle in the arc's own direction of travel.
    double off = cw ? a0 - a : a - a0;
    while (off < 0.0) off += kTwoPi;
    while (off >= kTwoPi) off -= kTwoPi;
    if (off > kTwoPi - tolerance) off = 0.0;
    return off <= Sweep(a0, a1, cw) + tolerance;
}

bool AssignPointsToSegments(const QV_List<API_Coord3D>& points, const QV_List<PrimPoly>& segments,
                            QV_List<int32_t>& index) {
    index.Clear();
    bool any = false;
    for (const API_Coord3D& p : points) {
        int32_t found = -1;
        for (int32_t k = 0; k < segments.GetCount() && found < 0; ++k)
            if (PointOnSegment(segments[k], p.x, p.y)) found = k;
        index.Insert(found);
        any = any || found >= 0;
    }
    return any;
}

void SplitPathAtPoints(const QV_List<API_Coord3D>& points, QV_List<QV_Coord3DLong>& vertices,
                       QV_List<PrimPoly>& segments, const QV_List<int32_t>& index) {
    // The points of each segment, gathered once.
    std::vector<std::vector<int32_t>> onSegment(size_t(segments.GetCount()));
    for (int32_t i = 0; i < index.GetCount() && i < points.GetCount(); ++i)
        if (index[i] >= 0 && index[i] < segments.GetCount()) onSegment[size_t(index[i])].push_back(i);

    QV_List<PrimPoly> newSegments;
    QV_List<ObstacleHeight> heights;
    QV_List<ObstacleCos> cuts;
    int32_t at = 0;  // where the segment's begin point should be in the vertex list
    for (int32_t k = 0; k < segments.GetCount(); ++k) {
        const PrimPoly& s = segments[k];
        const int32_t begin = FindVertex(vertices, s.begin, at);
        if (s.isLine == 0) {
            const int32_t mid = FindVertex(vertices, s.mid, begin + 1);
            const int32_t end = FindVertex(vertices, s.end, begin + 2);
            newSegments.Insert(s);
            heights.Insert({ZAt(vertices, begin), ZAt(vertices, end), ZAt(vertices, mid)});
            at = end;
            continue;
        }
        const int32_t end = FindVertex(vertices, s.end, begin + 1);
        at = end;
        const double zBegin = ZAt(vertices, begin);
        const double zEnd = ZAt(vertices, end);
        const double length = std::hypot(s.end.x - s.begin.x, s.end.y - s.begin.y);
        cuts.Clear();
        for (int32_t i : onSegment[size_t(k)]) {
            const API_Coord3D& p = points[i];
            const double d = std::hypot(p.x - s.begin.x, p.y - s.begin.y);
            // A point on an end of the segment is that vertex already: no empty piece.
            if (d < kOnTolerance || d > length - kOnTolerance) continue;
            cuts.Insert({p.x, p.y, p.z, d});
        }
        if (cuts.IsEmpty()) {
            newSegments.Insert(s);
            heights.Insert({zBegin, zEnd, 0.0});
            continue;
        }
        cuts.Sort(ObstacleCosLess);
        cuts.Insert({s.end.x, s.end.y, zEnd, length});
        double px = s.begin.x, py = s.begin.y, pz = zBegin, pd = 0.0;
        for (const ObstacleCos& c : cuts) {
            if (c.d - pd < kOnTolerance) continue;  // two points in one place cut once
            newSegments.Insert(StraightSegment(px, py, c.x, c.y));
            heights.Insert({pz, c.z, 0.0});
            px = c.x;
            py = c.y;
            pz = c.z;
            pd = c.d;
        }
    }

    vertices.Clear();
    for (int32_t k = 0; k < newSegments.GetCount(); ++k) {
        const PrimPoly& s = newSegments[k];
        vertices.Insert({s.begin.x, s.begin.y, heights[k].zBegin, 0});
        if (s.isLine == 0) vertices.Insert({s.mid.x, s.mid.y, heights[k].zArc, kArcPoint});
    }
    if (!newSegments.IsEmpty()) {
        const int32_t last = newSegments.GetCount() - 1;
        vertices.Insert({newSegments[last].end.x, newSegments[last].end.y, heights[last].zEnd, 0});
    }
    segments = newSegments;
}

void OffsetVertexPoints(const QV_List<PrimPoly>& near, const QV_List<QV_Coord3DLong>& nearVertices, double thickness,
                        bool onLeft, QV_List<API_Coord3D>& points) {
    points.Clear();
    const double side = onLeft ? thickness : -thickness;
    // The heights of the vertices that are no arc points, in order.
    std::vector<double> heights;
    for (const QV_Coord3DLong& v : nearVertices)
        if (v.code != kArcPoint) heights.push_back(v.z);
    const auto height = [&](size_t i) { return i < heights.size() ? heights[i] : 0.0; };
    const auto moved = [&](const PrimPoly& s, const API_Coord& p, double z) {
        const API_Coord d = DirectionAt(s, p);
        return API_Coord3D{p.x - side * d.y, p.y + side * d.x, z};
    };
    for (int32_t k = 0; k < near.GetCount(); ++k) points.Insert(moved(near[k], near[k].begin, height(size_t(k))));
    if (!near.IsEmpty()) {
        const PrimPoly& last = near[near.GetCount() - 1];
        points.Insert(moved(last, last.end, heights.empty() ? 0.0 : heights.back()));
    }
}

void MatchFarFace(const QV_List<PrimPoly>& near, const QV_List<QV_Coord3DLong>& nearVertices, double thickness,
                  bool onLeft, QV_List<PrimPoly>& far, QV_List<QV_Coord3DLong>& farVertices) {
    QV_List<API_Coord3D> opposite;
    OffsetVertexPoints(near, nearVertices, thickness, onLeft, opposite);
    QV_List<API_Coord3D> rest;
    for (const API_Coord3D& p : opposite) {
        bool lifted = false;
        for (QV_Coord3DLong& v : farVertices)
            if (Same(v.x, v.y, p.x, p.y)) {
                v.z = p.z;
                lifted = true;
                break;
            }
        if (!lifted) rest.Insert(p);
    }
    QV_List<int32_t> index;
    if (AssignPointsToSegments(rest, far, index)) SplitPathAtPoints(rest, farVertices, far, index);
}

void ReverseCoord3DLongList(QV_List<QV_Coord3DLong>& list) {
    const int32_t n = list.GetCount();
    for (int32_t i = 0; i < n / 2; ++i) {
        const QV_Coord3DLong t = list[i];
        list[i] = list[n - 1 - i];
        list[n - 1 - i] = t;
    }
}
