#include "shell/commands/SOSIImportCommands.hpp"

void ImportSOSIFile(Settings& settings) { (void)settings; }
void RunSOSIImport(Settings& settings, int32_t mode) { (void)settings, (void)mode; }
void RunSOSIWorksheetImport(Settings& settings) { (void)settings; }
