#pragma once
// The shapefile's lines and polygons placed as GIS objects: one object per part, its outline in "XYZ" (a ring
// repeated at its first vertex with -1 in the fourth column), the object's parameters as the user set them, and
// the table row's values in the attribute parameters.
#include "fileio/ShapeImportData.hpp"

#include "GSRoot.hpp"

// Under a progress window: every entity neither degenerate nor outside the import area, part by part, as an
// object of the part at `libIndex` with `params` (the object settings the user confirmed). False when an object
// could not be created: the objects placed before it are deleted again.
bool PlaceGISObjects(ShapeImportData& data, int32_t libIndex, GSHandle params);
// A closed part's outline regularised by the host's geometry library: false when it makes no polygon; `correct`
// set when regularising gives other than the one polygon it was.
bool PrepareObjectPolygon(const SHPPolyData& part, bool& correct);
// An arc round every polygon entity marked to be corrected.
void MarkEntitiesToCorrect(ShapeImportData& data);
