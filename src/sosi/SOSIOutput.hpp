#pragma once
// The SOSI objects turned into host elements: 2D drawing on an independent worksheet (mode 2) or the plan
// (mode 0, terrain input), "SOSI OBJECT" objects in mode 1.
#include "sosi/SOSIDialogHooks.hpp"

#include <cstdint>

class SOSIFileCls;

// Runs the whole build in one undoable command. False when a preparation step failed; `*somethingCreated`
// tells whether any element was made. Objects that failed set the reader's `buildError`.
bool BuildSOSIOutput(SOSIFileCls& reader, uint8_t* somethingCreated);
// Before a build with curved objects: asks once for their segmentation. False when the user cancels.
bool AskCurveSegmentation(SOSIFileCls& reader);
// The module's segmentation values.
SOSICurveSegmentation& SOSICurveSegmentationValues();
