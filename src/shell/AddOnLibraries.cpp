#include "shell/AddOnLibraries.hpp"

#include "foundation/ModuleLog.hpp"

bool RebuildAttributeCache() {
    ModuleLog::LogCall("RebuildAttributeCache");
    return true;
}
