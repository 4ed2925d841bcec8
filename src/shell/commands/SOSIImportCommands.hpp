#pragma once
// The SOSI buttons: "SOSI file import" of the Input sub-palette (the step dialog picks the mode) and that of the
// worksheet sub-palette (always an independent worksheet).
#include "settings/Settings.hpp"

#include <cstdint>

void ImportSOSIFile(Settings& settings);
void RunSOSIImport(Settings& settings, int32_t mode);
void RunSOSIWorksheetImport(Settings& settings);
