#pragma once
// "Curve segmentation settings" (32744): the segment counts of the "SOSI OBJECT" outlines' arcs.
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSICurveSegmentation.hpp"

// True on OK (`values` then hold the choice); false when cancelled.
bool AskSOSICurveSegmentation(SOSICurveSegmentation& values);
// Before a build whose objects hold curves: asks once, on the module's values, which OK replaces. True without a
// dialog when there are no curves; false when cancelled.
bool AskSOSICurveSegmentation(const SOSIFileCls& reader);
