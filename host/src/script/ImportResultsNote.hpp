#pragma once
// What an import's results dialog showed as it closed, for its line in the log: the counts it gave (read,
// imported, skipped; for shapefiles identified, importable, to be corrected) and the terrain position the
// offset it sets gives the data (the box of what was read less that offset), every coordinate in full.
#include "DGDriver.hpp"

#include <string>

// `; read 7118, imported 7118, skipped 0; position x min 0, y min 0, x max 29400, y max 29400`; "" for a dialog
// that is no import's results.
std::string ImportResultsNote(const DGDriver::LogRecord& record);

// Every note the log adds to a dialog's line of the module's: a settings dialog's mode header, an import's results,
// the outline's corridor.
std::string ModuleDialogNote(const DGDriver::LogRecord& record);
