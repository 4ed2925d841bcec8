#pragma once
// Terrain heights from the host's 3D model. The host has no height query for a mesh, so a temporary slab with a
// hole is linked to the mesh as a downward-subtracting solid operator: only the mesh inside the hole stays in the
// mesh's 3D model, whose vertices are then read, and the slab goes again. The model changes make this run
// inside the caller's undoable command. Each operation leaves no temporary slab and no link behind, also when it
// fails; nothing is shown here (the callers report their own errors).
#include "APICoord.hpp"
#include "APIElements.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/QV_Poly.hpp"

#include <cstdint>

// The level GetStoryLevel answers when it cannot tell.
constexpr double UnknownStoryLevel = 1.79769313486231e308;

// `operatorElement` subtracts downwards from `target` ('SSUD', link flags 1); true when the host links them or
// they are linked already.
bool LinkElementGuids(const API_Element& operatorElement, const API_Element& target);

// The element's box as the host computes it, 200 widened on every side in plan; false when the host refuses.
bool WidenedElementBox(const API_Element& element, API_Box3D& box);

// The level of the story the element stands on; UnknownStoryLevel when the host cannot tell or no story has its
// index.
double GetStoryLevel(const API_Element& element);

// Creates a slab on the story of `storySource` from the defaults in `slab`: a rectangle of `box` (x, y) with
// `hole` (x, y; closed when its last point does not repeat the first) cut out, from 101.0 above the box's top
// down to 1.0 below its bottom. The new slab's record (with its GUID) is left in `slab`. False, and nothing
// created, when the story's level is unknown, the hole has fewer than three points or the host refuses.
bool CreateCutterSlab(const API_Element& storySource, API_Element& slab, const QV_List<QV_Coord3DLong>& hole,
                      const API_Box3D& box);

// The same around `body.element`: the slab defaults go into `body.secondElement`, the box is the element's 3D
// box widened by 200.0 in x and y. `created` tells whether a slab now exists (its record in secondElement).
bool CreateCutterSlabAroundElement(MeshBody& body, const QV_List<QV_Coord3DLong>& hole, uint8_t& created);

// `body.vertices` becomes every vertex of every body of `body.element`'s 3D model. False at the first host
// failure.
bool ReadModelVertices(MeshBody& body);

// Drops from `body.vertices` those within 1e-7 of their lowest height (the mesh's floor); `lowest` and
// `highest` become the range of the vertices kept, each 0.0 when none is kept.
void DropLowestVertices(MeshBody& body, double& lowest, double& highest);

// The sample square at (x, y): side 0.5, (x, y) its upper left corner, a closed ring of five points (z 0,
// code 15, the last -1).
void BuildSampleSquare(double x, double y, QV_List<QV_Coord3DLong>& square);

// Gives each point the mesh's surface height at its x, y: a slab whose hole is the square of side 0.5 with the
// point as its upper left corner is linked to the mesh, and the point takes the highest model vertex at its
// x, y (1e-7). `zMin` and `zMax` become the height range of the last square. True when every point got its
// height; sampling stops at the first point that cannot be sampled (a host failure, or no model vertex at the
// point, such as a point outside the mesh): that point and the ones after it keep their z. An empty list
// creates nothing and answers true.
bool SampleMeshHeights(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& points, double& zMin,
                       double& zMax);

// Gives the points of a closed outline the mesh's heights with one slab whose hole is the outline: each point
// takes the highest model vertex at its x, y; a last point that repeats the first takes the first one's z.
// `zMin` and `zMax` become the height range of the mesh inside the outline. A point without a model vertex keeps
// its z. True when every point got its height. With `sampled`, it gets one entry per point: 1 when the point
// got its height (all 0 after a host failure). With `hostFailed`, it tells a host failure (the slab not made,
// linked, read or removed) from points the mesh does not reach. An outline of fewer than three points creates
// nothing: false.
bool AssignHeightsFromElement(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& outline, double& zMin,
                              double& zMax, QV_List<uint8_t>* sampled = nullptr, bool* hostFailed = nullptr);

// `body.vertices` becomes the vertices of the mesh's 3D model inside the outline, its floor included. True when
// they were read.
bool ReadMeshVerticesInsideOutline(MeshBody& body, const API_Element& mesh, const QV_List<QV_Coord3DLong>& outline);
