#pragma once
// The three passes that fill a terrain record from the project's terrain points and constraint lines: corners
// and level points, break lines, and break-line ends. They work on plain lists in list order, so the first match
// in that order wins as it would in a plain scan; the lookups go through a grid so that large sites stay fast.
#include "geometry/QV_Poly.hpp"
#include "terrain/TerrainRecord.hpp"

#include <cfloat>
#include <vector>

// Tolerance in x and in y between a terrain point and an outline corner.
constexpr double CornerTolerance = 1e-7;
// Tolerance in x and in y between a break-line end and a point.
constexpr double BreakLineEndTolerance = 5e-5;
// The height of a break-line end that no point has matched yet; it never reaches a mesh.
constexpr double MissingHeight = -1.79769313486231e308;

// On the outline: on a straight edge A-B when |PA| + |PB| - |AB| < 1e-7; on an arc edge when the distance from
// the centre differs from the radius by less than 1e-7 and the angle lies in the arc's span widened by 1e-7 / r.
bool OnOutline(const QV_Poly& outline, double x, double y);
// On the outline or inside it.
bool OnOrInsideOutline(const QV_Poly& outline, double x, double y);

// OnOrInsideOutline for many points of one outline, with the same answers: the outline's edges are kept in bands
// by height, so each point meets only the edges level with it, not every edge. The outline must outlive it.
class OutlineTester {
public:
    explicit OutlineTester(const QV_Poly& outline);
    bool OnOrInside(double x, double y) const;

private:
    const std::vector<int32_t>& Band(double y) const;

    const QV_Poly& outline_;
    std::vector<int32_t> arcs_;  // edges that are arcs, tested whatever the height
    double yMin_ = 0.0, bandHeight_ = 1.0;
    std::vector<std::vector<int32_t>> onBands_;   // straight edges (CodeCount numbering) by band
    std::vector<std::vector<int32_t>> rayBands_;  // polygon-test edges (vertex k-1 to k % n) by band
    std::vector<int32_t> none_;
};

// Corners and level points from the terrain points (x, y and height, in list order). Each point gives its height
// to the first corner (closing repeat excluded) within CornerTolerance that no earlier point took, the closing
// repeat following the first corner; a point on a corner already taken is passed over, so no vertex is doubled;
// any other point on or inside the outline becomes a level point. False, with `cornerMissing` 1, when a corner
// got no point.
bool CollectTerrainPointsFrom(TerrainRecord& record, const QV_Poly& outline, const QV_List<API_Coord3D>& points,
                              uint8_t& cornerMissing);

// The constraint lines (in list order) whose two ends lie on or inside the outline, as break lines whose ends
// carry MissingHeight.
void CollectBreakLinesFrom(TerrainRecord& record, const QV_Poly& outline, const QV_List<QV_Segment3D>& lines);

// Each break-line end takes the first level point within BreakLineEndTolerance, else the first boundary point;
// a line keeps its place only when both its ends were matched, and only then are the level points it took
// marked used (a dropped line leaves its points to the mesh as points of their own).
void ResolveBreakLineEnds(TerrainRecord& record);
