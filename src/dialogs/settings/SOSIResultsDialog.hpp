#pragma once
// The results dialogs of a SOSI import: 32544 (terrain survey, with the KURVE altitude filter) and 32540 (every
// mode): the data's position in the project, the limiting area, the offset from a coordinate locator.
#include <cstdint>

class SOSIFileCls;

constexpr int16_t SOSIResultsDialogId = 32544;
constexpr int16_t SOSIResultsTwinDialogId = 32540;

// True on OK. Cancel, or "Import again..." (the reader's `importAgain` then set), give false.
bool OpenSOSIImportResultsDialog(SOSIFileCls& reader);
bool OpenSOSIImportResultsDialogTwin(SOSIFileCls& reader);

int16_t SOSIResultsProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
int16_t SOSIResultsTwinProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
