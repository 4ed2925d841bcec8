#include "dialogs/settings/SOSIOptionsDialog.hpp"

#include "dialogs/settings/SOSIDlg.hpp"
#include "dialogs/settings/SOSITypeFilterDialog.hpp"
#include "sosi/SOSIFileCls.hpp"

bool RunSOSIOptionsDialog(SOSIFileCls& reader, SOSIOptionChoices& shown) {
    reader.cancelled = 0;
    const bool confirmed = [&] {
        switch (reader.importMode) {
            case SOSIModeTerrain: {
                SOSITypeFilterDlg block;
                return OpenSOSIObjectTypeFilterDialog(block, reader, shown);
            }
            case SOSIModeObjects: {
                SOSIGDLDlg dialog;
                return dialog.DoModal(reader, shown);
            }
            case SOSIModeWorksheet: {
                SOSI2DDlg dialog;
                return dialog.DoModal(reader, shown);
            }
            default: return true;  // no options to ask
        }
    }();
    if (!confirmed) reader.cancelled = 1;
    return confirmed;
}
