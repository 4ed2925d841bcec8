#pragma once
// The SOSI objects turned into host elements: 2D drawing on an independent worksheet (mode 2) or the plan
// (mode 0, terrain input), "SOSI OBJECT" objects in mode 1.
#include <cstdint>

class SOSIFileCls;

// How arcs, circles and Bezier curves are cut into segments when "SOSI OBJECT" outlines are made; kept while
// the module is loaded.
struct SOSICurveSegmentation {
    int32_t segments = 12;      // along an arc
    int32_t smallSegments = 3;  // along an arc whose radius is at most `smallRadius`
    double smallRadius = 0.1;
};

// Runs the whole build in one undoable command. False when a preparation step failed; `*somethingCreated`
// tells whether any element was made. Objects that failed set the reader's `buildError`.
bool BuildSOSIOutput(SOSIFileCls& reader, uint8_t* somethingCreated);
// Whether the converted objects hold arcs, circles or Bezier curves, whose segmentation the user sets first.
bool HasCurvedSOSIObjects(const SOSIFileCls& reader);
// The module's segmentation values.
SOSICurveSegmentation& SOSICurveSegmentationValues();
