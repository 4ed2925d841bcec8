#pragma once
// Terrain heights at single points for the site objects: a temporary slab with a hole of 0.5 x 0.5 whose upper
// left corner is the point subtracts from the mesh, and the point takes the highest model vertex left there.
// Unlike SampleMeshHeights a point the mesh does not reach is no failure: it takes the lowest height of the
// mesh's model there (its floor), so an outline reaching off the terrain still stands on it.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"
#include "APIElements.hpp"

// Every vertex of `vertices` gets the terrain's height at its x, y (see above); `lowest` and `highest` become
// the height range of the mesh's model as the last probe left it. Temporary slabs and links are removed on
// every path. False at the first host failure; the vertices from there on keep their z. An empty list answers true and creates nothing.
// With `hits`, it gets one entry per vertex probed: 1 when a model vertex lay at its x, y. With `at`, the
// squares stay at the vertices but the height is taken at `at` (one of their corners).
bool ProbeTerrainHeights(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& vertices, double& lowest,
                         double& highest, QV_List<uint8_t>* hits = nullptr, const API_Coord* at = nullptr);

// The height at one plan point of the class's terrain (its element record), as ProbeTerrainHeights gives it.
bool ProbeTerrainHeight(BaseCls& cls, const API_Coord& point, double& z);

// The mesh's surface height at the point: Found (in z), None where the mesh has no surface there (no height is
// made up), Failed when the host failed.
enum class SurfaceHeight { Found, None, Failed };
SurfaceHeight ProbeTerrainHeightAt(const API_Element& mesh, const API_Coord& point, double& z);
