#include "settings/PrefsLP.hpp"

#include "foundation/ModuleLog.hpp"

bool PrefsLP::LoadAtStart(Settings*) {
    ModuleLog::LogCall("PrefsLP::LoadAtStart");
    return true;
}
