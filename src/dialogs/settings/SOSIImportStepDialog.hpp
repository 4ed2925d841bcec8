#pragma once
// "SOSI File Import" (32538): which import to run.
#include <cstdint>

constexpr int16_t SOSIImportStepDialogId = 32538;

// `*choice` (preset by the caller) becomes 1 terrain survey, 2 "SOSI OBJECT" objects, 3 independent
// worksheet. False when cancelled.
bool OpenSOSIImportDialog(int32_t* choice);

int16_t SOSIImportStepProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
