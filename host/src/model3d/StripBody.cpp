#include "model3d/StripBody.hpp"

#include "model3d/PlanFeatures.hpp"
#include "model3d/SurfaceHeight.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr double kNarrowest = 0.01;  // a slope that meets the ground at its edge keeps this width

std::vector<ModelPoint> WithoutRepeats(const std::vector<ModelPoint>& line) {
    std::vector<ModelPoint> out;
    for (const ModelPoint& p : line)
        if (out.empty() || p.x != out.back().x || p.y != out.back().y) out.push_back(p);
    return out;
}

// How far out (in distance from the edge) the slope from `p` along `n` (a unit normal, lengthened at a corner)
// is on the earthwork's side of the ground for the last time: the ground above a cut's slope, below a fill's.
// `zMin`, `zMax`: the ground's range (a pass over all its points, taken once a line).
double Daylight(const ModelPoint& p, const ModelPoint& n, double rise, bool cut, const MeshSurfaceModel& ground,
                double zMin, double zMax) {
    const double most = (cut ? zMax - p.z : p.z - zMin) / rise;
    const auto earthwork = [&](double u) {
        double t = 0.0;
        if (!SurfaceHeightAt(ground.surface, *ground.index, p.x + n.x * u, p.y + n.y * u, &t)) return false;
        const double s = p.z + (cut ? rise : -rise) * u;
        return cut ? t > s : t < s;
    };
    if (!(most > 0.0)) return kNarrowest;
    const double length = most * std::hypot(n.x, n.y);
    // A short slope is still sampled inside: at `most` itself the slope only reaches the highest (lowest) ground.
    const int steps = int(std::clamp(std::ceil(length / 0.5), 8.0, 400.0));
    int last = -1;
    for (int k = 1; k <= steps; ++k)
        if (earthwork(most * k / steps)) last = k;
    if (last < 0) return kNarrowest;
    if (last == steps) return most;
    double a = most * last / steps, b = most * (last + 1) / steps;
    for (int i = 0; i < 40; ++i) {
        const double m = (a + b) / 2.0;
        (earthwork(m) ? a : b) = m;
    }
    return std::max(a, kNarrowest);
}

// The foot of each slope point: the edge moved out along its normals by its daylight, at the slope's height.
std::vector<ModelPoint> SlopeFoot(const std::vector<ModelPoint>& edge, bool left, double rise, bool cut,
                                  const MeshSurfaceModel& ground) {
    const std::vector<ModelPoint> moved = OffsetLine(edge, left ? 1.0 : -1.0);
    std::vector<ModelPoint> foot;
    double zMin = 0.0, zMax = 0.0;
    ground.surface.ZRange(&zMin, &zMax);
    for (size_t i = 0; i < edge.size() && i < moved.size(); ++i) {
        const ModelPoint n = {moved[i].x - edge[i].x, moved[i].y - edge[i].y, 0.0};
        const double u = Daylight(edge[i], n, rise, cut, ground, zMin, zMax);
        foot.push_back({edge[i].x + n.x * u, edge[i].y + n.y * u, edge[i].z + (cut ? rise : -rise) * u});
    }
    return foot;
}

// The plan lengths along a line, 0 to 1.
std::vector<double> Fractions(const std::vector<ModelPoint>& line) {
    std::vector<double> f(line.size(), 0.0);
    for (size_t i = 1; i < line.size(); ++i)
        f[i] = f[i - 1] + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    for (double& v : f) v /= f.back() > 0.0 ? f.back() : 1.0;
    return f;
}

double Turn(const ModelPoint& a, const ModelPoint& b, const ModelPoint& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

double PlanDistance(const ModelPoint& a, const ModelPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The triangles between the edges {i, j, 0: left i + 1 | 1: right j + 1}. Each step takes the shorter new
// diagonal among the triangles that turn the strip's way in plan: at a bend the inner edge is shorter than the
// outer, and zipping by length alone would fold triangles back over their neighbours.
std::vector<std::array<size_t, 3>> Zipped(const std::vector<ModelPoint>& left, const std::vector<ModelPoint>& right) {
    std::vector<std::array<size_t, 3>> out;
    const std::vector<double> fl = Fractions(left), fr = Fractions(right);
    for (size_t i = 0, j = 0; i + 1 < left.size() || j + 1 < right.size();) {
        bool alongLeft = j + 1 >= right.size();
        if (i + 1 < left.size() && j + 1 < right.size()) {
            const bool leftTurns = Turn(left[i], right[j], left[i + 1]) > 0.0;
            const bool rightTurns = Turn(left[i], right[j], right[j + 1]) > 0.0;
            if (leftTurns != rightTurns)
                alongLeft = leftTurns;
            else
                alongLeft = PlanDistance(left[i + 1], right[j]) < PlanDistance(left[i], right[j + 1]) ||
                    (PlanDistance(left[i + 1], right[j]) == PlanDistance(left[i], right[j + 1]) &&
                     fl[i + 1] <= fr[j + 1]);
        }
        out.push_back({i, j, alongLeft ? 0u : 1u});
        (alongLeft ? i : j) += 1;
    }
    return out;
}

bool Simple(const std::vector<ModelPoint>& ring) {
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    CGAL::Polygon_2<K> polygon;
    for (const ModelPoint& p : ring) polygon.push_back(K::Point_2(p.x, p.y));
    return polygon.size() >= 3 && polygon.is_simple();
}
}  // namespace

bool BuildStripBody(const StripSides& input, const MeshSurfaceModel& ground, bool cut, ModelBody* body,
                    std::vector<std::vector<ModelPoint>>* daylight, std::string* why) {
    const std::vector<ModelPoint> left = WithoutRepeats(input.left), right = WithoutRepeats(input.right);
    if (left.size() < 2 || right.size() < 2) {
        *why = "an edge of the strip has fewer than two points";
        return false;
    }
    const std::vector<ModelPoint> lf = input.upright ? left : SlopeFoot(left, true, input.leftRise, cut, ground);
    const std::vector<ModelPoint> rf = input.upright ? right : SlopeFoot(right, false, input.rightRise, cut, ground);
    daylight->assign({lf, rf});
    std::vector<ModelPoint> rim(lf);  // the outline in plan: the left foot, then the right one backwards
    rim.insert(rim.end(), rf.rbegin(), rf.rend());
    if (!Simple(rim)) {
        *why = "the strip's slopes cross themselves";
        return false;
    }
    double zMin = 0.0, zMax = 0.0, low = 1e300, high = -1e300;
    ground.surface.ZRange(&zMin, &zMax);
    for (const std::vector<ModelPoint>* line : {&left, &right, &lf, &rf})
        for (const ModelPoint& p : *line) low = std::min(low, p.z), high = std::max(high, p.z);
    if (cut ? low >= zMax : high <= zMin) {
        *body = ModelBody();
        return true;
    }
    // The cap: a lid over a cut, a floor under a fill.
    const double cap = cut ? high + 1.0 : std::min(low, zMin) - 1.0;
    BodyBuilder b;
    const auto ids = [&](const std::vector<ModelPoint>& line, bool capped) {
        std::vector<int32_t> out;
        for (const ModelPoint& p : line) out.push_back(b.AddVertex({p.x, p.y, capped ? cap : p.z}));
        return out;
    };
    const std::vector<int32_t> L = ids(left, false), R = ids(right, false), LC = ids(lf, true), RC = ids(rf, true);
    // Upright sides stand on the edges themselves.
    const std::vector<int32_t> LF = input.upright ? L : ids(lf, false), RF = input.upright ? R : ids(rf, false);
    std::vector<std::vector<int32_t>> polygons;
    // Seen from the cut's underside: the surface between the edges, zipped along their lengths.
    for (const std::array<size_t, 3>& t : Zipped(left, right))
        polygons.push_back({L[t[0]], R[t[1]], t[2] == 0 ? L[t[0] + 1] : R[t[1] + 1]});
    for (size_t i = 0; i + 1 < L.size(); ++i) {
        if (!input.upright) {
            polygons.push_back({L[i], L[i + 1], LF[i + 1]});
            polygons.push_back({L[i], LF[i + 1], LF[i]});
        }
        polygons.push_back({LF[i], LF[i + 1], LC[i + 1], LC[i]});
    }
    for (size_t j = 0; j + 1 < R.size(); ++j) {
        if (!input.upright) {
            polygons.push_back({R[j], RF[j], RF[j + 1]});
            polygons.push_back({R[j], RF[j + 1], R[j + 1]});
        }
        polygons.push_back({RF[j], RC[j], RC[j + 1], RF[j + 1]});
    }
    // The ends stand upright: every face of them holds an upright side, so none faces down.
    const size_t n = L.size() - 1, m = R.size() - 1;
    std::vector<int32_t> lid(LC.rbegin(), LC.rend());
    if (input.upright) {
        polygons.push_back({LC[0], L[0], R[0], RC[0]});
        polygons.push_back({RC[m], R[m], L[n], LC[n]});
        lid.insert(lid.end(), RC.begin(), RC.end());
    } else {
        const std::vector<int32_t> ends = ids({left[0], right[0], left[n], right[m]}, true);
        polygons.push_back({LC[0], LF[0], L[0], ends[0]});
        polygons.push_back({ends[0], L[0], R[0], ends[1]});
        polygons.push_back({ends[1], R[0], RF[0], RC[0]});
        polygons.push_back({ends[2], L[n], LF[n], LC[n]});
        polygons.push_back({ends[3], R[m], L[n], ends[2]});
        polygons.push_back({RC[m], RF[m], R[m], ends[3]});
        lid.push_back(ends[0]);
        lid.push_back(ends[1]);
        lid.insert(lid.end(), RC.begin(), RC.end());
        lid.push_back(ends[3]);
        lid.push_back(ends[2]);
    }
    polygons.push_back(lid);
    for (std::vector<int32_t>& ring : polygons) {
        if (!cut) std::reverse(ring.begin(), ring.end());
        b.AddPolygon(ring);
    }
    *body = b.Finish();
    return true;
}
