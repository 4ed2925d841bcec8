#include "dialogs/settings/SOSIResultsDialog.hpp"

#include "sosi/SOSIFileCls.hpp"

bool OpenSOSIResultsDialog(SOSIFileCls& reader) {
    (void)reader;
    return false;
}

bool OpenSOSIResultsTwinDialog(SOSIFileCls& reader) {
    (void)reader;
    return false;
}
