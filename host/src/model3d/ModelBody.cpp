#include "model3d/ModelBody.hpp"

#include <algorithm>
#include <cstdlib>

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
    // Every polygon side as (low vertex, high vertex, its place in rings_); sorting brings the two uses of an
    // edge together, so edges are numbered without a hash table (bodies reach millions of sides).
    struct Side {
        int32_t lo, hi;
        int32_t at;
    };
    const size_t nSides = rings_.size();
    const size_t nRings = ringStarts_.size();
    std::vector<Side> sides(nSides);
    for (size_t r = 0; r < nRings; ++r) {
        const size_t b = size_t(ringStarts_[r]);
        const size_t e = r + 1 < nRings ? size_t(ringStarts_[r + 1]) : nSides;
        for (size_t i = b; i < e; ++i) {
            const int32_t u = rings_[i];
            const int32_t v = rings_[i + 1 < e ? i + 1 : b];
            sides[i] = {std::min(u, v), std::max(u, v), int32_t(i)};
        }
    }
    std::vector<Side>& sorted = sides;
    std::sort(sorted.begin(), sorted.end(), [](const Side& a, const Side& b) {
        return a.lo != b.lo ? a.lo < b.lo : a.hi != b.hi ? a.hi < b.hi : a.at < b.at;
    });
    // Edge numbers in the order of first use, so that the numbering follows the polygons.
    std::vector<int32_t> groupOf(nSides);
    std::vector<int32_t> groupFirst;  // first use of each group (sides of a group are sorted by use)
    for (size_t i = 0; i < nSides; ++i) {
        if (i == 0 || sorted[i].lo != sorted[i - 1].lo || sorted[i].hi != sorted[i - 1].hi)
            groupFirst.push_back(sorted[i].at);
        groupOf[size_t(sorted[i].at)] = int32_t(groupFirst.size() - 1);
    }
    std::vector<int32_t> edgeOfGroup(groupFirst.size(), 0);
    body_.pedges.resize(nSides);
    body_.edges.reserve(groupFirst.size());
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
