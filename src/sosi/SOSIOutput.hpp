#pragma once
// The SOSI objects turned into host elements: 2D drawing on an independent worksheet (mode 2) or the plan
// (mode 0, terrain input), "SOSI OBJECT" objects in mode 1.
#include "foundation/QV_List.hpp"
#include "sosi/SOSIOutputChoices.hpp"
#include "sosi/SOSIOutputInput.hpp"
#include "sosi/SOSIRecords.hpp"

#include <cstdint>

// Runs the whole build in one undoable command. False when a preparation step failed; `*somethingCreated`
// tells whether any element was made. Objects that failed set `choices.buildError`, a user break `choices.stopped`.
bool BuildSOSIOutput(const SOSIOutputInput& input, SOSIOutputChoices& choices, uint8_t* somethingCreated);
// Whether the converted objects hold arcs, circles or Bezier curves, whose segmentation the user sets first.
bool HasCurvedSOSIObjects(const QV_List<SOSIData>& data);
// The last build's layers, pens and object record let go, as a new import starts.
void ClearSOSIOutputState();
