#pragma once
// A host mesh made the terrain, the terrains rebuilt, and the terrain's share of the model update: after the user
// changes, edits or deletes meshes, the terrain's own rules hold again and the add-on objects linked to a terrain
// (their data record names the terrain's GUID) follow it or, when their terrain is gone, go.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"
#include "APIInteraction.hpp"
#include "GSArray.hpp"

#include <cstdint>

class ContourLineRefresh;
class ElementEditor;
class TerrainDialogs;

// The skirt rule: a skirt value below -lowest - 1e-7 becomes 1.0 - lowest. True when it changed the value.
bool ApplySkirtRule(double lowest, double& skirt);
// The rule on a mesh (in memory), its lowest height read from its memo (boundary heights and level-line
// vertices). False when the memo cannot be read; `changed` tells whether the skirt moved.
bool EnsureTerrainSkirt(API_Element& mesh, bool& changed);

// Makes the mesh a terrain: its data record, the skirt rule, the linked objects refreshed. `asCommand`: one
// undoable command, and the mesh is selected afterwards. Asks first through "Mesh conversion"; 0 when the user
// declines. 0, or 43 when a step fails.
int32_t BuildTerrainFromMesh(TerrainDialogs& dialogs, const API_Element& mesh, bool asCommand);

// Refreshes the add-on objects linked to each changed mesh from it. True when nothing failed.
bool RefreshLinkedObjects(const QV_List<API_Element>& meshes, const QV_List<bool>& changed);

// "Data update": the skirt rule on every terrain mesh and their linked objects refreshed in one undoable command,
// then their contour lines regenerated through `contours`. 0; 42 when the floor plan cannot be brought to front; 43
// on failure.
int32_t RebuildTerrain(ContourLineRefresh& contours, const QV_List<API_Element>& meshes);

// The terrain's handler of the model update (1 new, 2 copy, 3 change, 4 edit, 5 delete) over the pending
// elements and, for changes and edits, the elements as they were; the linked objects follow a lifted or dragged
// terrain through `editor`. True when nothing failed.
bool CollectTerrainElements(ElementEditor& editor, int32_t mode, const QV_List<API_Elem_Head>& heads,
                            const QV_List<API_Element>& parents);

// Orphan removal: deletes the add-on objects whose linked terrain is none of the project's terrain meshes. An
// object whose link cannot be read, or names a live terrain in any spelling of its GUID, stays.
bool DeleteOrphanedObjects();
