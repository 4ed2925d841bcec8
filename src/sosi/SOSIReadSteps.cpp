#include "foundation/ModuleLog.hpp"
#include "sosi/SOSIDialogHooks.hpp"
#include "sosi/SOSIFileCls.hpp"

bool SOSIFileCls::ChooseFiles(bool* cancelled) {
    if (cancelled != nullptr) *cancelled = true;
    return true;
}

bool SOSIFileCls::ReadSOSIFile() {
    if (!ReadSOSIFiles()) return false;
    if (SOSIDialogs().optionsDialog != nullptr && !SOSIDialogs().optionsDialog(*this)) {
        cancelled = 1;
        return false;
    }
    return true;
}
