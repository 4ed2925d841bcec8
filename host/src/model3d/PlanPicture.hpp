#pragma once
// The project's plan as an SVG picture a person can look at, as the floor plan shows it (elements on hidden
// layers left out): mesh triangles shaded by height (from the host's 3D model of each mesh), level lines,
// hotspots sized so the ground stays visible between them, lines, fills and open polylines, and objects drawn as
// their library part's plan items say (lines, outlines, slope feet, the terrain's contour lines traced on its
// surface), or as their plan box when it says nothing. Below the plan: a legend of the height colours with their
// range and of the line kinds, and a scale bar. Plan coordinates with y up; the picture fits whatever it holds.
#include <string>

class ProjectDatabase;
class ModelStore;
class LibraryStore;

struct PlanPictureCounts {
    int triangles = 0;
    int levelLines = 0;  // of meshes
    int hotspots = 0;
    int lines = 0;
    int rings = 0;            // of fills and slabs
    int polylines = 0;        // parts of polylines
    int objects = 0;          // objects drawn (by their plan items or their box)
    int featureLines = 0;     // lines and slope feet of objects' plan items
    int featureOutlines = 0;  // outlines of objects' plan items
    int contourLines = 0;     // traced for objects' contour items
};

// The SVG text; `counts` (optional) says what was drawn. `libraries` (optional) gives the objects' plan items.
// Elements the host cannot model or outline, and plan items it cannot read, are skipped and named in `skipped`
// (optional), one per line.
std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                           PlanPictureCounts* counts = nullptr, std::string* skipped = nullptr);
