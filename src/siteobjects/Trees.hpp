#pragma once
// The tree tool: placing tree objects of "SS_TREE" at clicked points (on the terrain when there is one) and
// applying edited settings to the selected trees, each run by the Trees command inside one undoable command.
// The tool's settings are the settings object's tree record, which the command hands down; the first creation
// in a project fills it from the library part's defaults, the dialog from then on.
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/TreeSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;
class SiteObjectDialogs;

// "Tree settings" (asked through `dialogs`) on a copy of `stored`; confirmed, the copy is stored and `changed`
// holds what the user changed.
DialogAnswer EditTreeSettings(TreeSettings& stored, SiteObjectDialogs& dialogs, SettingsMode mode,
                              TreeChangeFlags& changed);

// Places trees, on `terrain` when there is one (null: none in the project), inside the caller's undoable command.
// A point input that fails, a layer refused and a tree the host does not create are shown here, and the trees
// placed stay. Answers 0, or the code (for ShowErrorMessage, not shown here) of a failure that must take the
// whole command back: the terrain's story, outline or height at a clicked point, or the defaults the trees are
// made from, that the host cannot give.
int32_t CreateTree(Settings& store, SiteObjectDialogs& dialogs, const API_Element* terrain);
// Writes the fields changed in the dialog into each selected tree and regrows the branches of those whose shape
// changed. A tree whose own counts cannot be grown from is left unchanged and reported (43). False, nothing
// shown, when the host fails a tree's read or change: the caller's command must be taken back.
bool RegenerateTrees(Settings& store, SiteObjectDialogs& dialogs, const QV_List<API_Element>& trees);
