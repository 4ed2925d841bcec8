#pragma once
// "Import results": after a grid, point or DXF file was read and before any point is placed, the counts read,
// imported and skipped, the terrain position (an offset taken off every point, shown and edited relative to
// the points' box), the previous import's offset, an import area, and "Import again...". Two layouts, 32569
// and 32501, switched by their layout buttons. The dialog writes the reader itself: the offset as the position
// items change, the area and its flag on OK.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "fileio/BaseFileCls.hpp"

#include <cstdint>

constexpr int16_t PointImportResultsDialogId = 32569;
constexpr int16_t PointImportResultsTwinDialogId = 32501;

struct PointImportResultsBlock {
    DialogBlockHead head;
    BaseFileCls* reader = nullptr;
};

// True when the dialog closed with OK (also through "Import again...").
bool OpenPointImportResultsDialog(PointImportResultsBlock& block, BaseFileCls& reader);
bool OpenPointImportResultsDialogTwin(PointImportResultsBlock& block, BaseFileCls& reader);
// The owner's loop over the two layouts: true on OK, false when the import is cancelled.
bool RunPointImportResults(BaseFileCls& reader);

int16_t PointImportResultsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                   intptr_t messageData);
int16_t PointImportResultsCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                       intptr_t messageData);

// A count as the results dialogs show it: its whole decimal text.
QV_String ImportCountText(uint32_t count);
// The area edits' rule along one axis, on values relative to the offset: ordered, then clamped into the
// points' box [low, high]. Answers the pair to store.
void ClampImportArea(double& first, double& second, double low, double high);
