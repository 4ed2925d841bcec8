#pragma once
// The grid and point-file imports of the Input sub-palette: the file choice, the reader's options and read,
// the results, and the points placed as terrain points.
#include "settings/Settings.hpp"

// "ASC file import" (Austrian Input layout).
void ImportASCFile(Settings& settings);
// "TXT file Import".
void ImportTextFile(Settings& settings);
// "DXF file import": the layers and options, the results, then points and constraints as terrain input.
void ImportDXFFile(Settings& settings);
