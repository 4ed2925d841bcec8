#include "dialogs/settings/SOSIDlg.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/SOSITypeListCells.hpp"
#include "dialogs/settings/SOSIWorksheetScan.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSITypeRowList.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"
#include "DG.hpp"
#include "UC.hpp"

#include <initializer_list>

namespace {

using namespace SOSIOptionItems;

enum : int16_t {
    ItemImage = 5,
    ItemSpareControl = 8,
    ItemReferenceLabel = 26,
    ItemReference = 27,
    ItemNameLabel = 28,
    ItemName = 29,
};

enum : int32_t { ColImport, ColName, ColOwnPen, ColPenColour, ColPenNumber, ColPenControl, ColOwnValue, ColValue };

struct TabSpan {
    int32_t begin, end;
};
const TabSpan Spans[8] = {{6, 26}, {37, 177}, {188, 208}, {214, 236}, {237, 269}, {270, 290}, {296, 316}, {322, 382}};

constexpr int32_t TextHeading = 6, TextFilterHeading = 11, TextReference = 7, TextName = 8;
constexpr int32_t TextFirstReference = 9, TextFirstName = 29;
constexpr const char *BuiltInFirstReference = "VY-01", *BuiltInFirstName = "Kartunderlag";
constexpr int32_t TextWorksheetExists = 12, TextAdd = 24, TextOverwrite = 25;
constexpr int32_t CommonOK = 64, CommonCancel = 5;

QV_String ItemString(int16_t dialogId, int16_t item) { return FromUni(DGGetItemText(dialogId, item)); }

QV_String FromUnits(const char16_t* units, size_t capacity) {
    size_t n = 0;
    while (n < capacity && units[n] != 0) ++n;
    QV_String text;
    text.AppendWide(units, uint32_t(n));
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------- SOSIDlg

SOSIDlg::~SOSIDlg() { SOSIDlg::Clear(); }

void SOSIDlg::AdjustSize() {}

void SOSIDlg::Clear() {
    reader = nullptr;
    for (SOSIOType& row : rows) row.Reset();
    rows.Clear();
    allImport = allOwnPen = allOwnValue = 0;
    gsdgId = columnCount = 0;
    importIcon = penIcon = valueIcon = 0;
    for (uint16_t& c : columns) c = 0;
}

int32_t SOSIDlg::SelectedRow() const {
    const int32_t selected = DGListGetSelected(dialogId, SOSITypeList);
    return selected >= 1 && selected <= rows.GetCount() ? selected - 1 : -1;
}

void SOSIDlg::UpdateRow(int32_t row) {
    if (row < 0 || row >= rows.GetCount()) return;
    const SOSIOType& r = rows[row];
    importIcon = uint16_t(r.import != 0 ? SOSIIconSet : SOSIIconNotImported);
    penIcon = uint16_t(r.import != 0 ? SOSIFlagIcon(r.ownPen) : SOSIIconNotImported);
    valueIcon = uint16_t(r.import != 0 ? SOSIFlagIcon(r.ownValue) : SOSIIconNotImported);
    const GSResModule module = ACAPI_GetOwnResModule();
    DGListSetTabItemIcon(dialogId, SOSITypeList, row + 1, Column(ColImport), DG::Icon(module, importIcon));
    DGListSetTabItemIcon(dialogId, SOSITypeList, row + 1, Column(ColOwnPen), DG::Icon(module, penIcon));
    DGListSetTabItemIcon(dialogId, SOSITypeList, row + 1, Column(ColOwnValue), DG::Icon(module, valueIcon));
    DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, Column(ColImport));
    DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, Column(ColOwnPen));
    DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, Column(ColOwnValue));
    ShowPenEditors(row);
    ShowValueEditor(row);
}

void SOSIDlg::ShowRowTexts(int32_t row) {
    const SOSIOType& r = rows[row];
    DGListSetTabItemText(dialogId, SOSITypeList, row + 1, Column(ColName), SOSINameText(r.name));
    DGListSetTabItemText(dialogId, SOSITypeList, row + 1, Column(ColPenNumber), SOSIPenText(r.pen));
    DGListSetTabItemText(dialogId, SOSITypeList, row + 1, Column(ColValue), SOSIValueText(r.value));
}

void SOSIDlg::FillTypeList() {
    for (int16_t item : std::initializer_list<int16_t>{ItemPenControl, ItemPenEdit, ItemSpareControl, ItemValueEdit})
        DGHideItem(dialogId, item);
    UC257SetStyle(dialogId, ItemPenControl, 19);
    UC257SetStyle(dialogId, ItemSpareControl, 3);
    DGSetItemFont(dialogId, ItemPenEdit, DG_FONT_SMALL);
    DGSetItemFont(dialogId, ItemValueEdit, DG_FONT_SMALL);
    DGListDisableDraw(dialogId, SOSITypeList);
    DGListDeleteItem(dialogId, SOSITypeList, DG_ALL_ITEMS);
    DGListSetItemHeight(dialogId, SOSITypeList, SOSIListRowHeight);
    DGListSetTabFieldCount(dialogId, SOSITypeList, int16_t(columnCount));
    for (int32_t c = 0; c < 8 && c < columnCount; ++c) {
        DGListSetTabFieldData(dialogId, SOSITypeList, Column(c), Spans[c].begin, Spans[c].end);
        if (c == ColPenColour || c == ColPenControl)
            DGListSetTabFieldOwnerDrawFlag(dialogId, SOSITypeList, Column(c), true);
    }
    for (int32_t i = 0; i < rows.GetCount(); ++i) {
        DGListInsertItem(dialogId, SOSITypeList, DG_LIST_BOTTOM);
        ShowRowTexts(i);
        SetSOSIRowColour(dialogId, i + 1, rows[i], true, false);
        UpdateRow(i);
    }
    DGListEnableDraw(dialogId, SOSITypeList);
}

void SOSIDlg::SetIds() {}

void SOSIDlg::ShowPenEditors(int32_t row) {
    const int32_t selected = SelectedRow();
    if (selected >= 0 && row != selected) return;  // the editors sit on the selected row only
    if (selected >= 0 && rows[selected].import != 0 && rows[selected].ownPen != 0) {
        DGSetItemValLong(dialogId, ItemPenEdit, rows[selected].pen);
        DGSetItemValLong(dialogId, ItemPenControl, rows[selected].pen);
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColPenNumber), ItemPenEdit);
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColPenControl), ItemPenControl);
    } else {
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColPenNumber), 0);
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColPenControl), 0);
    }
}

void SOSIDlg::ShowValueEditor(int32_t row) {
    const int32_t selected = SelectedRow();
    if (selected >= 0 && row != selected) return;
    if (selected >= 0 && rows[selected].import != 0 && rows[selected].ownValue != 0) {
        DGSetItemValDouble(dialogId, ItemValueEdit, rows[selected].value);
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColValue), ItemValueEdit);
    } else {
        DGListSetDialItemOnTabField(dialogId, SOSITypeList, Column(ColValue), 0);
    }
}

void SOSIDlg::RowHook(int32_t) {}

void SOSIDlg::ApplyDefaultPen() {
    if (rows.GetCount() == 0) return;
    const int32_t pen = DGGetItemValLong(dialogId, ItemDefaultPen);
    for (int32_t i = 0; i < rows.GetCount(); ++i) {
        if (rows[i].ownPen == 0) rows[i].pen = int16_t(pen);
        DGListSetTabItemText(dialogId, SOSITypeList, i + 1, Column(ColPenNumber), SOSIPenText(rows[i].pen));
        DGListRedrawTabItem(dialogId, SOSITypeList, i + 1, Column(ColPenColour));
    }
}

bool SOSIDlg::DoModal(SOSIFileCls& source, SOSIOptionChoices& shown) {
    Clear();
    reader = &source;
    choices = &shown;
    rows = source.scan.types;
    MergeSOSINames(rows);
    SetIds();
    if (gsdgId == 0) return false;  // the base class has no layout of its own
    return RunModalDialogResource(int16_t(gsdgId), SOSIDlgProc, reinterpret_cast<DGUserData>(this)) == ItemOK;
}

void SOSIDlg::Init() {
    SetSOSILanguageImage(dialogId);
    DGSetDialogTitle(dialogId, Text(SOSITableBase, 1));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, CommonOK));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, CommonCancel));
    DGSetItemText(dialogId, ItemHeading, Text(SOSITableBase, TextHeading));
    DGSetItemText(dialogId, ItemFilterHeading, Text(SOSITableBase, TextFilterHeading));
    BindSOSIControl(dialogId, ItemPenControl, APIUserControl_Pen);
    FillTypeList();
    BindSOSIControl(dialogId, ItemDefaultPenControl, APIUserControl_Pen);
    DGSetItemValDouble(dialogId, ItemFilterDistance, reader->tolerance);
    DGSetItemValDouble(dialogId, ItemLineFilter, reader->assembly.lineFilterDistance);
    const int32_t pen = choices->defaultPen;
    DGSetItemValLong(dialogId, ItemDefaultPen, pen);
    DGSetItemValLong(dialogId, ItemDefaultPenControl, pen);
    DGRedrawItem(dialogId, SOSITypeList);
}

void SOSIDlg::StoreOnOK() {
    reader->tolerance = DGGetItemValDouble(dialogId, ItemFilterDistance);
    reader->assembly.lineFilterDistance = DGGetItemValDouble(dialogId, ItemLineFilter);
    reader->scan.types = rows;
    choices->defaultPen = int16_t(DGGetItemValLong(dialogId, ItemDefaultPen));
    RememberSOSITypeRows(*reader);
}

int16_t SOSIDlg::Click(int16_t item) {
    switch (item) {
        case ItemOK:
        case ItemCancel: return item;
        case ItemAllImport:
        case ItemAllImportText:
            allImport = allImport != 0 ? 0 : 1;
            for (int32_t i = 0; i < rows.GetCount(); ++i) {
                rows[i].import = allImport;
                UpdateRow(i);
            }
            return 0;
        case ItemAllPen:
        case ItemAllPenText:
            allOwnPen = allOwnPen != 0 ? 0 : 1;
            for (int32_t i = 0; i < rows.GetCount(); ++i)
                if (rows[i].import != 0) {
                    rows[i].ownPen = allOwnPen;
                    UpdateRow(i);
                }
            return 0;
        case ItemAllValue:
        case ItemAllValueText:
            allOwnValue = allOwnValue != 0 ? 0 : 1;
            for (int32_t i = 0; i < rows.GetCount(); ++i)
                if (rows[i].import != 0) {
                    rows[i].ownValue = allOwnValue;
                    UpdateRow(i);
                }
            return 0;
        case SOSITypeList: break;
        default: return 0;
    }
    const int32_t row = SelectedRow();
    if (row < 0) return 0;
    SOSIOType& r = rows[row];
    // A click turns the flag its cell shows (an icon the host could not draw decides nothing).
    if (SOSIClickInColumn(dialogId, Column(ColImport))) {
        r.import = r.import != 0 ? 0 : 1;
        UpdateRow(row);
    } else if (r.import != 0 && SOSIClickInColumn(dialogId, Column(ColOwnPen))) {
        r.ownPen = r.ownPen != 0 ? 0 : 1;
        UpdateRow(row);
        ShowPenEditors(row);
    } else if (r.import != 0 && SOSIClickInColumn(dialogId, Column(ColOwnValue))) {
        r.ownValue = r.ownValue != 0 ? 0 : 1;
        UpdateRow(row);
        ShowValueEditor(row);
    }
    return 0;
}

void SOSIDlg::SetPenOfSelected(int32_t pen) {
    DGSetItemValLong(dialogId, ItemPenControl, pen);
    const int32_t row = SelectedRow();
    if (row < 0) return;
    rows[row].pen = int16_t(pen);
    DGListSetTabItemText(dialogId, SOSITypeList, row + 1, Column(ColPenNumber), SOSIPenText(pen));
    DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, Column(ColPenColour));
}

void SOSIDlg::Change(int16_t item) {
    switch (item) {
        case ItemPenEdit: SetPenOfSelected(DGGetItemValLong(dialogId, ItemPenEdit)); break;
        case ItemValueEdit: {
            const int32_t row = SelectedRow();
            if (row < 0) break;
            rows[row].value = DGGetItemValDouble(dialogId, ItemValueEdit);
            DGListSetTabItemText(dialogId, SOSITypeList, row + 1, Column(ColValue), SOSIValueText(rows[row].value));
            break;
        }
        case SOSITypeList: {
            const int32_t row = SelectedRow();
            ShowPenEditors(row);
            ShowValueEditor(row);
            RowHook(row);
            break;
        }
        case ItemDefaultPen:
            DGSetItemValLong(dialogId, ItemDefaultPenControl, DGGetItemValLong(dialogId, ItemDefaultPen));
            ApplyDefaultPen();
            break;
        default: break;
    }
}

void SOSIDlg::Track(int16_t item) {
    if (item == ItemPenControl) {
        const int32_t pen = DGGetItemValLong(dialogId, ItemPenControl);
        DGSetItemValLong(dialogId, ItemPenEdit, pen);
        SetPenOfSelected(pen);
    } else if (item == ItemDefaultPenControl) {
        DGSetItemValLong(dialogId, ItemDefaultPen, DGGetItemValLong(dialogId, ItemDefaultPenControl));
        ApplyDefaultPen();
    }
}

void SOSIDlg::UserItemUpdate(int16_t item, DGMessageData data) {
    if (data == 0) return;
    const DGUserUpdateData& u = *reinterpret_cast<const DGUserUpdateData*>(data);
    if (item == ItemPicture) {
        DrawSettingsPicture(data);
    } else if (item == SOSITypeList && u.listTabField == Column(ColPenColour) && u.listRow >= 1 &&
               u.listRow <= rows.GetCount()) {
        DrawSOSIPenCell(u, rows[u.listRow - 1].pen);
    }
}

void SOSIDlg::Resize(int32_t dx, int32_t dy) {
    DGMoveItem(dialogId, ItemOK, dx, dy);
    DGMoveItem(dialogId, ItemCancel, dx, dy);
    DGGrowItem(dialogId, ItemPicture, 0, dy);
    DGMoveItem(dialogId, ItemImage, 0, dy);
    DGGrowItem(dialogId, ItemHeading, dx, 0);
    for (int16_t item = ItemAllPen; item <= ItemAllValueText; ++item) DGMoveItem(dialogId, item, dx, 0);
    DGGrowItem(dialogId, SOSITypeList, dx, dy);
    DGMoveItem(dialogId, ItemFilterHeading, 0, dy);
    DGGrowItem(dialogId, ItemFilterHeading, dx, 0);
    for (int16_t item = 19; item <= 22; ++item) DGMoveItem(dialogId, item, 0, dy);
    for (int16_t item = 23; item <= ItemDefaultPenControl; ++item) DGMoveItem(dialogId, item, dx, dy);
    for (int32_t c = ColName; c < columnCount && c < 8; ++c) {
        int32_t begin = 0, end = 0;
        if (!DGListGetTabFieldData(dialogId, SOSITypeList, Column(c), &begin, &end)) continue;
        if (c == ColName)
            DGListSetTabFieldData(dialogId, SOSITypeList, Column(c), begin, end + dx);
        else
            DGListSetTabFieldData(dialogId, SOSITypeList, Column(c), begin + dx, end + dx);
    }
    if (reader != nullptr && reader->importMode == SOSIModeObjects) DGRedrawItem(dialogId, DG_ALL_ITEMS);
}

// ------------------------------------------------------------------------------------------------- SOSIGDLDlg

SOSIGDLDlg::~SOSIGDLDlg() { SOSIGDLDlg::Clear(); }

void SOSIGDLDlg::AdjustSize() { DGSetDialogClientSize(dialogId, 555, 535); }

void SOSIGDLDlg::SetIds() {
    gsdgId = uint16_t(SOSIGDLDialogId);
    columnCount = 8;
    for (uint16_t c = 0; c < 8; ++c) columns[c] = uint16_t(c + 1);
}

// -------------------------------------------------------------------------------------------------- SOSI2DDlg

SOSI2DDlg::~SOSI2DDlg() { SOSI2DDlg::Clear(); }

void SOSI2DDlg::AdjustSize() { DGSetDialogClientSize(dialogId, 555, 540); }

void SOSI2DDlg::SetIds() {
    gsdgId = uint16_t(SOSI2DDialogId);
    columnCount = 8;
    for (uint16_t c = 0; c < 8; ++c) columns[c] = uint16_t(c + 1);
}

void SOSI2DDlg::Init() {
    SOSIDlg::Init();
    DGSetItemText(dialogId, ItemReferenceLabel, Text(SOSITableBase, TextReference));
    DGSetItemText(dialogId, ItemNameLabel, Text(SOSITableBase, TextName));
    QV_String reference, name;
    if (reader->output.namesFromSettings != 0) {
        reference = choices->worksheetReference;
        name = choices->worksheetName;
        // Back from the results dialog the user's pair stands; the proposal is not made again.
        if (reader->importAgain == 0) {
            // The proposal becomes the worksheet's id and name: a text the resources would not give is not
            // proposed, the built-in one is.
            if (reference.IsEmpty()) GetResString(reference, SOSITableBase + LanguageIndex, TextFirstReference);
            if (!IsResText(reference)) reference = QV_String(BuiltInFirstReference);
            if (name.IsEmpty()) GetResString(name, SOSITableBase + LanguageIndex, TextFirstName);
            if (!IsResText(name)) name = QV_String(BuiltInFirstName);
            ProposeFreeWorksheetReference(reference, name);
        }
    } else {
        API_DatabaseInfo current = {};
        if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &current) == NoError) {
            reference = FromUnits(current.ref, 32);
            name = FromUnits(current.name, 128);
        }
        DGDisableItem(dialogId, ItemReference);
        DGDisableItem(dialogId, ItemName);
    }
    DGSetItemText(dialogId, ItemReference, Uni(reference));
    DGSetItemText(dialogId, ItemName, Uni(name));
}

void SOSI2DDlg::StoreOnOK() {
    SOSIDlg::StoreOnOK();
    if (reader->output.namesFromSettings == 0) return;
    choices->worksheetReference = ItemString(dialogId, ItemReference);
    choices->worksheetName = ItemString(dialogId, ItemName);
}

int16_t SOSI2DDlg::Click(int16_t item) {
    if (item == ItemOK && reader->output.namesFromSettings != 0 &&
        ScanIndependentWorksheets(ItemString(dialogId, ItemReference), ItemString(dialogId, ItemName)) == 1) {
        QV_String question, add, overwrite, cancel;
        GetResString(question, SOSITableBase + LanguageIndex, TextWorksheetExists);
        GetResString(add, SOSITableBase + LanguageIndex, TextAdd);
        GetResString(overwrite, SOSITableBase + LanguageIndex, TextOverwrite);
        GetResString(cancel, CommonTableBase + LanguageIndex, CommonCancel);
        const int16_t answer =
            ShowAlert(AlertKind::Question, question, QV_String(), QV_String(), add, overwrite, cancel);
        if (answer == 3 || answer == 0) return 0;  // back to the dialog, to give another pair (or not asked)
        reader->output.addSwitch = answer == 1 ? 1 : 0;
    }
    return SOSIDlg::Click(item);
}

void SOSI2DDlg::Resize(int32_t dx, int32_t dy) {
    SOSIDlg::Resize(dx, dy);
    for (int16_t item = ItemReferenceLabel; item <= ItemName; ++item) {
        DGMoveItem(dialogId, item, 0, dy);
        DGGrowItem(dialogId, item, dx, 0);
    }
    DGRedrawItem(dialogId, DG_ALL_ITEMS);
}

// -------------------------------------------------------------------------------------------------- callback

int16_t SOSIDlgProc(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    if (userData == 0) return 0;
    SOSIDlg& dlg = *reinterpret_cast<SOSIDlg*>(userData);
    if (dlg.reader == nullptr) return 0;
    switch (message) {
        case DG_MSG_INIT:
            dlg.dialogId = dialogId;
            dlg.Init();
            dlg.AdjustSize();
            DGSetFocus(dialogId, DG_DIALOG_WINDOW);
            return 0;
        case DG_MSG_CLOSE:
            if (item == ItemOK) dlg.StoreOnOK();
            dlg.dialogId = 0;
            return item;
        case DG_MSG_CLICK: return dlg.Click(item);
        case DG_MSG_CHANGE: dlg.Change(item); return 0;
        case DG_MSG_TRACK: dlg.Track(item); return 0;
        case DG_MSG_RESIZE:
            if (messageData != 0) {
                const DGResizeMsgData& size = *reinterpret_cast<const DGResizeMsgData*>(messageData);
                if (size.hGrow != 0 || size.vGrow != 0) dlg.Resize(size.hGrow, size.vGrow);
            }
            return 0;
        case DG_MSG_UPDATE: dlg.UserItemUpdate(item, messageData); return 0;
        default: return 0;
    }
}
