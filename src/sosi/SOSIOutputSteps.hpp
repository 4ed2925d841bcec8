#pragma once
// The steps of one SOSI build: the element records every created element copies, the layers of the chosen
// types, the worksheet in mode 2, and the build of one converted object.
#include "sosi/SOSIOutputChoices.hpp"
#include "sosi/SOSIOutputInput.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

// What one build shares among its steps, and what it made: a host call that fails takes the whole build back,
// so that a failed import leaves nothing of itself in the project.
struct SOSIBuildState {
    SOSIElementDefaults defaults;
    API_Element object;         // mode 1: the placed objects' record, the host's default of the chosen part
    QV_List<SOSILayer> layers;  // the host layer of each chosen type row
    // The build's pens (general settings 12 and 13), and those of the object being built: its layer, pen and
    // second value (a line type), and whether its lines take that second value.
    int16_t defaultPen = 0, defaultSecond = 0, pen = 0, second = 0;
    int32_t layer = 0;  // a host layer index: a file of many types makes more layers than 16 bits count
    uint8_t lineSwitch = 0;
    uint8_t somethingCreated = 0;            // set by every builder that created an element
    uint8_t hostFailed = 0;                  // a host call refused a step of the build
    std::vector<API_Guid> made;              // every element the build created
    std::map<int32_t, uint32_t> madeOfType;  // how many of each element type (API_ElemTypeID) it created
    std::vector<API_Attribute> madeLayers;   // layers the build created
    std::unordered_set<int32_t> usedLayers;  // layers the build put an element on
    // The type rows by name and the layers by lower-case name, for the build's objects to find theirs at once.
    std::unordered_map<std::u16string, int32_t> rowOfType, layerOfType;
    std::vector<API_Attribute> changedLayers;  // layers the build rewrote, as they were before
};
SOSIBuildState& SOSIOutputState();

// Fills the default records (stories in modes 0 and 1, the fill of surfaces, the pens of terrain input in
// mode 0); false when the host refuses a default.
bool PrepareSOSIElementDefaults(const SOSIOutputInput& input, const SOSIOutputChoices& choices);
// The fill surfaces get: 65 when it is solid, else the first solid fill, else 65; 0 when the host refuses a
// lookup.
int16_t ChooseSOSISurfaceFill();
// One host layer per chosen type row into the build state's `layers`: found by name, else created. False when the host
// refuses a layer; the layers made or rewritten are noted in the build state.
bool CreateTypeLayers(const QV_List<SOSIOType>& types);
// Takes back what the build made: its elements, the layers it created, the records of the layers it rewrote.
void TakeBackSOSIBuild();
// The layers the build created and put nothing on are deleted again. False when the host refuses.
bool DeleteUnusedSOSILayers();
// Mode 2: finds the worksheet by reference id (renamed when its name differs) or makes it, and brings it to
// the front. `*existed` tells whether it was there. False when a host call fails.
// `namesFromSettings`: the reference id and name come from the general settings `misc`, else the current
// worksheet's.
bool CreateOrReuseWorksheet(const MiscSettings& misc, uint8_t namesFromSettings, uint8_t* existed);
// The build state's indexes of the type rows and of the layers made for them (after CreateTypeLayers).
void IndexSOSITypes(const QV_List<SOSIOType>& types);
std::u16string SOSITypeKey(const QV_String& name);
// Builds the element(s) or the object of `reader.data[index]`; nonzero low byte on success. A refused host call
// also sets the build state's `hostFailed`.
int32_t BuildOneSOSIData(const SOSIOutputInput& input, const SOSIOutputChoices& choices, int32_t index);
