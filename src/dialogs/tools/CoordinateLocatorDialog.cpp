#include "dialogs/tools/CoordinateLocatorDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {
constexpr int16_t DialogId = 32541;
constexpr int16_t ItemOK = 1, ItemCancel = 2, ItemHeading = 3, ItemX = 5, ItemY = 7, ItemZ = 9, ItemMarkerSize = 12,
                  ItemMarkerPen = 15, ItemMarkerPenControl = 16, ItemFont = 18, ItemTextSize = 20, ItemTextPen = 23,
                  ItemTextPenControl = 24, ItemBold = 25, ItemItalic = 26, ItemLabelX = 4, ItemLabelY = 6,
                  ItemLabelZ = 8, ItemSymbolHeading = 10, ItemMarkerUnit = 13, ItemTextUnit = 21;

bool StyleHas(const QV_String& style, bool bold) {
    if (style == QV_String("normale")) return false;
    if (style == QV_String("grassetto")) return bold;
    if (style == QV_String("corsivo")) return !bold;
    return true;  // any other style shows both
}

// The host's pen chooser behind a user control.
void BindPenControl(int16_t d, int16_t item) {
    API_UserControlBinding binding = {APIUserControl_Pen, d, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

void Init(int16_t d, CoordinateLocatorRec& rec) {
    BindPenControl(d, ItemMarkerPenControl);
    BindPenControl(d, ItemTextPenControl);
    DGSetDialogTitle(d, Text(SOSITableBase, 22));
    DGSetItemText(d, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(d, ItemCancel, Text(CommonTableBase, 5));
    DGSetItemText(d, ItemHeading, Text(SOSITableBase, 23));
    DGSetItemText(d, ItemLabelX, GS::UniString("X:"));
    DGSetItemText(d, ItemLabelY, GS::UniString("Y:"));
    DGSetItemText(d, ItemLabelZ, GS::UniString("Z:"));
    DGSetItemText(d, ItemSymbolHeading, Text(SOSITableBase, 19));
    DGSetItemText(d, ItemMarkerUnit, GS::UniString("mm"));
    DGSetItemText(d, ItemTextUnit, GS::UniString("mm"));
    DGSetItemText(d, ItemBold, Text(SOSITableBase, 20));
    DGSetItemText(d, ItemItalic, Text(SOSITableBase, 21));
    DGSetItemValDouble(d, ItemX, rec.x);
    DGSetItemValDouble(d, ItemY, rec.y);
    DGSetItemValDouble(d, ItemZ, rec.z);
    DGSetItemValDouble(d, ItemMarkerSize, rec.markerSize);
    DGSetItemValDouble(d, ItemTextSize, rec.textSize);
    DGSetItemValLong(d, ItemMarkerPen, rec.markerPen);
    DGSetItemValLong(d, ItemMarkerPenControl, rec.markerPen);
    DGSetItemValLong(d, ItemTextPen, rec.textPen);
    DGSetItemValLong(d, ItemTextPenControl, rec.textPen);
    FillFontPopup(d, ItemFont, rec.font);
    DGSetItemValLong(d, ItemBold, StyleHas(rec.style, true) ? 1 : 0);
    DGSetItemValLong(d, ItemItalic, StyleHas(rec.style, false) ? 1 : 0);
}

int16_t Click(int16_t, int16_t item, CoordinateLocatorRec&) { return item == ItemOK || item == ItemCancel ? item : 0; }

// A pen number typed reaches its pen control, and back.
void Change(int16_t d, int16_t item, CoordinateLocatorRec&) {
    if (item == ItemMarkerPen) DGSetItemValLong(d, ItemMarkerPenControl, DGGetItemValLong(d, ItemMarkerPen));
    if (item == ItemTextPen) DGSetItemValLong(d, ItemTextPenControl, DGGetItemValLong(d, ItemTextPen));
}

void Track(int16_t d, int16_t item, CoordinateLocatorRec&) {
    if (item == ItemMarkerPenControl) DGSetItemValLong(d, ItemMarkerPen, DGGetItemValLong(d, ItemMarkerPenControl));
    if (item == ItemTextPenControl) DGSetItemValLong(d, ItemTextPen, DGGetItemValLong(d, ItemTextPenControl));
}

void StoreCoordinateLocatorDialog(int16_t d, CoordinateLocatorRec& rec) {
    rec.x = DGGetItemValDouble(d, ItemX);
    rec.y = DGGetItemValDouble(d, ItemY);
    rec.z = DGGetItemValDouble(d, ItemZ);
    rec.markerSize = DGGetItemValDouble(d, ItemMarkerSize);
    rec.textSize = DGGetItemValDouble(d, ItemTextSize);
    rec.markerPen = int16_t(DGGetItemValLong(d, ItemMarkerPen));
    rec.textPen = int16_t(DGGetItemValLong(d, ItemTextPen));
    ReadFontPopup(d, ItemFont, rec.font);
    rec.style = CoordinateLocatorStyle(DGGetItemValLong(d, ItemBold) != 0, DGGetItemValLong(d, ItemItalic) != 0);
}

void Close(int16_t d, int16_t item, CoordinateLocatorRec& rec) {
    if (item == ItemOK) StoreCoordinateLocatorDialog(d, rec);
}

constexpr ModalDialog<CoordinateLocatorRec>::Handlers Table = {nullptr, Init, Click, Change, Close, Track, nullptr};

int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<CoordinateLocatorRec>::Dispatch(DialogId, Table, message, dialogId, item, userData, data);
}
}  // namespace

bool OpenCoordinateLocatorDialog(CoordinateLocatorRec& rec) {
    CoordinateLocatorRec work = rec;
    if (ModalDialog<CoordinateLocatorRec>::Run(DialogId, Callback, work) != ItemOK) return false;
    rec = work;
    return true;
}
