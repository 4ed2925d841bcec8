#pragma once
// The project's plan as an SVG picture a person can look at: mesh triangles shaded by height (from the host's 3D
// model of each mesh), level lines, hotspots, lines, fills and polylines, and the plan boxes of objects. Plan
// coordinates with y up; the picture fits whatever it holds.
#include <string>

class ProjectDatabase;
class ModelStore;

struct PlanPictureCounts {
    int triangles = 0;
    int levelLines = 0;
    int hotspots = 0;
    int lines = 0;
    int rings = 0;
    int objects = 0;
};

// The SVG text; `counts` (optional) says what was drawn. Elements the host cannot model or outline are skipped
// and named in `skipped` (optional), one per line.
std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, PlanPictureCounts* counts = nullptr,
                           std::string* skipped = nullptr);
