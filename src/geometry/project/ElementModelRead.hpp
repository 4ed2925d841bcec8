#pragma once
// An element's 3D model as the host builds it, read into a MeshBody: its polygons (slope analysis) or its
// surface vertices (text export), without what lies at a body's lowest height (the floor and the skirt's foot).
// The host's progress window shows each pass; the readers never ask the user to stop.
#include "APIElements.hpp"
#include "geometry/MeshBody.hpp"

#include <cstdint>

// Copies `element` into the body and reads the polygons of every body of its 3D model, each a ring of
// vertices that repeats its first vertex when its edges close; polygons that touch a body's lowest height are
// left out. `polygons` and `polygonSizes` hold the rest, body after body; `bodyParts` gets one part per body
// (its record, no vertices). Both are emptied first. 1 on success, 0 at the first host failure (the lists keep
// what was read by then).
int32_t ReadModelPolygons(MeshBody& body, const API_Element& element);

// Copies `element` into the body and reads the vertices and edges of every body of its 3D model into
// `bodyParts` (emptied first); in each body the vertices no edge uses and those at its lowest height are
// dropped. `out` then holds the remaining vertices of all bodies in order. 1 on success, 0 at the first host
// failure (`out` is then left as it was).
int32_t ReadModelVertexList(MeshBody& body, const API_Element& element, QV_List<API_Coord3D>& out);

// Drops every polygon with a vertex within 1e-7 of the lowest height of all polygons.
void DropBottomPolygons(MeshBody& body);
// Drops the vertices that no edge names; the edge list is emptied afterwards (its indexes no longer match).
void DropUnusedVertices(MeshBodyPart& part);
// Drops the vertices within 1e-7 of the part's lowest height.
void DropBottomVertices(MeshBodyPart& part);
