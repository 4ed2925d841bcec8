#include "shell/commands/ImportLogLine.hpp"

#include "foundation/ModuleLog.hpp"
#include "settings/ProjectOffset.hpp"

#include <string>

void LogImportLine(ImportCounts kind, uint32_t first, uint32_t second, uint32_t third, bool set) {
    static const char* const PointNames[3] = {"read", "imported", "skipped"};
    static const char* const ShapeNames[3] = {"identified", "importable", "to be corrected"};
    const char* const* names = kind == ImportCounts::Points ? PointNames : ShapeNames;
    const uint32_t counts[3] = {first, second, third};
    std::string line = "import: ";
    for (int k = 0; k < 3; ++k) line += std::string(k == 0 ? "" : ", ") + names[k] + " " + std::to_string(counts[k]);
    line += set ? "; offset x " : "; offset kept at x ";
    line += ModuleLog::Number(ProjectOffset.x) + ", y " + ModuleLog::Number(ProjectOffset.y);
    ModuleLog::Log(line.c_str());
}

void KeepImportOffset(const BaseFileCls& reader) {
    const bool set = !reader.BoundsEmpty();
    if (set) {
        ProjectOffset.x = reader.originX;
        ProjectOffset.y = reader.originY;
    }
    const uint32_t skipped = reader.pointsRead >= reader.pointsKept ? reader.pointsRead - reader.pointsKept : 0;
    LogImportLine(ImportCounts::Points, reader.pointsRead, reader.pointsKept, skipped, set);
}
