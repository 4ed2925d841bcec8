#pragma once
// The options of "TXT file Export": the destination's file name, the coordinate order of the lines and whether
// the terrain goes out with the changes other elements made to it. Two layouts, 32567 and 32514, switched by
// their layout buttons; OK writes the two flags of the export record, anything else leaves them.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "fileio/TextExport.hpp"

#include <cstdint>

constexpr int16_t PointExportSettingsDialogId = 32567;
constexpr int16_t PointExportSettingsTwinDialogId = 32514;

struct PointExportSettingsBlock {
    DialogBlockHead head;
    TextExportRec* record = nullptr;
};

// True when the dialog closed with OK.
bool OpenPointExportSettingsDialog(PointExportSettingsBlock& block, TextExportRec& record);
bool OpenPointExportSettingsDialogTwin(PointExportSettingsBlock& block, TextExportRec& record);
// The owner's loop over the two layouts: true on OK, false when the export is cancelled.
bool RunPointExportSettings(TextExportRec& record);

// The part of `path` after its last "\"; empty when the path is empty or ends in "\".
QV_String ExportFileName(const QV_String& path);

int16_t PointExportSettingsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t messageData);
int16_t PointExportSettingsCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                        intptr_t messageData);
