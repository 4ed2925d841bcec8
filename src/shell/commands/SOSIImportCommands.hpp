#pragma once
// The SOSI buttons: "SOSI file import" of the Input sub-palette (the step dialog picks the mode) and that of the
// worksheet sub-palette (always an independent worksheet).
#include "dialogs/settings/SOSIOptionsDialog.hpp"
#include "dialogs/tools/SOSICurveSegmentationDialog.hpp"
#include "settings/Settings.hpp"

#include <cstdint>

class SOSIFileCls;

// What an import asks the user once the files are read: the options dialog of the import mode, and the curve
// segmentation before a build with curves. Each false when cancelled. Tests hand in their own.
struct SOSIImportAsks {
    bool (*options)(SOSIFileCls& reader, SOSIOptionChoices& shown) = RunSOSIOptionsDialog;
    bool (*curveSegmentation)(const SOSIFileCls& reader) = AskSOSICurveSegmentation;
};

void ImportSOSIFile(Settings& settings);
void RunSOSIImport(Settings& settings, int32_t mode);
void RunSOSIImport(Settings& settings, int32_t mode, const SOSIImportAsks& asks);
void RunSOSIWorksheetImport(Settings& settings);
void RunSOSIWorksheetImport(Settings& settings, const SOSIImportAsks& asks);
