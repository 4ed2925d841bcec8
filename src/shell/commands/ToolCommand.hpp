#pragma once
// What every tool command shares: the selection-check result, the start of a command, the floor-plan
// requirement, the picks most commands begin with and the one report at its end.
//
// A command has the form `void Run<Tool>(Settings&)`; it starts with BeginToolCommand, asks the element class
// for one operation and hands the operation's code to ReportToolResult. Codes are the error table's
// (ShowErrorMessage); 0 shows nothing, and a cancelled settings dialog ends an operation with 0.
#include "foundation/ErrorCode.hpp"
#include "foundation/QV_List.hpp"
#include "settings/Settings.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The result code of the last command's selection check; some operations write theirs here and
// "Data update" shows it. 0 at load and at the start of every command.
extern int32_t SelectionCheckResult;

// The first step of every command: the selection-check result and both counts of `settings` (the
// selected-element count `firstCount` and the edited-entity count `editedCount`) back to 0, so that a
// dialog never sees the count of an earlier command.
void BeginToolCommand(Settings& settings);

// Before a command modifies selected objects: their number becomes the edited-entity count, which the
// settings dialogs read (one object edited or several).
void SetEditedCount(Settings& settings, int32_t count);

// The selected add-on objects of `kind`, picked for modifying. With `resultsOnly` the pick is reduced to the
// result objects first. When any remain, their number becomes the edited-entity count. False when a query failed
// (the command then reports ErrFindingData).
bool PickToModify(Settings& settings, int32_t kind, bool resultsOnly, QV_List<API_Element>& picked);

// The selected add-on objects of `kind`, as they are (no edited count).
bool PickObjects(int32_t kind, QV_List<API_Element>& out);

// The project's add-on terrains, selected or not; the first is the one new objects go on.
bool ProjectTerrains(QV_List<API_Element>& out);

// The selected elements of `type` (fills, polylines) a new object is made from.
bool SelectedOfType(API_ElemTypeID type, QV_List<API_Element>& out);

// "Floor plan required": true when the floor plan is in front, switching to it (and redrawing) when another
// window is; false when it cannot be brought to front, and the command then reports ErrDatabase.
bool RequireFloorPlan();

// The end of every command: shows `code` through the error table; 0 shows nothing.
void ReportToolResult(int32_t code);

// A command as a palette button runs it, on the shell's one settings object:
// `{"Pal_Poly", OnGlobalSettings<RunPolygon>}` in shell/SubPaletteButtons.cpp (where a command that asks the
// user through a port is handed that port too).
template <void (*Run)(Settings&)>
void OnGlobalSettings() {
    Run(GlobalSettings);
}
