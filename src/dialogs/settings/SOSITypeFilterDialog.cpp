#include "dialogs/settings/SOSITypeFilterDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/SOSITypeListCells.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSITypeRowList.hpp"

#include "APIDefs.hpp"
#include "UC.hpp"

#include <utility>

#include <initializer_list>

namespace {

using namespace SOSIOptionItems;

enum : int16_t {
    ItemLineTypeControl = 8,
    ItemAllSecond = 28,
    ItemAllSecondText = 29,
    ItemGrouping = 30,
    ItemGroupingPicture = 31,
    ItemDefaultLineType = 32,
    ItemOptionsHeading = 33,
    ItemShowAll = 34,
    ItemSkipHeights = 35,
};

enum : int16_t {
    ColImport = 1,
    ColLine = 2,
    ColName = 3,
    ColOwnPen = 4,
    ColPenColour = 5,
    ColPenNumber = 6,
    ColPenControl = 7,
    ColOwnLineType = 8,
    ColLineType = 9,
    ColLineTypeControl = 10,
    ColOwnValue = 11,
    ColValue = 12,
};

struct TabSpan {
    int32_t begin, end;
};
const TabSpan Spans[12] = {{6, 26},    {37, 57},   {68, 208},  {219, 239}, {245, 267}, {268, 300},
                           {301, 321}, {332, 352}, {358, 390}, {391, 411}, {417, 437}, {443, 503}};

constexpr int32_t CommonOK = 64, CommonCancel = 5;

using Block = SOSITypeFilterDlg;

QV_List<SOSIOType>& Shown(Block& b) { return b.showAll != 0 ? b.allRows : b.shortRows; }

// The row's copy in the other list, or null for a row that is no terrain feature.
SOSIOType* Twin(Block& b, int32_t row) {
    SOSIOType& r = Shown(b)[row];
    QV_List<SOSIOType>& other = b.showAll != 0 ? b.shortRows : b.allRows;
    if (r.terrainFeature == 0 || r.index < 0 || r.index >= other.GetCount()) return nullptr;
    return &other[r.index];
}

template <typename Edit>
void EditRow(Block& b, int32_t row, Edit edit) {
    edit(Shown(b)[row]);
    if (SOSIOType* twin = Twin(b, row)) edit(*twin);
}

// Every row of both lists: the short rows are copies, so each takes the edit itself.
template <typename Edit>
void EditAllRows(Block& b, Edit edit) {
    for (SOSIOType& r : b.allRows) edit(r);
    for (SOSIOType& r : b.shortRows) edit(r);
}

int32_t SelectedRow(int16_t dialogId, Block& b) {
    const int32_t selected = DGListGetSelected(dialogId, SOSITypeList);
    return selected >= 1 && selected <= Shown(b).GetCount() ? selected - 1 : -1;
}

void FillSOSITypeList(int16_t dialogId, Block& b) {
    for (int16_t item : std::initializer_list<int16_t>{ItemPenControl, ItemPenEdit, ItemLineTypeControl, ItemValueEdit})
        DGHideItem(dialogId, item);
    DGSetItemFont(dialogId, ItemPenEdit, DG_FONT_SMALL);
    DGSetItemFont(dialogId, ItemValueEdit, DG_FONT_SMALL);
    UC257SetStyle(dialogId, ItemPenControl, 19);
    DGListDisableDraw(dialogId, SOSITypeList);
    DGListDeleteItem(dialogId, SOSITypeList, DG_ALL_ITEMS);
    DGListSetItemHeight(dialogId, SOSITypeList, SOSIListRowHeight);
    DGListSetTabFieldCount(dialogId, SOSITypeList, 12);
    for (int16_t c = 1; c <= 12; ++c) {
        DGListSetTabFieldData(dialogId, SOSITypeList, c, Spans[c - 1].begin, Spans[c - 1].end);
        const bool drawn = c == ColPenColour || c == ColPenControl || c == ColLineType || c == ColLineTypeControl;
        DGListSetTabFieldOwnerDrawFlag(dialogId, SOSITypeList, c, drawn);
    }
    QV_List<SOSIOType>& rows = Shown(b);
    for (int32_t i = 0; i < rows.GetCount(); ++i) {
        DGListInsertItem(dialogId, SOSITypeList, DG_LIST_BOTTOM);
        DGListSetTabItemText(dialogId, SOSITypeList, i + 1, ColName, SOSINameText(rows[i].name));
        DGListSetTabItemText(dialogId, SOSITypeList, i + 1, ColPenNumber, SOSIPenText(rows[i].pen));
        DGListSetTabItemText(dialogId, SOSITypeList, i + 1, ColValue, SOSIValueText(rows[i].value));
        SetSOSIRowColour(dialogId, i + 1, rows[i], b.showAll != 0, b.showAll != 0);
        SOSITypeFilterDlg::PlaceRowEditors(b, i, SOSITypeList);
    }
    DGListEnableDraw(dialogId, SOSITypeList);
}

void RefreshAllRows(int16_t dialogId, Block& b) {
    for (int32_t i = 0; i < Shown(b).GetCount(); ++i) SOSITypeFilterDlg::PlaceRowEditors(b, i, SOSITypeList);
    DGRedrawItem(dialogId, SOSITypeList);
}

void SetPenOfSelected(int16_t dialogId, Block& b, int32_t pen) {
    DGSetItemValLong(dialogId, ItemPenControl, pen);
    const int32_t row = SelectedRow(dialogId, b);
    if (row < 0) return;
    EditRow(b, row, [pen](SOSIOType& r) { r.pen = int16_t(pen); });
    DGListSetTabItemText(dialogId, SOSITypeList, row + 1, ColPenNumber, SOSIPenText(pen));
    DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, ColPenColour);
}

void ClickRow(int16_t dialogId, Block& b) {
    const int32_t row = SelectedRow(dialogId, b);
    if (row < 0) return;
    const bool imported = Shown(b)[row].import != 0;
    if (SOSIClickInColumn(dialogId, ColImport))
        EditRow(b, row, [](SOSIOType& r) { r.import = r.import != 0 ? 0 : 1; });
    else if (imported && SOSIClickInColumn(dialogId, ColLine))
        EditRow(b, row, [](SOSIOType& r) { r.secondSwitch[0] = r.secondSwitch[0] != 0 ? 0 : 1; });
    else if (imported && SOSIClickInColumn(dialogId, ColOwnPen))
        EditRow(b, row, [](SOSIOType& r) { r.ownPen = r.ownPen != 0 ? 0 : 1; });
    else if (imported && SOSIClickInColumn(dialogId, ColOwnLineType))
        EditRow(b, row, [](SOSIOType& r) { r.secondSwitch[1] = r.secondSwitch[1] != 0 ? 0 : 1; });
    else if (imported && SOSIClickInColumn(dialogId, ColOwnValue))
        EditRow(b, row, [](SOSIOType& r) { r.ownValue = r.ownValue != 0 ? 0 : 1; });
    else
        return;
    SOSITypeFilterDlg::PlaceRowEditors(b, row, SOSITypeList);
}

int16_t Click(int16_t dialogId, int16_t item, Block& b) {
    switch (item) {
        case ItemOK:
        case ItemCancel: return item;
        case ItemAllImport:
        case ItemAllImportText: {
            const uint8_t on = b.allImport = b.allImport != 0 ? 0 : 1;
            EditAllRows(b, [on](SOSIOType& r) { r.import = on; });
            break;
        }
        case ItemAllPen:
        case ItemAllPenText: {
            const uint8_t on = b.allOwnPen = b.allOwnPen != 0 ? 0 : 1;
            EditAllRows(b, [on](SOSIOType& r) { r.ownPen = r.import != 0 ? on : r.ownPen; });
            break;
        }
        case ItemAllValue:
        case ItemAllValueText: {
            const uint8_t on = b.allOwnValue = b.allOwnValue != 0 ? 0 : 1;
            EditAllRows(b, [on](SOSIOType& r) { r.ownValue = r.import != 0 ? on : r.ownValue; });
            break;
        }
        case ItemAllSecond:
        case ItemAllSecondText: {
            const uint8_t on = b.allSecond = b.allSecond != 0 ? 0 : 1;
            EditAllRows(b, [on](SOSIOType& r) { r.secondSwitch[1] = r.import != 0 ? on : r.secondSwitch[1]; });
            break;
        }
        case ItemGroupingPicture:
            DGSetCheckBoxState(dialogId, ItemGrouping, !DGGetCheckBoxState(dialogId, ItemGrouping));
            return 0;
        case SOSITypeList: ClickRow(dialogId, b); return 0;
        default: return 0;
    }
    RefreshAllRows(dialogId, b);
    return 0;
}

void Change(int16_t dialogId, int16_t item, Block& b) {
    switch (item) {
        case ItemPenEdit: SetPenOfSelected(dialogId, b, DGGetItemValLong(dialogId, ItemPenEdit)); break;
        case ItemValueEdit: {
            const int32_t row = SelectedRow(dialogId, b);
            if (row < 0) break;
            const double value = DGGetItemValDouble(dialogId, ItemValueEdit);
            EditRow(b, row, [value](SOSIOType& r) { r.value = value; });
            DGListSetTabItemText(dialogId, SOSITypeList, row + 1, ColValue, SOSIValueText(value));
            break;
        }
        case ItemDefaultPen:
            DGSetItemValLong(dialogId, ItemDefaultPenControl, DGGetItemValLong(dialogId, ItemDefaultPen));
            SOSITypeFilterDlg::ApplyDefaultPen(b);
            break;
        case ItemShowAll:
            b.showAll = DGGetCheckBoxState(dialogId, ItemShowAll) ? 1 : 0;
            FillSOSITypeList(dialogId, b);
            DGRedrawItem(dialogId, SOSITypeList);
            break;
        case SOSITypeList: {
            const int32_t row = SelectedRow(dialogId, b);
            if (row >= 0)
                SOSITypeFilterDlg::PlaceRowEditors(b, row, SOSITypeList);
            else
                RefreshAllRows(dialogId, b);
            break;
        }
        default: break;
    }
}

void Track(int16_t dialogId, int16_t item, Block& b) {
    switch (item) {
        case ItemPenControl: {
            const int32_t pen = DGGetItemValLong(dialogId, ItemPenControl);
            DGSetItemValLong(dialogId, ItemPenEdit, pen);
            SetPenOfSelected(dialogId, b, pen);
            break;
        }
        case ItemLineTypeControl: {
            const int32_t row = SelectedRow(dialogId, b);
            if (row < 0) break;
            const int16_t lineType = int16_t(DGGetItemValLong(dialogId, ItemLineTypeControl));
            EditRow(b, row, [lineType](SOSIOType& r) { r.secondPen = lineType; });
            DGListRedrawTabItem(dialogId, SOSITypeList, row + 1, ColLineType);
            break;
        }
        case ItemDefaultPenControl:
            DGSetItemValLong(dialogId, ItemDefaultPen, DGGetItemValLong(dialogId, ItemDefaultPenControl));
            SOSITypeFilterDlg::ApplyDefaultPen(b);
            break;
        case ItemDefaultLineType: {
            const int16_t lineType = int16_t(DGGetItemValLong(dialogId, ItemDefaultLineType));
            EditAllRows(b, [lineType](SOSIOType& r) {
                if (r.secondSwitch[1] == 0) r.secondPen = lineType;
            });
            for (int32_t i = 0; i < Shown(b).GetCount(); ++i)
                DGListRedrawTabItem(dialogId, SOSITypeList, i + 1, ColLineType);
            break;
        }
        default: break;
    }
}

void Close(int16_t dialogId, int16_t item, Block& b) {
    b.dialogId = 0;
    if (item != ItemOK) return;
    SOSIFileCls& r = *b.reader;
    r.tolerance = DGGetItemValDouble(dialogId, ItemFilterDistance);
    r.assembly.lineFilterDistance = DGGetItemValDouble(dialogId, ItemLineFilter);
    r.output.dialogSwitch = DGGetCheckBoxState(dialogId, ItemGrouping) ? 1 : 0;
    r.showAllTypes = b.showAll;
    r.assembly.skipLowHeights = DGGetCheckBoxState(dialogId, ItemSkipHeights) ? 1 : 0;
    b.choices->defaultPen = int16_t(DGGetItemValLong(dialogId, ItemDefaultPen));
    b.choices->defaultLineType = int16_t(DGGetItemValLong(dialogId, ItemDefaultLineType));
    // Types the user no longer sees are not imported behind the user's back.
    if (b.showAll == 0)
        for (SOSIOType& row : b.allRows)
            if (row.terrainFeature == 0) row.import = 0;
    r.scan.types = b.allRows;
    for (SOSIOType& row : r.scan.types) row.index = -1;  // the links belong to the dialog's two lists
    RememberSOSITypeRows(r);
}

void Resize(int16_t dialogId, Block& b, int32_t dx, int32_t dy) {
    DGMoveItem(dialogId, ItemOK, dx, dy);
    DGMoveItem(dialogId, ItemCancel, dx, dy);
    DGGrowItem(dialogId, ItemPicture, 0, dy);
    DGMoveItem(dialogId, 5, 0, dy);
    DGGrowItem(dialogId, ItemHeading, dx, 0);
    for (int16_t item = ItemAllPen; item <= ItemAllValueText; ++item) DGMoveItem(dialogId, item, dx, 0);
    DGGrowItem(dialogId, SOSITypeList, dx, dy);
    DGMoveItem(dialogId, ItemFilterHeading, 0, dy);
    DGGrowItem(dialogId, ItemFilterHeading, dx, 0);
    for (int16_t item = 19; item <= 22; ++item) DGMoveItem(dialogId, item, 0, dy);
    for (int16_t item = 23; item <= ItemDefaultPenControl; ++item) DGMoveItem(dialogId, item, dx, dy);
    for (int16_t item = ItemAllSecond; item <= ItemGroupingPicture; ++item) DGMoveItem(dialogId, item, dx, 0);
    DGMoveItem(dialogId, ItemDefaultLineType, dx, dy);
    DGMoveItem(dialogId, ItemOptionsHeading, 0, dy);
    DGGrowItem(dialogId, ItemOptionsHeading, dx, 0);
    DGMoveItem(dialogId, ItemShowAll, 0, dy);
    DGMoveItem(dialogId, ItemSkipHeights, 0, dy);
    for (int16_t c = ColName; c <= ColValue; ++c) {
        int32_t begin = 0, end = 0;
        if (!DGListGetTabFieldData(dialogId, SOSITypeList, c, &begin, &end)) continue;
        DGListSetTabFieldData(dialogId, SOSITypeList, c, c == ColName ? begin : begin + dx, end + dx);
    }
    (void)b;
    DGRedrawItem(dialogId, DG_ALL_ITEMS);
}

void Update(int16_t dialogId, int16_t item, Block& b, DGMessageData data) {
    (void)dialogId;
    if (data == 0) return;
    const DGUserUpdateData& u = *reinterpret_cast<const DGUserUpdateData*>(data);
    if (item == ItemPicture) {
        DrawSettingsPicture(data);
        return;
    }
    if (item != SOSITypeList || u.listRow < 1 || u.listRow > Shown(b).GetCount()) return;
    const SOSIOType& r = Shown(b)[u.listRow - 1];
    if (u.listTabField == ColPenColour) DrawSOSIPenCell(u, r.pen);
    if (u.listTabField == ColLineType) DrawSOSILineTypeCell(u, r.secondPen);
}

}  // namespace

void SOSITypeFilterDlg::PlaceRowEditors(SOSITypeFilterDlg& b, int32_t row, int16_t listItem) {
    const int16_t d = b.dialogId;
    QV_List<SOSIOType>& rows = Shown(b);
    if (row < 0 || row >= rows.GetCount()) return;
    const SOSIOType& r = rows[row];
    const bool imported = r.import != 0;
    const std::pair<int16_t, int32_t> icons[] = {
        {ColImport, imported ? SOSIIconSet : SOSIIconNotImported},
        {ColLine, imported ? SOSIFlagIcon(r.secondSwitch[0]) : SOSIIconNone},
        {ColOwnPen, imported ? SOSIFlagIcon(r.ownPen) : SOSIIconNone},
        {ColOwnLineType, imported && r.secondSwitch[0] != 0 ? SOSIFlagIcon(r.secondSwitch[1]) : SOSIIconNone},
        {ColOwnValue, imported ? SOSIFlagIcon(r.ownValue) : SOSIIconNone}};
    for (const auto& [column, icon] : icons) {
        DGListSetTabItemIcon(d, listItem, row + 1, column, DG::Icon(ACAPI_GetOwnResModule(), icon));
        DGListRedrawTabItem(d, listItem, row + 1, column);
    }
    // The editors sit on the selected row only.
    const int32_t selected = SelectedRow(d, b);
    if (selected >= 0 && selected != row) return;
    const bool here = selected == row;
    if (here && imported && r.ownPen != 0) {
        DGSetItemValLong(d, ItemPenEdit, r.pen);
        DGSetItemValLong(d, ItemPenControl, r.pen);
        DGListSetDialItemOnTabField(d, listItem, ColPenNumber, ItemPenEdit);
        DGListSetDialItemOnTabField(d, listItem, ColPenControl, ItemPenControl);
    } else {
        DGListSetDialItemOnTabField(d, listItem, ColPenNumber, 0);
        DGListSetDialItemOnTabField(d, listItem, ColPenControl, 0);
    }
    if (here && imported && r.ownValue != 0) {
        DGSetItemValDouble(d, ItemValueEdit, r.value);
        DGListSetDialItemOnTabField(d, listItem, ColValue, ItemValueEdit);
    } else {
        DGListSetDialItemOnTabField(d, listItem, ColValue, 0);
    }
    if (here && imported && r.secondSwitch[0] != 0 && r.secondSwitch[1] != 0) {
        DGSetItemValLong(d, ItemLineTypeControl, r.secondPen);
        DGListSetDialItemOnTabField(d, listItem, ColLineTypeControl, ItemLineTypeControl);
    } else {
        DGListSetDialItemOnTabField(d, listItem, ColLineTypeControl, 0);
    }
}

void SOSITypeFilterDlg::ApplyDefaultPen(SOSITypeFilterDlg& b) {
    QV_List<SOSIOType>& rows = Shown(b);
    if (rows.GetCount() == 0) return;
    const int16_t pen = int16_t(DGGetItemValLong(b.dialogId, ItemDefaultPen));
    for (int32_t i = 0; i < rows.GetCount(); ++i) {
        if (rows[i].ownPen == 0) EditRow(b, i, [pen](SOSIOType& r) { r.pen = pen; });
        DGListSetTabItemText(b.dialogId, SOSITypeList, i + 1, ColPenNumber, SOSIPenText(rows[i].pen));
        DGListRedrawTabItem(b.dialogId, SOSITypeList, i + 1, ColPenColour);
    }
}

void InitSOSIObjectTypeFilterDialog(int16_t dialogId, SOSITypeFilterDlg& b) {
    b.dialogId = dialogId;
    const SOSIFileCls& r = *b.reader;
    SetSOSILanguageImage(dialogId);
    DGSetDialogTitle(dialogId, Text(SOSITableBase, 1));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, CommonOK));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, CommonCancel));
    const std::pair<int16_t, int32_t> labels[] = {
        {ItemHeading, 5}, {ItemFilterHeading, 11}, {ItemOptionsHeading, 30}, {ItemShowAll, 31}, {ItemSkipHeights, 32}};
    for (const auto& [item, entry] : labels) DGSetItemText(dialogId, item, Text(SOSITableBase, entry));
    BindSOSIControl(dialogId, ItemPenControl, APIUserControl_Pen);
    BindSOSIControl(dialogId, ItemLineTypeControl, APIUserControl_LineType);
    FillSOSITypeList(dialogId, b);
    BindSOSIControl(dialogId, ItemDefaultPenControl, APIUserControl_Pen);
    BindSOSIControl(dialogId, ItemDefaultLineType, APIUserControl_LineType);
    DGSetItemValDouble(dialogId, ItemFilterDistance, r.tolerance);
    DGSetItemValDouble(dialogId, ItemLineFilter, r.assembly.lineFilterDistance);
    const int32_t pen = b.choices->defaultPen;
    DGSetItemValLong(dialogId, ItemDefaultPen, pen);
    DGSetItemValLong(dialogId, ItemDefaultPenControl, pen);
    DGSetCheckBoxState(dialogId, ItemGrouping, r.output.dialogSwitch != 0);
    DGSetItemValLong(dialogId, ItemDefaultLineType, b.choices->defaultLineType);
    DGSetCheckBoxState(dialogId, ItemShowAll, b.showAll != 0);
    DGSetCheckBoxState(dialogId, ItemSkipHeights, r.assembly.skipLowHeights != 0);
    DGRedrawItem(dialogId, SOSITypeList);
}

int16_t SOSITypeFilterProc(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                           DGMessageData messageData) {
    if (userData == 0 || dialogId != SOSITypeFilterDialogId) return 0;
    Block& b = *reinterpret_cast<Block*>(userData);
    if (b.reader == nullptr) return 0;
    switch (message) {
        case DG_MSG_INIT:
            InitSOSIObjectTypeFilterDialog(dialogId, b);
            DGSetDialogClientSize(dialogId, 675, 595);
            DGSetFocus(dialogId, DG_DIALOG_WINDOW);
            return 0;
        case DG_MSG_CLOSE: Close(dialogId, item, b); return item;
        case DG_MSG_CLICK: return Click(dialogId, item, b);
        case DG_MSG_CHANGE: Change(dialogId, item, b); return 0;
        case DG_MSG_TRACK: Track(dialogId, item, b); return 0;
        case DG_MSG_RESIZE:
            if (messageData != 0) {
                const DGResizeMsgData& size = *reinterpret_cast<const DGResizeMsgData*>(messageData);
                if (size.hGrow != 0 || size.vGrow != 0) Resize(dialogId, b, size.hGrow, size.vGrow);
            }
            return 0;
        case DG_MSG_UPDATE: Update(dialogId, item, b, messageData); return 0;
        default: return 0;
    }
}

bool OpenSOSIObjectTypeFilterDialog(SOSITypeFilterDlg& b, SOSIFileCls& reader, SOSIOptionChoices& shown) {
    b.reader = nullptr;
    b.allRows.Clear();
    b.shortRows.Clear();
    b.allImport = b.allOwnPen = b.allOwnValue = b.allSecond = 0;
    b.reader = &reader;
    b.choices = &shown;
    b.showAll = reader.showAllTypes != 0 ? 1 : 0;
    b.allRows = reader.scan.types;
    MergeSOSINames(b.allRows);
    for (int32_t i = 0; i < b.allRows.GetCount(); ++i) {
        SOSIOType& row = b.allRows[i];
        row.index = -1;
        if (row.terrainFeature == 0) continue;
        SOSIOType copy = row;
        copy.index = i;
        b.shortRows.Insert(copy);
        row.index = b.shortRows.GetCount() - 1;
    }
    const bool ok =
        RunModalDialogResource(SOSITypeFilterDialogId, SOSITypeFilterProc, reinterpret_cast<DGUserData>(&b)) == ItemOK;
    for (SOSIOType& row : b.allRows) row.Reset();
    for (SOSIOType& row : b.shortRows) row.Reset();
    b.allRows.Clear();
    b.shortRows.Clear();
    b.reader = nullptr;
    return ok;
}
