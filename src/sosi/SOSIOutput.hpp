#pragma once
// The SOSI objects turned into host elements: 2D drawing on an independent worksheet (mode 2) or the plan
// (mode 0, terrain input), "SOSI OBJECT" objects in mode 1.
#include "foundation/QV_List.hpp"
#include "settings/ImportOptionsRec.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APIElements.hpp"

#include <cstdint>

// What the output takes from the import: the records the assembly made, the type rows chosen, and where.
struct SOSIOutputInput {
    const QV_List<SOSIData>& data;
    const QV_List<SOSIOType>& types;  // their layers, pens and line types
    int32_t importMode;
    const ImportOptionsRec& options;  // mode 0: the points' pen and code number
    uint8_t limitToArea;              // 1: only what lies inside `limitArea` is placed
    API_Box limitArea;
};

// What the command and the dialogs choose for placing one import's records, and what the build tells back.
struct SOSIOutputChoices {
    int32_t objectLibPartIndex = -1;             // mode 1: the "SOSI OBJECT" part placed
    int32_t locatorLibPartIndex = -1;            // the coordinate locator's part, when the command looked it up
    QV_List<API_DatabaseInfo> locatorDatabases;  // worksheets holding a coordinate locator (FindSOSILocatorDatabases)
    uint32_t lineValues[2] = {0, 0};             // mode 0: the lines' pen and line type, those of the constraint lines
    uint8_t namesFromSettings = 1;               // the worksheet's reference id and name come from the general settings
    uint8_t addSwitch = 0;                       // new elements join an existing worksheet's, else replace them
    uint8_t dialogSwitch = 0;                    // the lines made of one object are grouped
    uint8_t buildError = 0;                      // an object failed in the last build
    uint8_t locatorRefused = 0;                  // the host refused the search of the locators or a locator's offset
    uint8_t stopped = 0;                         // the user stopped the last build
};

// How arcs, circles and Bezier curves are cut into segments when "SOSI OBJECT" outlines are made; kept while
// the module is loaded.
struct SOSICurveSegmentation {
    int32_t segments = 12;      // along an arc
    int32_t smallSegments = 3;  // along an arc whose radius is at most `smallRadius`
    double smallRadius = 0.1;
};

// Runs the whole build in one undoable command. False when a preparation step failed; `*somethingCreated`
// tells whether any element was made. Objects that failed set `choices.buildError`, a user break `choices.stopped`.
bool BuildSOSIOutput(const SOSIOutputInput& input, SOSIOutputChoices& choices, uint8_t* somethingCreated);
// Whether the converted objects hold arcs, circles or Bezier curves, whose segmentation the user sets first.
bool HasCurvedSOSIObjects(const QV_List<SOSIData>& data);
// The module's segmentation values.
SOSICurveSegmentation& SOSICurveSegmentationValues();
