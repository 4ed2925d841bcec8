#pragma once
// "SHAPE file import" of the Input sub-palette: the mode, then the shapes as terrain input (points and, with
// contours, constraint lines) or as GIS objects.
#include "fileio/ShapeImportData.hpp"
#include "settings/Settings.hpp"

void ImportGISFile(Settings& settings);
// The two modes, on a holder the command built.
void ImportShapesAsTerrain(ShapeImportData& data);
void ImportShapesAsObjects(ShapeImportData& data);
