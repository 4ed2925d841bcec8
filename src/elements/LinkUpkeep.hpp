#pragma once
// The link upkeep pass: a project written by an earlier release identifies linked elements by the host's old
// numeric identifiers, in its objects' link parameters and in element data records of the older layout. When the
// host asks for the conversion of old identifiers, every such reference is rewritten into the GUID form the
// current code reads, in one undoable command; then the terrains' contour lines are brought up to date.
//
// The pass runs inside a project notification: it opens no dialog and shows no message; its caller tells what it
// answers. An element whose record is not of the older layout, whose link parameter is missing or no number, or
// whose old identifier the host does not know is left as it was. A host call that fails takes the whole conversion
// back: a project converted in part would link converted elements to ones that still carry old identifiers.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

class ContourLineRefresh;

// The whole pass. Ends before any change when the floor plan cannot be made current or the preferences part
// "VY_PREFS" is not loaded. The database current before it is current again afterwards. The terrains' contour
// lines are made again through `contours` (which tells its own failures) once the conversion stands. 0 when it
// ran or had nothing to run; ErrDatabase when the host failed before or inside the conversion (which is then taken
// back whole, and no contour line is made again); ErrModifying when the terrains whose contour lines are to be
// made again cannot be told.
int32_t RunLinkUpkeep(ContourLineRefresh& contours);

// The steps, in the order the pass runs them inside its command. `floorPlan` is the floor plan's database. Each
// answers false when the host failed; what it changed before stays for its command to take back.

// Objects (kind 1), lines (kind 2) and fills (kind 3) with an older record get it rewritten (a point keeps its
// value and name).
bool MigrateObjectPoints();
bool MigrateLines();
bool MigrateFills();
// Meshes (kind 4): the terrain identifier "<old id>_<serial>" becomes "<GUID text>_<serial>"; each converted
// pair is appended to `oldIds` / `newIds` (same index).
bool MigrateTerrains(QV_List<QV_String>& oldIds, QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan);
// The add-on's objects: their numeric link parameters become the GUID texts of their records. Contour and
// coloured-area objects also get their terrain text from the mesh step and their generated part's name
// ("macro_name") rebuilt from it and written back. Nothing is done when one of the add-on's fourteen object parts
// is not loaded.
bool MigrateObjectLinks(const QV_List<QV_String>& oldIds, const QV_List<QV_String>& newIds,
                        const API_DatabaseInfo& floorPlan);
// The road sections in the databases of the section, elevation and interior elevation markers.
bool MigrateSectionWindows(const API_DatabaseInfo& floorPlan);
// The road sections of the current database: "IDoriginal" converted within it, the record rewritten as kind 16.
bool MigrateRoadSections(const API_DatabaseInfo& floorPlan);
// After the command: every terrain mesh whose contour lines exist gets them regenerated. ErrModifying when the
// meshes, their records or their contour lines cannot be read (the terrains told before stay regenerated).
int32_t RefreshTerrains(ContourLineRefresh& contours);

// The generated part's name of a contour or coloured area whose terrain's GUID text is `terrainGuidText` and whose
// older text is `oldText`: the GUID text followed by the text after the first '_' of `oldText` (all of it when it
// has none), behind as many characters of "CL000..." (45 in all) as leave the name 45 long. False when the text
// leaves no room for "CL".
bool RebuildMacroName(const QV_String& terrainGuidText, const QV_String& oldText, QV_String& outName);
