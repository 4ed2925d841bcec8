#include "shell/commands/ImportLogLine.hpp"

#include "foundation/ModuleLog.hpp"
#include "settings/ProjectOffset.hpp"

#include "APIElements.hpp"

#include <string>

void LogImportLine(ImportCounts kind, uint32_t first, uint32_t second, uint32_t third, bool set) {
    static const char* const PointNames[3] = {"read", "imported", "skipped"};
    static const char* const ShapeNames[3] = {"identified", "importable", "to be corrected"};
    static const char* const ObjectNames[3] = {"read", "imported", "skipped"};
    const char* const* names = kind == ImportCounts::Points ? PointNames
        : kind == ImportCounts::Shapes                      ? ShapeNames
                                                            : ObjectNames;
    // Objects are named as such: each holds any number of points.
    const std::string unit = kind == ImportCounts::Objects ? " objects" : "";
    const uint32_t counts[3] = {first, second, third};
    std::string line = "import: ";
    for (int k = 0; k < 3; ++k)
        line += std::string(k == 0 ? "" : ", ") + names[k] + " " + std::to_string(counts[k]) + unit;
    line += set ? "; offset x " : "; offset kept at x ";
    line += ModuleLog::Number(ProjectOffset.x) + ", y " + ModuleLog::Number(ProjectOffset.y);
    ModuleLog::Log(line.c_str());
}

void KeepImportOffset(const BaseFileCls& reader, ImportCounts kind) {
    const bool set = !reader.BoundsEmpty();
    if (set) {
        ProjectOffset.x = reader.originX;
        ProjectOffset.y = reader.originY;
    }
    const uint32_t skipped = reader.pointsRead >= reader.pointsKept ? reader.pointsRead - reader.pointsKept : 0;
    LogImportLine(kind, reader.pointsRead, reader.pointsKept, skipped, set);
}

void LogMadeElements(const std::map<int32_t, uint32_t>& madeOfType) {
    static const std::map<int32_t, const char*> names = {
        {API_HotspotID, "points"}, {API_LineID, "lines"},     {API_PolyLineID, "polylines"}, {API_ArcID, "arcs"},
        {API_HatchID, "fills"},    {API_ObjectID, "objects"}, {API_TextID, "texts"},         {API_SplineID, "splines"}};
    std::string line;
    for (const auto& [type, count] : madeOfType) {
        if (count == 0) continue;
        const auto name = names.find(type);
        line += std::string(line.empty() ? "import: made " : ", ") + std::to_string(count) + " " +
            (name != names.end() ? name->second : "other elements");
    }
    if (!line.empty()) ModuleLog::Log(line.c_str());
}
