#pragma once
// "SHAPE file import" of the Input sub-palette: the mode, then the shapes as terrain input (points and, with
// contours, constraint lines) or as GIS objects.
#include "fileio/ShapeImportData.hpp"
#include "settings/Settings.hpp"

void ImportGISFile(Settings& settings);
// The file choice, its table and its shapes, for both modes; false ends the command (told why, unless the user
// cancelled or stopped). What the reads left out is told before the results. Without `tableNeeded` (terrain input)
// a table that cannot be read is none.
bool ReadShapefile(ShapeImportData& data, bool tableNeeded);
// Tells how many polygon parts of no area were left out (nothing when none was).
void TellShapePartsLeftOut(const ShapeImportData& data);
// The two modes, on a holder the command built; the terrain input takes the points' and constraints' settings.
void ImportShapesAsTerrain(const Settings& settings, ShapeImportData& data);
void ImportShapesAsObjects(ShapeImportData& data);
