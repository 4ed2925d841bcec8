#include "elements/UpkeepHooks.hpp"

#include "foundation/ModuleLog.hpp"

namespace {
UpkeepHooks BuiltInHooks() {
    UpkeepHooks hooks;
    hooks.isRoadSection = [](const API_Element&, int32_t) {
        ModuleLog::LogCall("RoadLP::ReadObject");
        return false;
    };
    hooks.keepRoadSections = [](GS::Array<API_Guid>& objects, int32_t) {
        ModuleLog::LogCall("RoadLP::ReadSection");
        objects.Clear();
        return false;
    };
    hooks.runContourLines = [](const API_Element&) { ModuleLog::LogCall("RunContourLines"); };
    hooks.checkAddOnLibraryFolders = [] { ModuleLog::LogCall("CheckAddOnLibraryFolders"); };
    return hooks;
}

UpkeepHooks& HooksInUse() {
    static UpkeepHooks hooks = BuiltInHooks();
    return hooks;
}
}  // namespace

const UpkeepHooks& DefaultUpkeepHooks() { return HooksInUse(); }

UpkeepHooks& WiredUpkeepHooks() { return HooksInUse(); }

void ResetUpkeepHooks() { HooksInUse() = BuiltInHooks(); }
