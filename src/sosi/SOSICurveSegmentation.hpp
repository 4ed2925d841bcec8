#pragma once
#include <cstdint>

// How arcs, circles and Bezier curves are cut into segments when "SOSI OBJECT" outlines are made; kept while
// the module is loaded.
struct SOSICurveSegmentation {
    int32_t segments = 12;      // along an arc
    int32_t smallSegments = 3;  // along an arc whose radius is at most `smallRadius`
    double smallRadius = 0.1;
};
// The module's segmentation values.
SOSICurveSegmentation& SOSICurveSegmentationValues();
