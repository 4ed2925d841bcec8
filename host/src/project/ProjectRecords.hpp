#pragma once
// What the project keeps beside its database: the module's data, the identifiers of an earlier release, the line
// types, and the few preferences and display options the host answers.
#include "project/LineTypeDefinitions.hpp"
#include "project/OldIdentifiers.hpp"

#include <cstdint>
#include <map>
#include <string>

struct ProjectRecords {
    struct ModuleDataEntry {
        int32_t dataVersion = 0;
        uint16_t platformSign = 0;
        std::string bytes;
    };
    std::map<std::string, ModuleDataEntry> moduleData;  // by name; "" is the unnamed entry
    OldIdentifiers oldIds;                              // of a project of an earlier release
    bool groupsSuspended = false;                       // 'SUSP' turns it, 'ISSG' reads it
    LineTypeDefinitions lineTypes;                      // dashes and symbols of line types; the drawing scale
    int16_t lengthDecimals = 2;                         // working-unit preference 'GPRF' answers
    uint8_t cameraDisplay = 1;                          // display option 'GDOP' answers, 'CDOP' sets
};
