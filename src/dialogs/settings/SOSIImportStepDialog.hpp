#pragma once
// "SOSI File Import" (32538): which import to run.
#include <cstdint>

// `*choice` (preset by the caller) becomes 1 terrain survey, 2 "SOSI OBJECT" objects, 3 independent
// worksheet. False when cancelled.
bool OpenSOSIImportDialog(int32_t* choice);
