#pragma once
// "Outline settings": the look of the outline hatch (pens, fill, line type, layer, ID) and the search values of
// the outline tool (search type, corridor width and angle), in two layouts, 32546 and 32502, on the settings
// dialog frame.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "settings/OutlineSettings.hpp"

// The record the dialog edits: the outline record (ids 0 to 6) and the three search values beside it.
struct OutlineDialogRecord {
    OutlineSettings settings;
    double corridorWidth = 0.0;
    double searchAngle = 0.0;  // radians; shown in degrees
    uint16_t searchType = 1;   // 1 the first radio (polygonal), 0 the second
    bool typeSelectable = true;
    bool corridorLocked = false;
};

using OutlineSettingsBlock = SettingsDialogBlock<OutlineDialogRecord>;

DialogAnswer OpenOutlineSettingsDialog(OutlineSettingsBlock& block, OutlineDialogRecord& record,
                                       bool carryWork = false);
DialogAnswer OpenOutlineSettingsDialogTwin(OutlineSettingsBlock& block, OutlineDialogRecord& record,
                                           bool carryWork = false);

// Both layouts, the first first; confirmed, with one flag per field id in `changed`.
DialogAnswer RunOutlineSettingsDialog(OutlineDialogRecord& record, OutlineSettings::Changed& changed,
                                      SettingsMode mode);
