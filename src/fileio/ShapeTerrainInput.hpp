#pragma once
// The shapefile's shapes as terrain input: point thinning, the mesh coordinates (vertical thinning, project
// offset, import area) and the constraint segments of the line shapes without crossings; then the hotspots and
// lines, with their element data records of kind 1 and 2, in one undoable command.
#include "fileio/ShapeImportData.hpp"

#include "APICoord.hpp"

// Point entities nearer than the node distance to a point kept before them are dropped; the others move, in
// order, to the end of the entity list. A dropped point at the very place of a kept one of another height counts its
// place once in `mixedHeights`.
void ThinPointEntities(ShapeImportData& data);
void CollectMeshCoords(ShapeImportData& data);
// "vertical thinning": of coordinates in neighbouring grid cells, nearer than the node distance in space, the
// first stays.
void ThinMeshCoords(ShapeImportData& data);
// Minus the project offset, then only those inside the import area when the import is limited.
void OffsetAndClipMeshCoords(ShapeImportData& data);
// "with contours": one constraint per segment between neighbouring vertices of one part; a segment that crosses
// one kept before it is dropped.
void BuildConstraints(ShapeImportData& data);
// True when the two segments cross (segments sharing an end do not, nor parallel ones); `at` the crossing.
bool SegmentsCross(const API_Coord& a0, const API_Coord& a1, const API_Coord& b0, const API_Coord& b1, API_Coord* at);

// The undoable body: hotspots and constraint lines from the mesh coordinates and constraints. 1 when every
// element was created with its record, else 0 (the elements before the failure stay).
int32_t CreateTerrainInputCommand(ShapeImportData& data);
