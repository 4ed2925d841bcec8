#pragma once
// What the point, constraint and outline tools ask of the project: the current story, the terrain points and
// constraint lines, the one-command wrapper with the add-on's undo text, and the plan-point comparison.
#include "foundation/QV_List.hpp"
#include "geometry/PointGrid.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <functional>

// Points coincide when they differ by less than this in x and in y; z is never compared.
constexpr double PointTolerance = 1e-7;

bool PointsCoincide(const API_Coord& a, const API_Coord& b, double tolerance = PointTolerance);

// The current story ('GSTO'); -32768 when the host cannot tell.
int16_t CurrentStoryIndex();

// The terrain points (hotspots carrying a kind-1 record) and the constraints (lines carrying a kind-2 record) of
// the current database, in the host's order; false when the host cannot list them.
bool CollectTerrainPoints(QV_List<API_Element>& points);
bool CollectConstraints(QV_List<API_Element>& constraints);
// The terrain points one by one, as CollectTerrainPoints lists them, without holding them all.
bool VisitTerrainPoints(const std::function<bool(const API_Element&)>& visit);

// The index of the first point in `points` lying on `at`, skipping `except` (a null GUID skips none); -1: none.
int32_t FindPointAt(const QV_List<API_Element>& points, const API_Coord& at, const API_Guid& except);

// FindPointAt for many places over one list: the same answers, through a grid of the points, so that asking for
// every end of every constraint does not scan every point each time. The list must outlive the index and keep
// its points where they are.
class TerrainPointIndex {
public:
    explicit TerrainPointIndex(const QV_List<API_Element>& points);
    int32_t Find(const API_Coord& at, const API_Guid& except) const;
    // The first point at `at` that `take` accepts (by its index in the list); -1 when none.
    template <typename Take>
    int32_t FindIf(const API_Coord& at, Take&& take) const {
        return grid_.First(at.x, at.y,
                           [&](int32_t i) { return PointsCoincide(points_[i].hotspot.pos, at) && take(i); });
    }

private:
    const QV_List<API_Element>& points_;
    PointGrid grid_;
};

// The element a click picked, read in the floor plan's database. In the section, elevation and other plan-like
// windows (types 2 to 11 but the detail window) the host names the element's type first ('NTOE'). False when the
// click picked nothing or the element cannot be read.
bool GetElementOnPlan(const API_Neig& neig, API_Element& element);
