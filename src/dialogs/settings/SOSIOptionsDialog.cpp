#include "dialogs/settings/SOSIOptionsDialog.hpp"

#include "dialogs/settings/SOSIDlg.hpp"
#include "dialogs/settings/SOSITypeFilterDialog.hpp"
#include "sosi/SOSIFileCls.hpp"

bool RunSOSIOptionsDialog(SOSIFileCls& reader) {
    reader.cancelled = 0;
    const bool confirmed = [&] {
        switch (reader.importMode) {
            case SOSIModeTerrain: {
                SOSITypeFilterDlg block;
                return OpenSOSIObjectTypeFilterDialog(block, reader);
            }
            case SOSIModeObjects: {
                SOSIGDLDlg dialog;
                return dialog.DoModal(reader);
            }
            case SOSIModeWorksheet: {
                SOSI2DDlg dialog;
                return dialog.DoModal(reader);
            }
            default: return true;  // no options to ask
        }
    }();
    if (!confirmed) reader.cancelled = 1;
    return confirmed;
}
