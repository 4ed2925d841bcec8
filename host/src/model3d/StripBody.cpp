#include "model3d/StripBody.hpp"

#include "model3d/SideSlopes.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
std::vector<ModelPoint> WithoutRepeats(const std::vector<ModelPoint>& line) {
    std::vector<ModelPoint> out;
    for (const ModelPoint& p : line)
        if (out.empty() || p.x != out.back().x || p.y != out.back().y) out.push_back(p);
    return out;
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

bool BuildStripBody(const StripSides& input, double reach, const GroundExtreme& ground, bool cut,
                    const std::vector<std::vector<ModelPoint>>& obstacles, ModelBody* body, std::string* why) {
    const std::vector<ModelPoint> left = WithoutRepeats(input.left), right = WithoutRepeats(input.right);
    if (left.size() < 2 || right.size() < 2) {
        *why = "an edge of the strip has fewer than two points";
        return false;
    }
    std::vector<ModelPoint> rim(left);  // the deck's outline in plan: the left edge, then the right one backwards
    rim.insert(rim.end(), right.rbegin(), right.rend());
    if (!Simple(rim)) {
        *why = "the strip's edges cross each other";
        return false;
    }
    double low = 1e300, high = -1e300;
    for (const ModelPoint& p : rim) low = std::min(low, p.z), high = std::max(high, p.z);
    *body = ModelBody();
    // Slopes rise from a cut above every ground and fall from a fill below it: nothing to take or to add.
    if (cut ? low >= reach - 1.0 : high <= reach + 1.0) return true;
    std::vector<PlanePiece> pieces;
    // The deck between the edges, zipped along their lengths.
    for (const std::array<size_t, 3>& t : Zipped(left, right)) {
        const ModelPoint &p = left[t[0]], &q = right[t[1]], &r = t[2] == 0 ? left[t[0] + 1] : right[t[1] + 1];
        PlanePiece piece;
        if (!PlaneThrough(p, q, r, &piece)) continue;
        piece.region = {{p.x, p.y}, {q.x, q.y}, {r.x, r.y}};
        // Zipped triangles turn the strip's way; a strip drawn clockwise gives them clockwise.
        if (Turn(p, q, r) < 0.0) std::swap(piece.region[1], piece.region[2]);
        pieces.push_back(std::move(piece));
    }
    if (!input.upright) {
        const ModelPoint startAcross = {right.front().x - left.front().x, right.front().y - left.front().y, 0.0};
        const ModelPoint endAcross = {right.back().x - left.back().x, right.back().y - left.back().y, 0.0};
        for (const bool onLeft : {true, false}) {
            SlopeSide side;
            side.line = onLeft ? left : right;
            side.left = onLeft;
            side.tangent = onLeft ? input.leftRise : input.rightRise;
            side.startAcross = startAcross, side.endAcross = endAcross;
            if (!SlopePieces(side, cut, reach, ground, obstacles, &pieces, why)) {
                *why = std::string("the ") + (onLeft ? "left" : "right") + " edge: " + *why;
                return false;
            }
        }
    }
    return BuildEnvelopeBody(pieces, cut, 1.0, body, why);
}
