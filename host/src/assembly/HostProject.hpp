#pragma once
// The project the host has open, put together from the families' parts: its libraries, its database and the
// module's data stored in it, the 3D model, the 3D view, the drawings and the settings dialogs' answers. It survives
// restarts of the module. The database finds the library parts of placed objects among the project's libraries and
// the boxes of elements in the 3D model; the 3D model follows the database. The families reach their own part
// through HostCalls, so that only the core and the script commands see the whole.
#include "drawing/ElementDrawing.hpp"
#include "library/LibraryStore.hpp"
#include "model3d/MeshQuantities.hpp"
#include "model3d/ModelStore.hpp"
#include "project/ProjectDatabase.hpp"
#include "project/ProjectRecords.hpp"
#include "ui/SettingsDialogAnswers.hpp"
#include "view3d/View3DState.hpp"

struct HostProject : ProjectRecords {
    HostProject();
    HostProject(const HostProject&) = delete;
    HostProject& operator=(const HostProject&) = delete;

    LibraryStore libraries;                 // a project starts with none loaded
    ProjectDatabase database;               // elements, attributes, stories, windows ...
    ModelStore models{database};            // the 3D model of the database's elements
    MeshVolumes volumes;                    // meshes' volumes, the latest solids kept
    View3DState view3D;                     // what the 3D view shows, its projection, its saves
    GivenDrawings drawings;                 // 2D drawings tests gave elements
    SettingsDialogAnswers settingsDialogs;  // the user's answers to the host's settings dialogs
};
