#pragma once
// The "Curve segmentation" dialog (32536): how selected curves are cut into straight segments, a number of
// segments along each arc or a segment length.
#include "geometry/project/CurveDivision.hpp"

#include <cstdint>

struct CurveSegmentationDialogData {
    uint16_t dialogId;
    CurveSegmentationRecord* record;
};

constexpr int16_t CurveSegmentationDialogId = 32536;

// Runs the dialog over `record`; true when it was closed with OK (the record then holds the choice and both
// values), false when cancelled (the record is untouched).
bool OpenCurveSegmentationDialog(CurveSegmentationDialogData& data, CurveSegmentationRecord* record);
// The same as the curve division asks for it.
bool AskCurveSegmentation(CurveSegmentationRecord& record);

// The dialog's callback (1 init, 3 close, 4 click, 6 change); userData points to its CurveSegmentationDialogData.
int16_t CurveSegmentationDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                        intptr_t messageData);
