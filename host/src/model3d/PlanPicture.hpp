#pragma once
// The project's plan as an SVG picture a person can look at, as the floor plan shows it (elements on hidden
// layers left out): mesh triangles shaded by height (from the host's 3D model of each mesh), level lines,
// hotspots sized so the ground stays visible between them, lines, fills and open polylines, and objects drawn as
// their library part's plan items say (lines, outlines, slope feet, the terrain's contour lines traced on its
// surface, the ground below a level), or as their plan box when it says nothing; where the earthworks cut and fill
// the meshes, shaded in their own colours. Above the plan its title and a north arrow, round it its coordinates,
// on the main contour lines their heights (model3d/PlanMarks.hpp); below it a legend of the height colours with
// their range, of the cut and fill with their volumes and of the line kinds drawn, and a scale bar. Lines are
// never thinner than a pixel. Plan coordinates with y up; the picture fits whatever it holds.
//
// Steps: the scene gathered from the project (model3d/PlanScene.hpp), the contour lines traced, the frame fitted,
// the contour lines thinned to the frame's scale, then everything written, and counted as it is written
// (model3d/PlanCounts.hpp).
#include "model3d/PlanCounts.hpp"

#include <string>

class ProjectDatabase;
class ModelStore;
class LibraryStore;

// The SVG text; `counts` (optional) says what was drawn. `libraries` (optional) gives the objects' plan items.
// Elements the host cannot model or outline, and plan items it cannot read, are skipped and named in `skipped`
// (optional), one per line.
std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                           PlanPictureCounts* counts = nullptr, std::string* skipped = nullptr);
