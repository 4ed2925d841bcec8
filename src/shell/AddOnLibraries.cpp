#include "shell/AddOnLibraries.hpp"

#include "foundation/ModuleLog.hpp"

bool LoadAddOnLibraries(bool check) {
    ModuleLog::LogCall(check ? "LoadAddOnLibraries check" : "LoadAddOnLibraries");
    return true;
}

GSErrCode CountGISSubtypeParams() {
    ModuleLog::LogCall("CountGISSubtypeParams");
    return NoError;
}
