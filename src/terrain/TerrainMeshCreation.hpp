#pragma once
// A filled terrain record made into one host mesh: the outline ring with its corner heights as the polygon, the
// break lines as level lines, the level points no break line uses as one-vertex level lines, the settings as the
// mesh's attributes. The mesh is created with the terrain data record on it.
#include "terrain/TerrainRecord.hpp"

#include "APIElements.hpp"

// Tolerance in x and in y between the end of one break-line segment and the start of the next.
constexpr double BreakLineChainTolerance = 1e-7;

struct TerrainMeshCounts {
    int32_t levelVertices = 0;  // V
    int32_t levelLines = 0;     // L
};

// V and L: a segment whose end meets the next one's start adds one vertex and goes on, any other adds two and
// closes its line; each level point whose used flag is 0 is one line of one vertex.
TerrainMeshCounts CountLevelLines(const TerrainRecord& record);

// The mesh's polygon and level-line counts and its memo (1-based arrays with their dummy entry 0), the skirt
// (1.0 below the lowest height) and the level-line vertices, from the record with the shifts taken off x and y.
// The memo is zeroed first; false when a handle cannot be allocated (none is then left allocated) or the
// boundary has fewer than 4 points.
bool FillTerrainMeshMemo(const TerrainRecord& record, double shiftX, double shiftY, API_Element& mesh,
                         API_ElementMemo& memo);

// The whole creation: host defaults for a mesh, the current story, the settings, the base level
// -(story level) - verticalOffset, the memo, the element, its observer and terrain data record, and the message
// "Terrain has been created!". False when a step fails: with no story at the current index nothing is created;
// when only the data record fails the mesh stays, for the caller's command to be taken back. `memo` is released
// before the return.
bool CreateTerrainMesh(const TerrainRecord& record, double verticalOffset, API_Element& mesh, API_ElementMemo& memo,
                       double shiftX, double shiftY);
