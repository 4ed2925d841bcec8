#pragma once
// "DXF File import": the layers of the file, each with a toggle for points and one for constraints, the length
// of a DXF unit, the two filter distances, grouping, the points' code and pen and the constraints' pen and line
// type. Two layouts (32570, 32510) switched by their layout buttons. The dialog edits the reader itself: the
// layer toggles as they are clicked (so they survive a layout switch), everything else on OK.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "fileio/DXFFileCls.hpp"

#include <cstdint>

constexpr int16_t DxfImportDialogId = 32570;
constexpr int16_t DxfImportTwinDialogId = 32510;

// Icons of the layer list's two toggle columns.
constexpr int32_t DxfIconOn = 32713;
constexpr int32_t DxfIconOff = 32714;
constexpr int32_t DxfIconNotAvailable = 32715;

struct DxfImportBlock {
    DialogBlockHead head;
    DXFFileCls* reader = nullptr;
    uint8_t pointsToggle = 1;  // what a click on the column heads sets next
    uint8_t constraintsToggle = 1;
};

// True on OK.
bool OpenDxfImportDialog(DxfImportBlock& block, DXFFileCls& reader);
bool OpenDxfImportDialogTwin(DxfImportBlock& block, DXFFileCls& reader);
// The reader's loop over the two layouts: true on OK, false when the import is cancelled.
bool RunDxfImportDialogs(DXFFileCls& reader);

int16_t DxfImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData);
int16_t DxfImportDialogCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t messageData);
