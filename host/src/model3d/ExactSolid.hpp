#pragma once
// Closed solids with exact coordinates (CGAL's surface mesh over an exact-constructions kernel), on which the
// solid links are computed: made from a model body, extruded up or down, measured exactly, and read back.
#include "model3d/ModelBody.hpp"

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Surface_mesh.h>

#include <optional>
#include <vector>

using ExactKernel = CGAL::Exact_predicates_exact_constructions_kernel;
using ExactPoint = ExactKernel::Point_3;
using ExactSolid = CGAL::Surface_mesh<ExactPoint>;

// A closed, outward-oriented, triangulated solid from a body's polygons; false when they bound no volume.
bool SolidFromBody(const ModelBody& body, ExactSolid* out);

// The solid read back as a body with double coordinates, a polygon a face.
ModelBody BodyFromSolid(const ExactSolid& solid);

// The body and everything above it up to `level` (upward), or below it down to `level`: the faces that look the
// other way, walls from their free edges, and their copies at `level`. False when the body has no such face.
enum class Extrusion { Upward, Downward };
bool Extruded(const ExactSolid& body, Extrusion direction, double level, ExactSolid* out);

// The lowest and highest z of a solid's points (rounded outward).
void SolidZRange(const ExactSolid& solid, double* zMin, double* zMax);

// The solid's exact volume.
ExactKernel::FT::ET ExactVolume(const ExactSolid& solid);
// An exact volume rounded as the kernel rounds an exact number.
double RoundedVolume(const ExactKernel::FT::ET& volume);
// Close bounds of the solid's exact volume (equal when they are it), made without its exact sum where its points
// are not all doubles.
struct VolumeBounds {
    ExactKernel::FT::ET low, high;
};
VolumeBounds VolumeBoundsOf(const ExactSolid& solid);
// RoundedVolume of every number between the bounds, when they all round alike.
std::optional<double> SharedRounding(const ExactKernel::FT::ET& low, const ExactKernel::FT::ET& high);
// RoundedVolume of the solid's exact volume plus `rest`, which `bounds` hold (rest included): the exact volume is
// computed only when they cannot tell the rounding, and `bounds` then become it.
double RoundedWithin(const ExactSolid& solid, const ExactKernel::FT::ET& rest, VolumeBounds* bounds);
// The same from the solid alone.
double RoundedVolumeOf(const ExactSolid& solid, const ExactKernel::FT::ET& rest);

// Whether a face looks up (its normal's z above 0).
bool FacesUp(const ExactSolid& solid, ExactSolid::Face_index f);
