#include "fileio/ShapeTerrainInput.hpp"

#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

constexpr int32_t WaitText = 4;
constexpr int64_t MaxCells = int64_t(1) << 30;

// Two signed cell numbers in one key; shifted as unsigned, since the numbers may be negative.
int64_t CellKey(int64_t column, int64_t row) {
    return int64_t((uint64_t(column) << 32) ^ (uint64_t(row) & 0xffffffffu));
}

// Cells of about `size` over the plane, each holding item numbers in the order they were added.
struct CellIndex {
    double size;
    std::unordered_map<int64_t, std::vector<int32_t>> cells;
    int64_t Of(double v) const { return int64_t(std::floor(v / size)); }
};

}  // namespace

void ThinPointEntities(ShapeImportData& data) {
    const double d = data.options.nodeDistance;
    if (d < 0.001) return;
    ReaderProgress& progress = *data.shapes.progress;
    QV_String title("Lodravix"), text;
    GetResString(text, GeneralTableBase + LanguageIndex, WaitText);
    progress.Begin(title, 2);
    progress.Phase(text, uint32_t(data.entities.GetCount()));
    QV_List<SHPEntityData> points;
    QV_List<SHPEntityData> others;
    uint32_t step = 0;
    for (const SHPEntityData& entity : data.entities) {
        progress.Step(++step);
        (entity.IsPoint() ? points : others).Insert(entity);
    }
    progress.Phase(text, uint32_t(points.GetCount()));
    // Only kept points within d can drop one: they lie in this cell or a neighbour.
    CellIndex index{d, {}};
    const double d2 = d * d;
    // The kept points' places: the first height there, and whether another one met it.
    std::map<std::pair<double, double>, std::pair<double, bool>> keptAt;
    step = 0;
    for (const SHPEntityData& p : points) {
        progress.Step(++step);
        const int64_t cx = index.Of(p.x), cy = index.Of(p.y);
        bool near = false;
        for (int64_t i = cx - 1; i <= cx + 1 && !near; ++i)
            for (int64_t j = cy - 1; j <= cy + 1 && !near; ++j) {
                auto found = index.cells.find(CellKey(i, j));
                if (found == index.cells.end()) continue;
                for (int32_t k : found->second) {
                    const SHPEntityData& q = others[k];
                    const double dx = p.x - q.x, dy = p.y - q.y;
                    if (dx * dx + dy * dy < d2) {
                        near = true;
                        break;
                    }
                }
            }
        if (near) {
            const auto at = keptAt.find({p.x, p.y});
            if (at != keptAt.end() && at->second.first != p.z && !at->second.second) {
                at->second.second = true;
                ++data.mixedHeights;
            }
            continue;
        }
        keptAt.emplace(std::make_pair(p.x, p.y), std::make_pair(p.z, false));
        index.cells[CellKey(cx, cy)].push_back(others.GetCount());
        others.Insert(p);
    }
    progress.End();
    data.entities = others;
}

void CollectMeshCoords(ShapeImportData& data) {
    for (int32_t n = 0; n < data.entities.GetCount(); ++n) {
        const SHPEntityData& entity = data.entities[n];
        if (entity.status == EntityDegenerate) continue;
        if (entity.IsPoint()) {
            data.meshCoords.Insert(SHPMeshCoord{entity.x, entity.y, entity.z, 0, 0, n, 0, 0});
            continue;
        }
        for (int32_t p = 0; p < entity.parts.GetCount(); ++p) {
            const QV_List<API_Coord3D>& vertices = entity.parts[p].vertices;
            for (int32_t v = 0; v < vertices.GetCount(); ++v)
                data.meshCoords.Insert(SHPMeshCoord{vertices[v].x, vertices[v].y, vertices[v].z, 0, 0, n, p, v});
        }
    }
}

void ThinMeshCoords(ShapeImportData& data) {
    const double d = data.options.nodeDistance;
    QV_List<SHPMeshCoord>& coords = data.meshCoords;
    if (!data.options.verticalThinning || d < 0.001 || coords.GetCount() == 0) return;
    double x0 = coords[0].x, y0 = coords[0].y, x1 = x0, y1 = y0;
    for (const SHPMeshCoord& c : coords) {
        x0 = std::min(x0, c.x);
        y0 = std::min(y0, c.y);
        x1 = std::max(x1, c.x);
        y1 = std::max(y1, c.y);
    }
    // A flat extent has one cell across; the counts stay far inside 32 bits.
    const double width = x1 - x0, height = y1 - y0;
    const int64_t nx = std::min<int64_t>(MaxCells, std::max<int64_t>(1, int64_t(width / d)));
    const int64_t ny = std::min<int64_t>(MaxCells, std::max<int64_t>(1, int64_t(height / d)));
    std::unordered_map<int64_t, std::vector<int32_t>> cells;
    for (int32_t i = 0; i < coords.GetCount(); ++i) {
        SHPMeshCoord& c = coords[i];
        c.column = width > 0 ? int32_t(std::min<int64_t>(nx - 1, int64_t((c.x - x0) * double(nx) / width))) : 0;
        c.row = height > 0 ? int32_t(std::min<int64_t>(ny - 1, int64_t((c.y - y0) * double(ny) / height))) : 0;
        cells[CellKey(c.column, c.row)].push_back(i);
    }
    std::vector<uint8_t> marked(size_t(coords.GetCount()), 1);
    const double d2 = d * d;
    for (int32_t i = 0; i < coords.GetCount(); ++i) {
        if (!marked[size_t(i)]) continue;
        const SHPMeshCoord& c = coords[i];
        for (int64_t col = int64_t(c.column) - 1; col <= c.column + 1; ++col)
            for (int64_t row = int64_t(c.row) - 1; row <= c.row + 1; ++row) {
                auto found = cells.find(CellKey(col, row));
                if (found == cells.end()) continue;
                for (int32_t j : found->second) {
                    if (j <= i || !marked[size_t(j)]) continue;
                    const SHPMeshCoord& o = coords[j];
                    const double dx = o.x - c.x, dy = o.y - c.y, dz = o.z - c.z;
                    if (dx * dx + dy * dy + dz * dz < d2) marked[size_t(j)] = 0;
                }
            }
    }
    QV_List<SHPMeshCoord> kept;
    for (int32_t i = 0; i < coords.GetCount(); ++i)
        if (marked[size_t(i)]) kept.Insert(coords[i]);
    coords = kept;
}

void OffsetAndClipMeshCoords(ShapeImportData& data) {
    const double ox = ProjectOffset.x, oy = ProjectOffset.y;
    QV_List<SHPMeshCoord>& coords = data.meshCoords;
    if (std::fabs(ox) >= 1e-7 || std::fabs(oy) >= 1e-7)
        for (SHPMeshCoord& c : coords) {
            c.x -= ox;
            c.y -= oy;
        }
    const GISImportOptions& o = data.options;
    if (!o.limited) return;
    const double tol = 1e-7;
    QV_List<SHPMeshCoord> inside;
    for (const SHPMeshCoord& c : coords)
        if (c.x >= o.areaMinX - ox - tol && c.x <= o.areaMaxX - ox + tol && c.y >= o.areaMinY - oy - tol &&
            c.y <= o.areaMaxY - oy + tol)
            inside.Insert(c);
    coords = inside;
}

bool SegmentsCross(const API_Coord& a0, const API_Coord& a1, const API_Coord& b0, const API_Coord& b1, API_Coord* at) {
    auto same = [](const API_Coord& p, const API_Coord& q) {
        return std::fabs(p.x - q.x) < 1e-7 && std::fabs(p.y - q.y) < 1e-7;
    };
    if (same(a0, b0) || same(a0, b1) || same(a1, b0) || same(a1, b1)) return false;
    const double ux = a1.x - a0.x, uy = a1.y - a0.y;
    const double vx = b1.x - b0.x, vy = b1.y - b0.y;
    const double denominator = ux * vy - uy * vx;
    if (std::fabs(denominator) < 1e-5) return false;
    const double wx = b0.x - a0.x, wy = b0.y - a0.y;
    const double t = (wx * vy - wy * vx) / denominator;
    const double s = (wx * uy - wy * ux) / denominator;
    if (t < 0.0 || t > 1.0 || s < 0.0 || s > 1.0) return false;
    if (at != nullptr) *at = API_Coord{a0.x + t * ux, a0.y + t * uy};
    return true;
}

void BuildConstraints(ShapeImportData& data) {
    const QV_List<SHPMeshCoord>& coords = data.meshCoords;
    data.constraints.Clear();
    data.validConstraints = 0;
    if (!data.options.withContours || coords.GetCount() == 0) return;
    std::vector<SHPConstraintData> segments;
    for (int32_t i = 0; i + 1 < coords.GetCount(); ++i) {
        const SHPMeshCoord& a = coords[i];
        const SHPMeshCoord& b = coords[i + 1];
        // Neighbours of one part only: never from one part to the next, nor over a vertex the clip removed.
        if (a.entity == b.entity && a.part == b.part && b.vertex == a.vertex + 1 && data.entities.Get(a.entity) &&
            !data.entities[a.entity].IsPoint())
            segments.push_back(SHPConstraintData{i, i + 1, 1});
    }
    // Candidate pairs through a grid of cells about the mean segment's size; a pair is tested once, in the cell
    // where the overlap of their boxes begins.
    const size_t n = segments.size();
    std::vector<std::vector<int32_t>> crossings(n);
    if (n > 1) {
        double x0 = coords[0].x, y0 = coords[0].y, x1 = x0, y1 = y0, length = 0.0;
        for (const SHPConstraintData& s : segments) {
            const SHPMeshCoord& a = coords[s.start];
            const SHPMeshCoord& b = coords[s.end];
            x0 = std::min({x0, a.x, b.x});
            y0 = std::min({y0, a.y, b.y});
            x1 = std::max({x1, a.x, b.x});
            y1 = std::max({y1, a.y, b.y});
            length += std::max(std::fabs(a.x - b.x), std::fabs(a.y - b.y));
        }
        // At most about 4 sqrt(n) cells across (at least 256), so that one long segment cannot fill a grid of
        // far more cells than segments, while data laid out in a long strip still gets cells of its segments' size.
        const double extent = std::max(x1 - x0, y1 - y0);
        const double across = std::max(256.0, 4.0 * std::sqrt(double(n)));
        const double size = std::max({length / double(n) * 2.0, extent / across, 1e-9});
        auto cellOf = [&](double v, double origin) { return int64_t(std::floor((v - origin) / size)); };
        std::unordered_map<int64_t, std::vector<int32_t>> cells;
        for (size_t k = 0; k < n; ++k) {
            const SHPMeshCoord& a = coords[segments[k].start];
            const SHPMeshCoord& b = coords[segments[k].end];
            for (int64_t cx = cellOf(std::min(a.x, b.x), x0); cx <= cellOf(std::max(a.x, b.x), x0); ++cx)
                for (int64_t cy = cellOf(std::min(a.y, b.y), y0); cy <= cellOf(std::max(a.y, b.y), y0); ++cy)
                    cells[CellKey(cx, cy)].push_back(int32_t(k));
        }
        for (const auto& cell : cells) {
            const std::vector<int32_t>& list = cell.second;
            for (size_t p = 0; p < list.size(); ++p)
                for (size_t q = p + 1; q < list.size(); ++q) {
                    const int32_t i = std::min(list[p], list[q]), j = std::max(list[p], list[q]);
                    const SHPMeshCoord& a0 = coords[segments[size_t(i)].start];
                    const SHPMeshCoord& a1 = coords[segments[size_t(i)].end];
                    const SHPMeshCoord& b0 = coords[segments[size_t(j)].start];
                    const SHPMeshCoord& b1 = coords[segments[size_t(j)].end];
                    const double ox = std::max(std::min(a0.x, a1.x), std::min(b0.x, b1.x));
                    const double oy = std::max(std::min(a0.y, a1.y), std::min(b0.y, b1.y));
                    if (CellKey(cellOf(ox, x0), cellOf(oy, y0)) != cell.first) continue;
                    if (SegmentsCross(API_Coord{a0.x, a0.y}, API_Coord{a1.x, a1.y}, API_Coord{b0.x, b0.y},
                                      API_Coord{b1.x, b1.y}, nullptr))
                        crossings[size_t(i)].push_back(j);
                }
        }
    }
    // In order: a kept segment drops every later one that crosses it.
    for (size_t i = 0; i < n; ++i)
        if (segments[i].keep)
            for (int32_t j : crossings[i]) segments[size_t(j)].keep = 0;
    for (const SHPConstraintData& s : segments)
        if (s.keep) data.constraints.Insert(s);
    data.validConstraints = data.constraints.GetCount();
}
