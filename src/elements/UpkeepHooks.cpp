#include "elements/UpkeepHooks.hpp"

#include "foundation/ModuleLog.hpp"

namespace {
UpkeepHooks BuiltInHooks() {
    UpkeepHooks hooks;
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
