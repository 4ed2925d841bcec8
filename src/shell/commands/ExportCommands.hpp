#pragma once
// "TXT file Export" of the Input sub-palette: the points of the one terrain of the project as a text file.
#include "settings/Settings.hpp"

void RunTextExport(Settings& settings);
