#pragma once
// The terrain settings run: the "Terrain settings" dialog in its two layouts for the terrain defaults, a new
// terrain and the edit of existing terrain meshes, with the contour-line settings that go with the terrain; and
// the edit itself, which writes into every terrain mesh only the fields the user changed.
//
// The dialogs live above this folder and the contour-line steps beside it: both are reached through the ports
// the terrain command hands in (TerrainDialogs, TerrainContourSteps).
#include "foundation/DialogAnswer.hpp"
#include "settings/ContourLineSettings.hpp"
#include "terrain/TerrainContourContext.hpp"
#include "terrain/TerrainDialogBlock.hpp"
#include "terrain/TerrainRecord.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class TerrainContourSteps;
class TerrainDialogs;

// One run of the dialog over the record's settings. Confirmed: fields, name and changed flags in the record, the
// vertical offset in `verticalOffset` when given, the contour edits in `store`'s contour settings and the
// context; cancelled: nothing changed. `context` is needed in modes 1 to 3; `editedCount` is the number of
// terrains edited together (modes 2 and 3).
DialogAnswer RunTerrainSettings(Settings& store, TerrainDialogs& dialogs, TerrainRecord& record, int16_t mode,
                                int32_t locatorIndex, double* verticalOffset, TerrainContourContext* context,
                                int32_t editedCount = 0);

// "Terrain" with neither a terrain nor an outline in the project: `store`'s defaults, stored there on OK.
void BuildTerrainWithoutSelection(Settings& store, TerrainDialogs& dialogs, TerrainRecord& record);

// The settings of the first mesh into the record (the inverse mapping of the mesh exchange).
bool FillFromTerrainMesh(TerrainRecord& record, const QV_List<API_Element>& meshes);

// Writes the changed fields into every mesh in one undoable command; 1 success (also with nothing changed),
// 0 failure at the first mesh the host refuses. The ID text is written to every mesh whose memo can be read.
int32_t ApplyTerrainChanges(TerrainRecord& record, const QV_List<API_Element>& meshes);

// "Terrain" with terrains in the project: 0, or an error code to show.
int32_t ModifyTerrainMesh(Settings& store, TerrainDialogs& dialogs, TerrainContourSteps& contours,
                          TerrainRecord& record, const QV_List<API_Element>& meshes);
