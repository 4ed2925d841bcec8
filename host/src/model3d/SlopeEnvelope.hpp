#pragma once
// An earthwork's design surface as the lowest (a cut's) or the highest (a fill's) of plane pieces, each over a convex
// region of the plan: a deck's or a platform's triangles and the side slopes beside them. Where pieces overlap, the
// lowest (highest) wins, so slopes that run into each other on the inside of a bend meet where they cross. The body is
// the space between that surface and a level lid (a cut) or floor (a fill) over the plan the pieces cover; it stands
// upright where the pieces end.
#include "model3d/ModelBody.hpp"

#include <string>
#include <utility>
#include <vector>

struct PlanePiece {
    std::vector<std::pair<double, double>> region;  // convex, counter-clockwise, the first corner not repeated
    double a = 0.0, b = 0.0, c = 0.0;               // z = a x + b y + c
    double At(double x, double y) const { return a * x + b * y + c; }
};

// The plane through three points; false when they stand on one upright plane.
bool PlaneThrough(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r, PlanePiece* plane);

// The part of a convex counter-clockwise region where A x + B y + C >= 0.
std::vector<std::pair<double, double>> ClipRegion(const std::vector<std::pair<double, double>>& region, double A,
                                                  double B, double C);

// The body over the pieces (oriented outward), its lid `clear` metres above the surface's highest point (a cut) or
// its floor that far below its lowest (a fill). An empty body when no piece covers any area. False with `why` when
// the surface cannot be made into a solid.
bool BuildEnvelopeBody(const std::vector<PlanePiece>& pieces, bool cut, double clear, ModelBody* body,
                       std::string* why);
