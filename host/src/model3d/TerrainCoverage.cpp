#include "model3d/TerrainCoverage.hpp"

#include "model3d/ElementModels.hpp"
#include "project/AddOnPointRecord.hpp"

#include <algorithm>
#include <cmath>

namespace {
bool OnEdge(const PlanRing& ring, double x, double y, double tolerance) {
    const size_t n = ring.points.size();
    for (size_t i = 0; i < n; ++i) {
        const ModelPoint& a = ring.points[i];
        const ModelPoint& b = ring.points[(i + 1) % n];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        const double t = length2 > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
        if (std::hypot(a.x + t * dx - x, a.y + t * dy - y) <= tolerance) return true;
    }
    return false;
}
}  // namespace

TerrainCoverage CoverageOf(const std::vector<PlanRing>& outline, const std::vector<MeasuredPoint>& points,
                           double tolerance) {
    TerrainCoverage c;
    std::vector<PlanBox> boxes;
    for (const PlanRing& ring : outline) boxes.push_back(BoxOf(ring));
    for (const MeasuredPoint& p : points) {
        ++c.points;
        bool covered = InsideRings(outline, p.x, p.y);
        for (size_t r = 0; r < outline.size() && !covered; ++r) {
            const PlanBox near = {p.x - tolerance, p.y - tolerance, p.x + tolerance, p.y + tolerance};
            covered = boxes[r].Meets(near) && OnEdge(outline[r], p.x, p.y, tolerance);
        }
        if (covered) continue;
        ++c.outside;
        if (p.height && (!c.highestOutside || *p.height > *c.highestOutside)) c.highestOutside = p.height;
    }
    return c;
}

namespace {
// The rings of a mesh or fill against the terrain points of its story in its database.
bool PolygonCoverage(const ProjectCore& project, const API_Guid& guid, API_ElemTypeID type, TerrainCoverage* coverage,
                     std::string* why) {
    const StoredElement* m = project.Find(guid);
    std::vector<PlanRing> outline;
    if (m == nullptr || m->record.header.typeID != type) {
        *why = type == API_MeshID ? "not a mesh" : "not a fill";
        return false;
    }
    if (!ElementRings(*m, 0.0, &outline, why)) return false;
    std::vector<MeasuredPoint> points;
    for (const API_Guid& g : project.Model().elements.InDatabases({m->database}, API_HotspotID)) {
        const StoredElement& e = *project.Find(g);
        std::optional<double> height;
        if (e.record.header.floorInd != m->record.header.floorInd || !ReadAddOnPoint(e, &height)) continue;
        const API_Coord pos = e.record.Get().hotspot.pos;
        points.push_back({pos.x, pos.y, height});
    }
    *coverage = CoverageOf(outline, points);
    return true;
}
}  // namespace

bool MeshCoverage(const ProjectCore& project, const API_Guid& mesh, TerrainCoverage* coverage, std::string* why) {
    return PolygonCoverage(project, mesh, API_MeshID, coverage, why);
}

bool OutlineCoverage(const ProjectCore& project, const API_Guid& fill, TerrainCoverage* coverage, std::string* why) {
    return PolygonCoverage(project, fill, API_HatchID, coverage, why);
}
