#pragma once
// The steps of one SOSI build: the element records every created element copies, the layers of the chosen
// types, the worksheet in mode 2, and the build of one converted object.
#include "APIElements.hpp"

#include <cstdint>

class SOSIFileCls;

// The host's default of each 2D element type the builders make, kept for one build.
struct SOSIElementDefaults {
    API_Element hotspot;
    API_Element line;
    API_Element arc;
    API_Element circle;
    API_Element text;
    API_Element polyLine;
    API_Element spline;
    API_Element hatch;
};

// What one build shares among its steps.
struct SOSIBuildState {
    SOSIElementDefaults defaults;
    uint8_t somethingCreated = 0;  // set by every builder that created an element
};
SOSIBuildState& SOSIOutputState();

// Fills the default records (stories in modes 0 and 1, the fill of surfaces, the pens of terrain input in
// mode 0); false when the host refuses a default.
bool PrepareSOSIElementDefaults(SOSIFileCls& reader);
// The fill surfaces get: 65 when it is solid, else the first solid fill, else 65.
int16_t ChooseSOSISurfaceFill();
// One host layer per chosen type row into `reader.layers`: found by name, else created (layer 1 when neither).
void CreateTypeLayers(SOSIFileCls& reader);
// Mode 2: finds the worksheet by reference id (renamed when its name differs) or makes it, and brings it to
// the front. `*existed` tells whether it was there. False when a host call fails.
bool CreateOrReuseWorksheet(SOSIFileCls& reader, uint8_t* existed);
// Builds the element(s) or the object of `reader.data[index]`; nonzero low byte on success.
int32_t BuildOneSOSIData(SOSIFileCls& reader, int32_t index);
