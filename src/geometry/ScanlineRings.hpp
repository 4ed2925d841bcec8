#pragma once
// The clipper's result rings: the sweep's contours made simple where the boundary touches itself, then grouped as
// outer contours with their holes.
#include "geometry/ScanlineContours.hpp"

#include <vector>

namespace Scanline {

// Signed area (positive counter-clockwise), summed about the first vertex so that large coordinates keep their
// digits.
double RingArea(const std::vector<API_Coord>& ring);

// Makes the result contours simple rings, given the points where the sweep saw that they may touch (shared
// vertices, vertices on edges, crossing points used twice). Vertices within tol of such a point take its
// coordinates, and where such a point lies on an edge of another contour (or of a non-adjacent part of the same
// one) it becomes a vertex of that edge too. Where points are then shared, the boundary is traced piece by
// piece: all edges are taken together (outer contours counter-clockwise, holes clockwise: the inside always on the
// left), and at a shared point each incoming edge goes on with the outgoing edge next clockwise from its own way
// back, so that every walk runs tightly around one connected piece of the inside; edges that run both ways between
// two shared points (zero-width spikes) cancel. The walks are cut into simple rings at the shared points they pass
// twice. Rings of no area are left out.
void SimpleRings(std::vector<std::vector<API_Coord>>& rings, std::vector<API_Coord> suspects,
                 std::vector<API_Coord> computed, double tol, std::vector<std::vector<API_Coord>>& simple);

// Groups the result contours (in output-list order): every contour that is not a hole starts a group; a hole joins
// the group of the smallest outer contour that holds it, else the last group before it, else starts a group.
void GroupContours(std::vector<OutContour>& contours, std::vector<Group>& groups);

}  // namespace Scanline
