#include "model3d/TrackBodies.hpp"

#include "model3d/PathBand.hpp"

#include <algorithm>
#include <cmath>

namespace {
// The part of the path between plan lengths `from` and `to` along it, its heights taken in between.
std::vector<ModelPoint> SubPath(const std::vector<ModelPoint>& path, const std::vector<double>& along, double from,
                                double to) {
    const auto at = [&](double s) {
        size_t k = 0;
        while (k + 2 < path.size() && along[k + 1] < s) ++k;
        const double u = (s - along[k]) / (along[k + 1] - along[k]);
        const ModelPoint &a = path[k], &b = path[k + 1];
        return ModelPoint{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u, a.z + (b.z - a.z) * u};
    };
    std::vector<ModelPoint> out = {at(from)};
    for (size_t k = 0; k < path.size(); ++k)
        if (along[k] > from + 1e-9 && along[k] < to - 1e-9) out.push_back(path[k]);
    out.push_back(at(to));
    return out;
}

// The band between offsets `left` > `right` from the path, `low` to `high` above it.
bool Strip(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals, double left, double right,
           double low, double high, std::vector<ModelBody>* parts) {
    const std::vector<ModelPoint> lt = OffsetPath(path, normals, left, high),
                                  rt = OffsetPath(path, normals, right, high);
    if (!RunsAlong(path, lt) || !RunsAlong(path, rt)) return false;
    parts->push_back(BandBody(lt, OffsetPath(path, normals, left, low), rt, OffsetPath(path, normals, right, low)));
    return true;
}
}  // namespace

ModelBody JoinBodies(const std::vector<ModelBody>& parts) {
    BodyBuilder b;
    for (const ModelBody& part : parts) {
        const int32_t first = b.VertexCount();
        for (const ModelPoint& p : part.vertices) b.AddVertex(p);
        for (int32_t p = 1; p <= int32_t(part.pgons.size()); ++p) {
            std::vector<int32_t> ring = part.PolygonVertices(p);
            for (int32_t& v : ring) v += first;
            b.AddPolygon(ring);
        }
    }
    return b.Finish();
}

bool BuildTrackBodies(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals,
                      const TrackLayout& layout, std::vector<ModelBody>* bodies, std::string* why) {
    const double tie = layout.gauge + kTieOverhang, share = layout.roadWidth / layout.tracks;
    if (tie > share) {
        *why = "the tracks do not fit the road's width (each takes its gauge and 1 m more for its ties)";
        return false;
    }
    std::vector<double> along(path.size(), 0.0);
    for (size_t k = 1; k < path.size(); ++k)
        along[k] = along[k - 1] + std::hypot(path[k].x - path[k - 1].x, path[k].y - path[k - 1].y);
    std::vector<ModelBody> ties, rails;
    for (int t = 0; t < layout.tracks; ++t) {
        // Track centres spread evenly across the road, the path its middle.
        const double centre = share * (t + 0.5) - layout.roadWidth / 2;
        for (double s = layout.tieSpacing / 2; s + kTieWidth / 2 <= along.back() + 1e-9; s += layout.tieSpacing) {
            const std::vector<ModelPoint> piece =
                SubPath(path, along, std::max(0.0, s - kTieWidth / 2), std::min(along.back(), s + kTieWidth / 2));
            std::vector<ModelPoint> n;
            if (!MitredNormals(piece, &n, why) ||
                !Strip(piece, n, centre + tie / 2, centre - tie / 2, 0.0, kTieDepth, &ties)) {
                *why = "a tie folds back on itself where the path turns more tightly than its length";
                return false;
            }
        }
        for (const double side : {1.0, -1.0}) {
            const double inner = centre + side * layout.gauge / 2, outer = inner + side * kRailWidth;
            if (!Strip(path, normals, std::max(inner, outer), std::min(inner, outer), kTieDepth,
                       kTieDepth + kRailHeight, &rails)) {
                *why = "a rail folds back on itself where the path turns more tightly than the road's width";
                return false;
            }
        }
    }
    if (!ties.empty()) bodies->push_back(JoinBodies(ties));
    bodies->push_back(JoinBodies(rails));
    return true;
}
