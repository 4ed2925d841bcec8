#pragma once
// The dialogs the SOSI import asks from below the dialogs folder; the shell wires them at start-up.
#include <cstdint>

class SOSIFileCls;

// How arcs, circles and Bezier curves are cut into segments when "SOSI OBJECT" outlines are made; kept while
// the module is loaded.
struct SOSICurveSegmentation {
    int32_t segments = 12;      // along an arc
    int32_t smallSegments = 3;  // along an arc whose radius is at most `smallRadius`
    double smallRadius = 0.1;
};

struct SOSIDialogHooks {
    // The options dialog of the reader's import mode (32543, 32539 or 32542); false when cancelled.
    bool (*optionsDialog)(SOSIFileCls& reader) = nullptr;
    // "Curve segmentation settings" (32744); false when cancelled, `values` then untouched.
    bool (*curveSegmentation)(SOSICurveSegmentation& values) = nullptr;
};

// Unset hooks: the options are taken as read (no type chosen) and the curve segmentation as it stands.
void SetSOSIDialogs(const SOSIDialogHooks& hooks);
const SOSIDialogHooks& SOSIDialogs();
