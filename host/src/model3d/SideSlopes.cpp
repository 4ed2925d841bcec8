#include "model3d/SideSlopes.hpp"

#include <algorithm>
#include <cmath>

namespace {
using XY = std::pair<double, double>;

// A line in plan, A x + B y + C = 0; its inside is where the form is positive.
struct Half {
    double A = 0, B = 0, C = 0;
    double At(double x, double y) const { return A * x + B * y + C; }
    Half Flipped() const { return {-A, -B, -C}; }
};

// The line through p along d, its inside on the side of `inside`; false when `inside` lies on it.
bool LineThrough(const ModelPoint& p, double dx, double dy, const ModelPoint& inside, Half* h) {
    *h = {-dy, dx, dy * p.x - dx * p.y};
    const double s = h->At(inside.x, inside.y);
    if (!(std::abs(s) > 1e-12 * (std::abs(dx) + std::abs(dy)) * (1.0 + std::hypot(inside.x - p.x, inside.y - p.y))))
        return false;
    if (s < 0.0) *h = h->Flipped();
    return true;
}

struct Chord {
    ModelPoint from, to;
    double ux = 0, uy = 0, nx = 0, ny = 0;  // along it and outward, unit
    double length = 0, grade = 0, across = 0;
    PlanePiece plane;       // region empty
    double wx = 0, wy = 0;  // the slope's steepest line outward, unit
};

std::vector<XY> Clipped(std::vector<XY> region, const Half& h) { return ClipRegion(region, h.A, h.B, h.C); }

// What of `regions` (convex) is not behind the path segment a0-b0 as seen from the slope's source: from the chord
// along the steepest line w (`point` null), or from one point of it (`point`: a chord's end, which the slope's
// mitred corner beyond that end comes from).
void LessShadow(const Chord& chord, const ModelPoint* point, const ModelPoint& a0, const ModelPoint& b0,
                std::vector<std::vector<XY>>* regions) {
    // Only the part of the path outward of the chord's line casts a shadow on the slope.
    const auto out = [&](const ModelPoint& p) {
        return chord.nx * (p.x - chord.from.x) + chord.ny * (p.y - chord.from.y);
    };
    ModelPoint a = a0, b = b0;
    const double fa = out(a), fb = out(b);
    if (fa <= 0.0 && fb <= 0.0) return;
    if (fa < 0.0 || fb < 0.0) {
        const double t = fa / (fa - fb);
        const ModelPoint m = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, 0.0};
        (fa < 0.0 ? a : b) = m;
    }
    const double ex = b.x - a.x, ey = b.y - a.y;
    // The shadow: beyond a-b, between the rays from the source through a and through b. What is left of a region is
    // its parts outside each of these three lines, taken one after the other so that the parts do not overlap.
    Half besideA, besideB, before;
    if (point == nullptr) {
        const double turn = chord.wx * ey - chord.wy * ex;
        // A path along the slope's steepest line hides nothing.
        if (!(std::abs(turn) > 1e-9 * std::hypot(ex, ey))) return;
        if (!LineThrough(a, chord.wx, chord.wy, b, &besideA) || !LineThrough(b, chord.wx, chord.wy, a, &besideB) ||
            !LineThrough(a, ex, ey, {a.x - chord.wx, a.y - chord.wy, 0.0}, &before))
            return;
    } else if (!LineThrough(a, a.x - point->x, a.y - point->y, b, &besideA) ||
               !LineThrough(b, b.x - point->x, b.y - point->y, a, &besideB) ||
               !LineThrough(a, ex, ey, *point, &before)) {
        return;  // a path through the point, or one seen edge-on from it
    }
    std::vector<std::vector<XY>> kept;
    for (const std::vector<XY>& r : *regions) {
        std::vector<XY> rest = r;
        for (const Half& h : {besideA.Flipped(), besideB.Flipped(), before}) {
            std::vector<XY> part = Clipped(rest, h);
            if (!part.empty()) kept.push_back(std::move(part));
            rest = Clipped(rest, h.Flipped());
            if (rest.empty()) break;
        }
    }
    *regions = std::move(kept);
}

// A chord's slope region less what the obstacles hide: the part whose steepest lines come from inside the chord is
// seen along them, the mitred corners beyond its ends from the ends.
std::vector<std::vector<XY>> Unhidden(const Chord& c, const std::vector<XY>& region,
                                      const std::vector<std::vector<ModelPoint>>& obstacles) {
    bool any = false;
    for (const std::vector<ModelPoint>& path : obstacles) any = any || path.size() >= 2;
    if (!any) return {region};
    Half afterFrom, beforeTo;
    std::vector<std::vector<XY>> middle = {region}, start, end;
    if (LineThrough(c.from, c.wx, c.wy, c.to, &afterFrom) && LineThrough(c.to, c.wx, c.wy, c.from, &beforeTo)) {
        start = {Clipped(region, afterFrom.Flipped())};
        end = {Clipped(Clipped(region, afterFrom), beforeTo.Flipped())};
        middle = {Clipped(Clipped(region, afterFrom), beforeTo)};
    }
    std::vector<std::vector<XY>> all;
    for (auto [parts, point] : {std::make_pair(&middle, (const ModelPoint*)nullptr), std::make_pair(&start, &c.from),
                                std::make_pair(&end, &c.to)}) {
        parts->erase(std::remove_if(parts->begin(), parts->end(), [](const auto& r) { return r.empty(); }),
                     parts->end());
        for (const std::vector<ModelPoint>& path : obstacles)
            for (size_t k = 0; k + 1 < path.size(); ++k) LessShadow(c, point, path[k], path[k + 1], parts);
        all.insert(all.end(), parts->begin(), parts->end());
    }
    return all;
}
}  // namespace

bool SlopePieces(const SlopeSide& side, bool cut, double reach, const GroundExtreme& ground,
                 const std::vector<std::vector<ModelPoint>>& obstacles, std::vector<PlanePiece>* pieces,
                 std::string* why) {
    const std::vector<ModelPoint>& line = side.line;
    const size_t n = line.size();
    if (n < 2 || (side.closed && n < 3)) {
        *why = "the line has too few points";
        return false;
    }
    const double t = side.tangent, sign = cut ? 1.0 : -1.0;
    std::vector<Chord> chords;
    for (size_t i = 0; i + 1 < n || (side.closed && i < n); ++i) {
        Chord c;
        c.from = line[i], c.to = line[(i + 1) % n];
        c.length = std::hypot(c.to.x - c.from.x, c.to.y - c.from.y);
        if (!(c.length > 0.0)) {
            *why = "two neighbouring points of the line lie on one place";
            return false;
        }
        c.ux = (c.to.x - c.from.x) / c.length, c.uy = (c.to.y - c.from.y) / c.length;
        c.nx = side.left ? -c.uy : c.uy, c.ny = side.left ? c.ux : -c.ux;
        c.grade = (c.to.z - c.from.z) / c.length;
        if (!(std::abs(c.grade) < t)) {
            *why = "the line rises more steeply than its slope";
            return false;
        }
        // The plane holding the chord whose steepest line rises (falls) at t: it rises by the grade along the chord
        // and by the rest across it.
        c.across = std::sqrt(t * t - c.grade * c.grade);
        c.plane.a = c.grade * c.ux + sign * c.across * c.nx;
        c.plane.b = c.grade * c.uy + sign * c.across * c.ny;
        c.plane.c = c.from.z - c.plane.a * c.from.x - c.plane.b * c.from.y;
        // Outward along the steepest line: up for a cut, down for a fill.
        c.wx = (sign * c.grade * c.ux + c.across * c.nx) / t;
        c.wy = (sign * c.grade * c.uy + c.across * c.ny) / t;
        chords.push_back(c);
    }
    // The lines where neighbouring slopes meet, as rays outward from the corners: ray[i] at the start of chord i.
    const size_t m = chords.size();
    std::vector<ModelPoint> corner(m + 1), dir(m + 1);
    for (size_t i = 0; i <= m; ++i) {
        const bool first = i == 0, last = i == m;
        const Chord& p = chords[(i + m - 1) % m];
        const Chord& q = chords[i % m];
        corner[i] = last ? p.to : q.from;
        double dx = 0.0, dy = 0.0;
        if (!side.closed && (first || last)) {
            // An open end: along the line across the strip, away from it.
            const Chord& own = first ? q : p;
            const ModelPoint& across = first ? side.startAcross : side.endAcross;
            dx = across.x, dy = across.y;
            if (dx * own.nx + dy * own.ny < 0.0) dx = -dx, dy = -dy;
            if (!(std::hypot(dx, dy) > 0.0) || !(std::abs(dx * own.uy - dy * own.ux) > 1e-9 * std::hypot(dx, dy))) {
                *why = "the line's end runs along the line";
                return false;
            }
        } else {
            // Both planes hold the corner; they meet along the line whose plan direction is the cross of their
            // normals.
            dx = q.plane.b - p.plane.b, dy = p.plane.a - q.plane.a;
            const double ox = p.nx + q.nx, oy = p.ny + q.ny;
            if (!(std::hypot(ox, oy) > 1e-9)) {
                *why = "the line turns back on itself";
                return false;
            }
            // Chords of one plane (points on a straight run of one grade) part along its steepest line.
            if (p.plane.a == q.plane.a && p.plane.b == q.plane.b && p.plane.c == q.plane.c)
                dx = q.wx, dy = q.wy;
            else if (!(std::hypot(dx, dy) > 1e-12 * (std::abs(p.plane.a) + std::abs(p.plane.b) + 1.0)))
                dx = ox, dy = oy;
            if (dx * ox + dy * oy < 0.0) dx = -dx, dy = -dy;
        }
        const double len = std::hypot(dx, dy);
        dir[i] = {dx / len, dy / len, 0.0};
    }
    // How far out along ray k chord i's slope reaches the height h: where its plane does, or far out for a ray it
    // never rises (falls) along.
    const auto along = [&](size_t k, size_t i, double h) {
        const Chord& c = chords[i % m];
        const double rate = sign * (c.plane.a * dir[k].x + c.plane.b * dir[k].y);
        const double rest = sign * (h - c.plane.At(corner[k].x, corner[k].y));
        if (!(rest > 0.0)) return 0.0;
        const double far = rest / c.across * 12.0 + c.length;
        return rate > 0.0 ? std::min(rest / rate, far) : far;
    };
    // The region between chord i and its rays, out to a and b along them; rays that cross before that close it at
    // their crossing.
    const auto regionOf = [&](size_t i, double a, double b) {
        const Chord& c = chords[i];
        const double ex = dir[i].x * a, ey = dir[i].y * a, fx = dir[i + 1].x * b, fy = dir[i + 1].y * b;
        const double den = ex * fy - ey * fx;
        double u = -1.0, v = -1.0;
        if (den != 0.0) {
            const double gx = c.to.x - c.from.x, gy = c.to.y - c.from.y;
            u = (gx * fy - gy * fx) / den, v = (gx * ey - gy * ex) / den;
        }
        std::vector<XY> region;
        if (u > 0.0 && u < 1.0 && v > 0.0 && v < 1.0)
            region = {{c.from.x, c.from.y}, {c.to.x, c.to.y}, {c.from.x + ex * u, c.from.y + ey * u}};
        else
            region = {
                {c.from.x, c.from.y}, {c.to.x, c.to.y}, {c.to.x + fx, c.to.y + fy}, {c.from.x + ex, c.from.y + ey}};
        double area = 0.0;
        for (size_t k = 0; k < region.size(); ++k)
            area += region[k].first * region[(k + 1) % region.size()].second -
                region[(k + 1) % region.size()].first * region[k].second;
        if (area < 0.0) std::reverse(region.begin(), region.end());
        if (area == 0.0) region.clear();
        return region;
    };
    // Each chord's slope reaches a metre past the ground it covers: from `reach`, the ground's extreme over the
    // region the slope covers out to there, until that no longer draws it in. Ground beyond the region stays under a
    // cut's slope (over a fill's) at every step, so no daylight is lost.
    std::vector<double> height(m, reach);
    if (ground != nullptr)
        for (size_t i = 0; i < m; ++i)
            for (int round = 0; round < 4; ++round) {
                double extreme = 0.0;
                const std::vector<XY> region = regionOf(i, along(i, i, height[i]), along(i + 1, i, height[i]));
                if (region.empty() || !ground(region, cut, &extreme)) break;
                const double h = extreme + sign;
                if (!(sign * (height[i] - h) > 0.01 * std::abs(height[i] - chords[i].from.z) + 1e-9)) break;
                height[i] = h;
            }
    // Neighbours share each ray's end to the bit, out as far as either needs, so that their regions meet without a
    // gap.
    std::vector<double> rayEnd(m + 1, 0.0);
    for (size_t k = 0; k <= m; ++k) {
        if (k > 0) rayEnd[k] = std::max(rayEnd[k], along(k, k - 1, height[k - 1]));
        if (k < m)
            rayEnd[k] = std::max(rayEnd[k], along(k, k, height[k]));
        else if (side.closed)
            rayEnd[k] = std::max(rayEnd[k], along(k, 0, height[0]));
    }
    if (side.closed) rayEnd[0] = rayEnd[m] = std::max(rayEnd[0], rayEnd[m]);
    for (size_t i = 0; i < m; ++i) {
        const Chord& c = chords[i];
        const std::vector<XY> region = regionOf(i, rayEnd[i], rayEnd[i + 1]);
        if (region.empty()) continue;
        for (std::vector<XY>& r : Unhidden(c, region, obstacles)) {
            PlanePiece piece = c.plane;
            piece.region = std::move(r);
            pieces->push_back(std::move(piece));
        }
    }
    return true;
}
