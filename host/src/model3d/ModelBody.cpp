#include "model3d/ModelBody.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

bool SameBody(const ModelBody& a, const ModelBody& b) {
    return a.vertices.size() == b.vertices.size() && a.edges == b.edges && a.pgons == b.pgons && a.pedges == b.pedges &&
        (a.vertices.empty() ||
         std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(ModelPoint)) == 0);
}

std::vector<int32_t> ModelBody::PolygonVertices(int32_t p) const {
    std::vector<int32_t> ring;
    const auto& pg = pgons[size_t(p - 1)];
    for (int32_t k = pg.first; k <= pg.second; ++k) {
        const int32_t e = pedges[size_t(k - 1)];
        const auto& ed = edges[size_t(std::abs(e) - 1)];
        ring.push_back(e > 0 ? ed.first : ed.second);
    }
    return ring;
}

size_t GroupEqualSides(const std::vector<std::pair<int32_t, int32_t>>& sides, std::vector<int32_t>* groupOf) {
    const size_t n = sides.size();
    groupOf->assign(n, 0);
    if (n == 0) return 0;
    int64_t lowest = sides[0].first, highest = sides[0].second;
    for (const auto& s : sides) {
        lowest = std::min<int64_t>(lowest, s.first);
        highest = std::max<int64_t>(highest, s.second);
    }
    size_t groups = 0;
    const int64_t range = highest - lowest + 1;
    if (range > int64_t(2 * n) + 1024) {
        // Vertex numbers spread far wider than the sides: sorted instead of bucketed.
        std::vector<int32_t> order(n);
        for (size_t i = 0; i < n; ++i) order[i] = int32_t(i);
        std::sort(order.begin(), order.end(),
                  [&](int32_t a, int32_t b) { return sides[size_t(a)] < sides[size_t(b)]; });
        for (size_t k = 0; k < n; ++k) {
            if (k > 0 && sides[size_t(order[k])] != sides[size_t(order[k - 1])]) ++groups;
            (*groupOf)[size_t(order[k])] = int32_t(groups);
        }
        return groups + 1;
    }
    // Sides bucketed by their low vertex (one counting pass, no comparison sort: bodies reach millions of sides);
    // within a bucket, a side joins the group its high vertex was last given in that bucket.
    std::vector<int32_t> start(size_t(range) + 1, 0);
    for (const auto& s : sides) ++start[size_t(s.first - lowest) + 1];
    for (size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
    std::vector<int32_t> order(n);
    {
        std::vector<int32_t> next(start.begin(), start.end() - 1);
        for (size_t i = 0; i < n; ++i) order[size_t(next[size_t(sides[i].first - lowest)]++)] = int32_t(i);
    }
    std::vector<std::pair<int32_t, int32_t>> lastOf(size_t(range), {-1, 0});  // per high vertex: bucket, group
    for (size_t b = 0; b + 1 < start.size(); ++b)
        for (int32_t k = start[b]; k < start[b + 1]; ++k) {
            const size_t i = size_t(order[size_t(k)]);
            auto& last = lastOf[size_t(sides[i].second - lowest)];
            if (last.first != int32_t(b)) last = {int32_t(b), int32_t(groups++)};
            (*groupOf)[i] = last.second;
        }
    return groups;
}

void BodyBuilder::AddPolygon(const std::vector<int32_t>& ring) {
    ringStarts_.push_back(int32_t(rings_.size()));
    rings_.insert(rings_.end(), ring.begin(), ring.end());
}

void BodyBuilder::AddTriangle(int32_t a, int32_t b, int32_t c) {
    ringStarts_.push_back(int32_t(rings_.size()));
    rings_.push_back(a);
    rings_.push_back(b);
    rings_.push_back(c);
}

ModelBody BodyBuilder::Finish() {
    const size_t nSides = rings_.size();
    const size_t nRings = ringStarts_.size();
    std::vector<std::pair<int32_t, int32_t>> sides(nSides);  // every polygon side as (low vertex, high vertex)
    for (size_t r = 0; r < nRings; ++r) {
        const size_t b = size_t(ringStarts_[r]);
        const size_t e = r + 1 < nRings ? size_t(ringStarts_[r + 1]) : nSides;
        for (size_t i = b; i < e; ++i) {
            const int32_t u = rings_[i];
            const int32_t v = rings_[i + 1 < e ? i + 1 : b];
            sides[i] = {std::min(u, v), std::max(u, v)};
        }
    }
    // Edge numbers in the order of first use, so that the numbering follows the polygons.
    std::vector<int32_t> groupOf;
    const size_t groups = GroupEqualSides(sides, &groupOf);
    std::vector<int32_t> edgeOfGroup(groups, 0);
    body_.pedges.resize(nSides);
    body_.edges.reserve(groups);
    for (size_t r = 0; r < nRings; ++r) {
        const size_t b = size_t(ringStarts_[r]);
        const size_t e = r + 1 < nRings ? size_t(ringStarts_[r + 1]) : nSides;
        for (size_t i = b; i < e; ++i) {
            const int32_t u = rings_[i];
            const int32_t v = rings_[i + 1 < e ? i + 1 : b];
            int32_t& edge = edgeOfGroup[size_t(groupOf[i])];
            if (edge == 0) {
                // The polygon that meets the edge first runs it forwards.
                body_.edges.push_back({u, v});
                edge = int32_t(body_.edges.size());
            }
            body_.pedges[i] = body_.edges[size_t(edge - 1)].first == u ? edge : -edge;
        }
    }
    body_.pgons.reserve(nRings);
    for (size_t r = 0; r < nRings; ++r) {
        const int32_t b = ringStarts_[r];
        const int32_t e = r + 1 < nRings ? ringStarts_[r + 1] : int32_t(nSides);
        body_.pgons.push_back({b + 1, e});
    }
    rings_.clear();
    ringStarts_.clear();
    ModelBody out;
    std::swap(out, body_);
    return out;
}
