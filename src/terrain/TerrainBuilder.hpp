#pragma once
// "Terrain" from an outline: the outline's corners take the heights of the terrain points on them, the points
// inside become level points, the constraint lines between points become level lines, and one undoable command
// makes the mesh; the contour-line step follows.
#include "terrain/TerrainRecord.hpp"

#include "APIElements.hpp"

#include <cfloat>

class Settings;

class TerrainContourSteps;
class TerrainDialogs;

// The whole command for one outline (a fill with an outline data record): 0 done, cancelled or nothing to do;
// else a code to show (an `ErrorCode`: no outline record, too few nodes, an outline that crosses itself, a corner
// without a point, or the object not made; or the contour-line step's).
int32_t BuildTerrain(Settings& store, TerrainDialogs& dialogs, TerrainContourSteps& contours, TerrainRecord& record,
                     const API_Element& outline);

// The project's terrain points (hotspots with a point record) as x, y and height, in the host's order. False
// when the host cannot list them.
bool ReadTerrainPoints(QV_List<API_Coord3D>& points);
// The terrain points in one walk of the hotspots, under the progress window: `shown` as ReadTerrainPoints lists
// them, `anywhere` every hotspot the host lists whose record reads as a point's (whatever its layer, story or
// tag), as the outline's corners are matched. False when the host cannot list or read the hotspots or their
// records, or leaves out of the shown ones a point whose layer is shown on this story (its filter refused).
bool ReadTerrainPointSets(QV_List<API_Coord3D>& shown, QV_List<API_Coord3D>& anywhere);
// The project's constraint lines (lines with a constraint record), in the host's order.
bool ReadConstraintLines(QV_List<QV_Segment3D>& lines);

// The corner-and-level-point pass over the project's terrain points, under the progress window.
bool CollectTerrainPoints(TerrainRecord& record, uint8_t& cornerMissing);
// The same pass over points already read (null: the read failed).
bool CollectTerrainPoints(TerrainRecord& record, const QV_List<API_Coord3D>* points, uint8_t& cornerMissing);
// The break-line pass over the project's constraint lines; false when the host would not list or read them.
bool CollectBreakLines(TerrainRecord& record);

// Copies the outline into the boundary, runs the corner-and-level-point pass over the points read (null: the
// read failed) and gives the lowest and highest height of the corners and level points (DBL_MAX and -DBL_MAX when
// the pass fails). False when the pass fails.
bool FillBoundaryAndHeightRange(TerrainRecord& record, const QV_List<API_Coord3D>& vertices,
                                const QV_List<API_Coord3D>* points, double& lowest, double& highest);
