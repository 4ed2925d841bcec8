#include "dialogs/settings/SOSIResultsDialog.hpp"

#include "sosi/SOSIFileCls.hpp"

bool OpenSOSIImportResultsDialog(SOSIFileCls& reader) {
    (void)reader;
    return false;
}

bool OpenSOSIImportResultsDialogTwin(SOSIFileCls& reader) {
    (void)reader;
    return false;
}
