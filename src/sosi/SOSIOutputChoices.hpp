#pragma once
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

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
    uint32_t unbuilt = 0;                        // the objects of the last build whose geometry made no element
    uint8_t locatorRefused = 0;                  // the host refused the search of the locators or a locator's offset
    uint8_t stopped = 0;                         // the user stopped the last build
};
