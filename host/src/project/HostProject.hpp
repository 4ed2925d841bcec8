#pragma once
// The project the host has open: its libraries, its database and the module's data stored in it. It survives
// restarts of the module. The database finds the library parts of placed objects among the project's libraries;
// the 3D model follows the database.
#include "drawing/ElementDrawing.hpp"
#include "library/LibraryStore.hpp"
#include "model3d/MeshQuantities.hpp"
#include "model3d/ModelStore.hpp"
#include "project/LineTypeDefinitions.hpp"
#include "project/OldIdentifiers.hpp"
#include "project/ProjectDatabase.hpp"
#include "ui/SettingsDialogAnswers.hpp"
#include "view3d/View3DState.hpp"

#include <cstdint>
#include <map>
#include <string>

struct HostProject {
    HostProject();
    HostProject(const HostProject&) = delete;
    HostProject& operator=(const HostProject&) = delete;

    struct ModuleDataEntry {
        int32_t dataVersion = 0;
        uint16_t platformSign = 0;
        std::string bytes;
    };
    std::map<std::string, ModuleDataEntry> moduleData;  // by name; "" is the unnamed entry
    LibraryStore libraries;                             // a project starts with none loaded
    ProjectDatabase database;                           // elements, attributes, stories, windows ...
    ModelStore models{database, &libraries};            // the 3D model of the database's elements
    MeshVolumes volumes;                                // meshes' volumes, the latest solids kept
    OldIdentifiers oldIds;                              // of a project of an earlier release
    View3DState view3D;                                 // what the 3D view shows, its projection, its saves
    GivenDrawings drawings;                             // 2D drawings tests gave elements
    bool groupsSuspended = false;                       // 'SUSP' turns it, 'ISSG' reads it
    SettingsDialogAnswers settingsDialogs;              // the user's answers to the host's settings dialogs
    LineTypeDefinitions lineTypes;                      // dashes and symbols of line types; the drawing scale
    int16_t lengthDecimals = 2;                         // working-unit preference 'GPRF' answers
    uint8_t cameraDisplay = 1;                          // display option 'GDOP' answers, 'CDOP' sets
};
