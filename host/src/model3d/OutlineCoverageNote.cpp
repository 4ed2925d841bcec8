#include "model3d/OutlineCoverageNote.hpp"

#include "LogNumber.hpp"
#include "model3d/ElementModels.hpp"
#include "model3d/TerrainCoverage.hpp"
#include "project/AddOnPointRecord.hpp"
#include "project/Guids.hpp"
#include "project/ProjectDatabase.hpp"

#include <algorithm>
#include <limits>

OutlineCoverageNote::OutlineCoverageNote(HostCalls& host) : host_(host), before_(Outlines()) {}

std::map<std::string, std::vector<double>> OutlineCoverageNote::Outlines() const {
    std::map<std::string, std::vector<double>> outlines;
    const ProjectCore& project = host_.Database();
    for (const API_Guid& g : project.Model().elements.InDatabases({ProjectCore::FloorPlanDatabase()}, API_HatchID)) {
        const StoredElement& e = *project.Find(g);
        if (!IsAddOnOutline(e)) continue;
        std::vector<PlanRing> rings;
        std::string why;
        std::vector<double>& coords = outlines[GuidText(g)];
        if (!ElementRings(e, 0.0, &rings, &why)) continue;
        for (const PlanRing& ring : rings) {
            for (const ModelPoint& p : ring.points) coords.insert(coords.end(), {p.x, p.y});
            coords.push_back(std::numeric_limits<double>::quiet_NaN());  // NaN never equals: rings apart
        }
    }
    return outlines;
}

OutlineCoverageNote::~OutlineCoverageNote() {
    try {
        for (const auto& [guid, coords] : Outlines()) {
            const auto old = before_.find(guid);
            if (old != before_.end() && old->second.size() == coords.size() &&
                std::equal(coords.begin(), coords.end(), old->second.begin(),
                           [](double a, double b) { return a == b || (a != a && b != b); }))
                continue;
            API_Guid g;
            TerrainCoverage c;
            std::string why;
            if (!ParseGuidText(guid, &g) || !OutlineCoverage(host_.Database(), g, &c, &why)) {
                host_.LogAlways("  outline: its terrain points cannot be counted: " + why);
                continue;
            }
            std::string line = "  outline: " + std::to_string(c.points - c.outside) + " of " +
                std::to_string(c.points) + " terrain points on or inside it; ";
            if (c.outside == 0)
                line += "none outside";
            else
                line += std::to_string(c.outside) + " outside, " +
                    (c.highestOutside ? "the highest " + LogNumber(*c.highestOutside) + " m" : "none with a height");
            host_.LogAlways(line);
        }
    } catch (const std::exception& e) {
        host_.LogAlways(std::string("  outline: not counted: ") + e.what());
    }
}
