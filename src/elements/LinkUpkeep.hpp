#pragma once
// The link upkeep pass: a project written by an earlier release identifies linked elements by the host's old
// numeric identifiers, in its objects' link parameters and in element data records of the older layout. When the
// host asks for the conversion of old identifiers, every such reference is rewritten into the GUID form the
// current code reads, in one undoable command; then the terrains' contour lines are brought up to date.
//
// The pass runs inside a project notification: it opens no dialog and shows no message. Each element is handled
// by itself; an element whose record does not parse, whose link cannot be read or whose old identifier the host
// does not know is left as it was.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

class ContourLineRefresh;

// The whole pass. Ends before any change when the floor plan cannot be made current or the preferences part
// "VY_PREFS" cannot be found. The database current before it is current again afterwards. The terrains' contour
// lines are made again through `contours`.
void RunLinkUpkeep(ContourLineRefresh& contours);

// The steps, in the order the pass runs them inside its command. `floorPlan` is the floor plan's database.

// Objects (kind 1), lines (kind 2) and fills (kind 3) with an older record get it rewritten (a point keeps its
// value and name).
void MigrateObjectPoints();
void MigrateLines();
void MigrateFills();
// Meshes (kind 4): the terrain identifier "<old id>_<serial>" becomes "<GUID text>_<serial>"; each converted
// pair is appended to `oldIds` / `newIds` (same index).
void MigrateTerrains(QV_List<QV_String>& oldIds, QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan);
// The add-on's objects: their numeric link parameters become the GUID texts of their records. Contour and
// coloured-area objects also get their terrain text from the mesh step and their generated part's name
// ("macro_name") rebuilt from it and written back. Nothing is done when one of the add-on's fourteen object parts
// cannot be found.
void MigrateObjectLinks(const QV_List<QV_String>& oldIds, const QV_List<QV_String>& newIds,
                        const API_DatabaseInfo& floorPlan);
// The road sections in the databases of the section, elevation and interior elevation markers.
void MigrateSectionWindows(const API_DatabaseInfo& floorPlan);
// The road sections of the current database: "IDoriginal" converted within it, the record rewritten as kind 16.
void MigrateRoadSections(const API_DatabaseInfo& floorPlan);
// After the command: every terrain mesh whose contour lines exist gets them regenerated.
void RefreshTerrains(ContourLineRefresh& contours);

// The generated part's name of a contour or coloured area whose terrain's GUID text is `terrainGuidText` and whose
// older text is `oldText`: the GUID text followed by the text after the first '_' of `oldText` (all of it when it
// has none), behind as many characters of "CL000..." (45 in all) as leave the name 45 long. False when the text
// leaves no room for "CL".
bool RebuildMacroName(const QV_String& terrainGuidText, const QV_String& oldText, QV_String& outName);
