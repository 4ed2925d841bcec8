#include "dialogs/settings/SOSIOptionsDialog.hpp"

#include "sosi/SOSIFileCls.hpp"

bool RunSOSIOptionsDialog(SOSIFileCls& reader) {
    (void)reader;
    return false;
}
