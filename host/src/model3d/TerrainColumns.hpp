#pragma once
// A mesh's solid as BuildSolidBody makes it (the surface's triangles on top, a skirt, a floor) seen as columns:
// each top triangle with the prism under it down to the floor. Any set of columns that does not touch itself at a
// corner is a closed solid of its own, and the columns outside it add their volume to it exactly; so a solid
// operation with bodies over a small part of a large terrain need only take the columns near the bodies.
#include "model3d/ModelBody.hpp"
#include "model3d/Surface.hpp"

#include <gmpxx.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class ExactSum;

class TerrainColumns {
public:
    // The columns of `solid`, whose first `surfaceVertices` vertices are its surface's; null when the solid is not
    // exactly of that form: closed, each edge run once each way, each vertex's polygons one fan, the top
    // triangles counter-clockwise in plan above a level floor of clockwise triangles, the skirt of vertical quads.
    static std::unique_ptr<TerrainColumns> Of(std::shared_ptr<const ModelBody> solid, int32_t surfaceVertices);

    const std::shared_ptr<const ModelBody>& Solid() const { return solid_; }

    struct Part {
        std::vector<char> held;  // per top triangle
        std::vector<ModelPoint> points;
        std::vector<std::vector<size_t>> polygons;  // the part's closed, outward-oriented boundary
        std::vector<int32_t> from;                  // per point: the solid's vertex v on top, or -1 - v under it
        mpq_class restVolume;                       // of the columns not held, exact
    };
    // How a part's floor is made: the region under it triangulated anew (few triangles; a copy of each top
    // triangle when that fails), or a copy of each top triangle.
    enum class Floor { Flat, Copies };
    // The columns whose triangles' plan boxes meet one of `boxes`, and those round a corner where the part would
    // touch itself; false when there are boxes and no column is near them (no boxes: an empty part).
    bool PartNear(const std::vector<PlanBox>& boxes, Floor floor, Part* out) const;
    // The columns PartNear takes (one flag per top triangle).
    bool HeldNear(const std::vector<PlanBox>& boxes, std::vector<char>* held) const;
    // The boundary of the columns whose flag in `held` is `keep`: their top triangles, walls under their border
    // (under the sides next to the other columns too when `innerWalls`), and a floor; points and polygons only.
    // False when a flat floor cannot be made.
    bool Boundary(const std::vector<char>& held, char keep, bool innerWalls, Floor floor, Part* out) const;
    // The number of top triangles whose flag in `held` is not set, and in `used` per vertex of the solid whether one of
    // them has it.
    int64_t RestTop(const std::vector<char>& held, std::vector<char>* used) const;
    // Per vertex of the solid: whether it is a corner of a column whose flag in `held` is set.
    std::vector<char> Corners(const std::vector<char>& held) const;
    // The sides between a column whose flag is set and one whose flag is not, as (lower, higher) vertex.
    std::vector<std::pair<int32_t, int32_t>> InnerSides(const std::vector<char>& held) const;
    // Whether the part holds every column whose triangle's plan box meets one of `boxes`.
    bool Holds(const Part& part, const std::vector<PlanBox>& boxes) const;

private:
    PlanBox BoxOf(size_t t) const;
    // Six times the volume of the columns from `from` to before `to` that `held` leaves out, added to `sum`.
    void AddRestVolume(const std::vector<char>& held, size_t from, size_t to, ExactSum* sum) const;
    const ModelPoint& Point(int32_t v) const { return solid_->vertices[size_t(v)]; }

    std::shared_ptr<const ModelBody> solid_;
    double floorZ_ = 0.0;
    std::vector<std::array<int32_t, 3>> triangles_;  // top triangles: vertex indexes from 0
    std::vector<std::array<int32_t, 3>> across_;     // the top triangle across side k (corner k to k + 1), or -1
};
