#include "dialogs/settings/SOSIImportStepDialog.hpp"

bool OpenSOSIImportDialog(int32_t* choice) {
    (void)choice;
    return false;
}
