#pragma once
// "Insert Object" of the worksheet sub-palette: places the coordinate locator on an independent worksheet at a
// clicked point, with the settings the user chose in the object tool's settings dialog.
#include "settings/Settings.hpp"

void InsertCoordinateLocator();
// The palette's form of the command.
void RunInsertCoordinateLocator(Settings& settings);
