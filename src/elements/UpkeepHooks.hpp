#pragma once
// The steps of the upkeep passes that belong to higher subsystems: the road sections of the earthworks, the
// contour-line command and the library-folder check of the shell. The shell sets them in WiredUpkeepHooks() at
// start-up and puts the defaults back at release; a default notes its call and changes nothing.
#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>
#include <functional>

struct UpkeepHooks {
    // Whether a placed object of the road part (library index given) is a road section (RoadLP::ReadObject).
    // Default: false.
    std::function<bool(const API_Element& object, int32_t roadLibIndex)> isRoadSection;
    // Keeps in `objects` only the road sections among the road part's objects (RoadLP::ReadSection); false when
    // they cannot be told. Default: empties the list, false.
    std::function<bool(GS::Array<API_Guid>& objects, int32_t roadLibIndex)> keepRoadSections;
    // Regenerates the contour lines of the terrain mesh with the module's settings (RunContourLines).
    std::function<void(const API_Element& terrain)> runContourLines;
    // Compares the project's loaded libraries with the add-on's own folders (CheckAddOnLibraryFolders).
    std::function<void()> checkAddOnLibraryFolders;
};

const UpkeepHooks& DefaultUpkeepHooks();
UpkeepHooks& WiredUpkeepHooks();
void ResetUpkeepHooks();
