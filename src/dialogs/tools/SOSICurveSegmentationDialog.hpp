#pragma once
// "Curve segmentation settings" (32744): the segment counts of the "SOSI OBJECT" outlines' arcs.
#include "sosi/SOSIDialogHooks.hpp"

// True on OK (`values` then hold the choice); false when cancelled.
bool AskSOSICurveSegmentation(SOSICurveSegmentation& values);
