#pragma once
// The steps of the upkeep passes that belong to higher subsystems: the contour-line command and the library-folder
// check of the shell. The shell sets them in WiredUpkeepHooks() at
// start-up and puts the defaults back at release; a default notes its call and changes nothing.
#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>
#include <functional>

struct UpkeepHooks {
    // Regenerates the contour lines of the terrain mesh with the module's settings (RunContourLines).
    std::function<void(const API_Element& terrain)> runContourLines;
    // Compares the project's loaded libraries with the add-on's own folders (CheckAddOnLibraryFolders).
    std::function<void()> checkAddOnLibraryFolders;
};

const UpkeepHooks& DefaultUpkeepHooks();
UpkeepHooks& WiredUpkeepHooks();
void ResetUpkeepHooks();
