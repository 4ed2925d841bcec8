#pragma once
// Which measured points a terrain leaves out: the add-on's terrain points of the mesh's story, each tested against
// the mesh's outline. The corridor search that makes the outline can pass by points at the edge of the data, and
// the mesh is built only inside it.
#include "model3d/PlanRings.hpp"
#include "project/ProjectCore.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MeasuredPoint {
    double x, y;
    std::optional<double> height;  // none when the point's record holds no number
};

struct TerrainCoverage {
    int64_t points = 0;   // measured points considered
    int64_t outside = 0;  // of them, outside the outline
    std::optional<double> highestOutside;
};

// A point on an edge of a ring (within `tolerance`) or inside the rings (even-odd: a hole's points are outside) is
// covered; the others are outside.
constexpr double kCoverTolerance = 1e-6;
TerrainCoverage CoverageOf(const std::vector<PlanRing>& outline, const std::vector<MeasuredPoint>& points,
                           double tolerance = kCoverTolerance);

// The same for a mesh of the project: its outline's rings against the terrain points of its story in its database.
// False with `why` when the mesh's outline cannot be read.
bool MeshCoverage(const ProjectCore& project, const API_Guid& mesh, TerrainCoverage* coverage, std::string* why);
// The same for the add-on's outline, a fill, before any mesh is built in it.
bool OutlineCoverage(const ProjectCore& project, const API_Guid& fill, TerrainCoverage* coverage, std::string* why);
