#pragma once
// The coloured area settings dialog: the coloured-area record (show 2D, layer, ID, vertical offset, arc
// resolution, show ID) in two layouts, the compact one first, and, when the owner hands over its areas, one row
// per area whose material, fill, three pens and level difference are edited in place, with a marker per row.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "siteobjects/Paint.hpp"

#include "DG.hpp"

// One row of the list.
struct PaintAttrs {
    int32_t number;
    int32_t material;
    int32_t fill;
    uint16_t pen1;  // the pen
    uint16_t pen2;  // the fill pen
    uint16_t pen3;  // the fill background pen; 0: none
    double value;
};

struct ColouredAreaSettingsBlock {
    SettingsDialogBlock<PaintSettings> frame;
    PaintDialogState* state = nullptr;
    QV_List<PaintAttrs> rows;
    uint8_t carried = 0;  // opened after a layout switch: the markers are the user's
};

// Both layouts, starting with the first, until OK or Cancel. Confirmed: the edits are in the state's record with
// their flags, the rows' attributes in its areas, the markers and the last row's material and value set. Cancel,
// in either layout, writes nothing.
DialogAnswer OpenColouredAreaSettingsDialog(PaintDialogState& state, SettingsMode mode);

namespace ColouredAreaSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace ColouredAreaSettingsDlg
