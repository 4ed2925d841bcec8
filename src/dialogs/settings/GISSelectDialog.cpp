#include "dialogs/settings/GISSelectDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"

#include "fileio/GISObjects.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

#include <vector>

namespace {

enum : int16_t {
    NewRadio = 3,
    SortSelected = 4,
    SortName = 5,
    SortType = 6,
    FieldList = 7,
    SelectAll = 8,
    ExistingRadio = 9,
    ExistingPopup = 10,
    ParamList = 11,
    MappingRadio = 12,
    RealPopup = 13,
    IntegerPopup = 14,
    TextPopup = 15,
    MappingPopup = 16,
    MappingList = 17,
};

constexpr int32_t IconChecked = 32713;
constexpr int32_t IconUnchecked = 32714;
constexpr int32_t IconText = 32698;
constexpr int32_t IconInteger = 32699;
constexpr int32_t IconDecimals = 32700;
constexpr int32_t IconLength = 32701;
constexpr int32_t IconAngle = 32702;
constexpr int32_t IconOther = 32697;

DG::Icon Icon(int32_t id) { return DG::Icon(ACAPI_GetOwnResModule(), id); }

int32_t FieldIcon(int16_t kind) { return kind == 1 ? IconText : kind == 0 ? IconInteger : IconDecimals; }
int32_t ParamIcon(int32_t type) {
    switch (type) {
        case GISParamString: return IconText;
        case GISParamInteger: return IconInteger;
        case GISParamReal: return IconDecimals;
        case GISParamLength: return IconLength;
        case GISParamAngle: return IconAngle;
        default: return IconOther;
    }
}

QV_List<DBFFieldData>& Fields(GISSelectBlock& block) { return block.data->fields; }

void FillFieldRows(int16_t dialogId, GISSelectBlock& block) {
    DGListDeleteItem(dialogId, FieldList, DG_ALL_ITEMS);
    for (const DBFFieldData& field : Fields(block)) {
        DGListInsertItem(dialogId, FieldList, DG_LIST_BOTTOM);
        const int32_t row = DGListGetItemCount(dialogId, FieldList);
        DGListSetTabItemIcon(dialogId, FieldList, row, 1, Icon(field.selected ? IconChecked : IconUnchecked));
        DGListSetTabItemText(dialogId, FieldList, row, 2, Uni(field.name));
        DGListSetTabItemIcon(dialogId, FieldList, row, 3, Icon(FieldIcon(field.kind)));
    }
}

void InitFieldList(int16_t dialogId, GISSelectBlock& block) {
    DGListSetItemHeight(dialogId, FieldList, 21);
    DGListSetTabFieldCount(dialogId, FieldList, 3);
    DGListSetTabFieldData(dialogId, FieldList, 1, 1, 20);
    DGListSetTabFieldData(dialogId, FieldList, 2, 71, 190);
    DGListSetTabFieldData(dialogId, FieldList, 3, 201, 230);
    FillFieldRows(dialogId, block);
}

bool Covered(const SHPParamData& row, const QV_List<DBFFieldData>& fields) {
    for (const DBFFieldData& f : fields)
        if (f.name.Compare(row.description) == 0 && FieldFitsParam(f.kind, row.type)) return true;
    return false;
}

// Rows of a type no field can feed are red in the host's list style 20, the others black in style 4; in the
// parameter list a parameter that a field of the shapefile fills by name is blue.
void ColourParamRow(int16_t dialogId, int16_t list, int32_t n, const SHPParamData& row, bool covered) {
    constexpr int16_t StyleOther = 20, StylePlain = 4;
    const bool other = ParamIcon(row.type) == IconOther;
    const DGColorRec colour = other ? DGColorRec{65535, 0, 0} : covered ? DGColorRec{0, 0, 65535} : DGColorRec{0, 0, 0};
    DGListSetItemColor(dialogId, list, n, colour);
    DGListSetItemStyle(dialogId, list, n, other ? StyleOther : StylePlain);
}

void FillParamList(int16_t dialogId, GISSelectBlock& block) {
    DGListDeleteItem(dialogId, ParamList, DG_ALL_ITEMS);
    DGListSetItemHeight(dialogId, ParamList, 21);
    DGListSetTabFieldCount(dialogId, ParamList, 2);
    DGListSetTabFieldData(dialogId, ParamList, 1, 5, 240);
    DGListSetTabFieldData(dialogId, ParamList, 2, 241, 280);
    for (const SHPParamData& row : GISParamTable) {
        DGListInsertItem(dialogId, ParamList, DG_LIST_BOTTOM);
        const int32_t n = DGListGetItemCount(dialogId, ParamList);
        DGListSetTabItemText(dialogId, ParamList, n, 1, Uni(row.description));
        DGListSetTabItemIcon(dialogId, ParamList, n, 2, Icon(ParamIcon(row.type)));
        ColourParamRow(dialogId, ParamList, n, row, Covered(row, Fields(block)));
    }
}

void FillMappingList(int16_t dialogId) {
    DGListDeleteItem(dialogId, MappingList, DG_ALL_ITEMS);
    DGListSetItemHeight(dialogId, MappingList, 21);
    DGListSetTabFieldCount(dialogId, MappingList, 3);
    DGListSetTabFieldData(dialogId, MappingList, 1, 5, 220);
    DGListSetTabFieldData(dialogId, MappingList, 2, 221, 260);
    DGListSetTabFieldData(dialogId, MappingList, 3, 261, 410);
    for (const SHPParamData& row : GISParamTable) {
        DGListInsertItem(dialogId, MappingList, DG_LIST_BOTTOM);
        const int32_t n = DGListGetItemCount(dialogId, MappingList);
        DGListSetTabItemText(dialogId, MappingList, n, 1, Uni(row.description));
        DGListSetTabItemIcon(dialogId, MappingList, n, 2, Icon(ParamIcon(row.type)));
        ColourParamRow(dialogId, MappingList, n, row, false);
        if (ParamIcon(row.type) != IconOther)
            DGListSetTabItemText(dialogId, MappingList, n, 3,
                                 row.field.IsEmpty() ? GS::UniString("----") : Uni(row.field));
    }
}

void FillForObject(int16_t dialogId, GISSelectBlock& block, int16_t popup) {
    const int32_t chosen = DGPopUpGetSelected(dialogId, popup) - 1;
    const QV_List<QV_String>& all = block.data->options.allObjects;
    if (chosen >= 0 && chosen < all.GetCount())
        FillGISParamTable(all[chosen]);
    else
        GISParamTable.Clear();
}

void ShowChoice(int16_t dialogId, int16_t radio) {
    for (int16_t item : {ParamList, FieldList, MappingList}) DGListDeselectItem(dialogId, item, 0);
    for (int16_t item = SortSelected; item <= SelectAll; ++item) DGSetItemEnable(dialogId, item, radio == NewRadio);
    for (int16_t item : {ExistingPopup, ParamList}) DGSetItemEnable(dialogId, item, radio == ExistingRadio);
    for (int16_t item : {MappingPopup, MappingList}) DGSetItemEnable(dialogId, item, radio == MappingRadio);
}

// Mode 1 ticked first, mode 2 by name, mode 3 text, integer, decimals; each group keeps its order.
void SortFieldList(int16_t dialogId, GISSelectBlock& block, int mode) {
    QV_List<DBFFieldData>& fields = Fields(block);
    std::vector<DBFFieldData> copy(fields.begin(), fields.end());
    auto rank = [mode](const DBFFieldData& f) {
        if (mode == 1) return f.selected ? 0 : 1;
        if (mode == 3) return f.kind == 1 ? 0 : f.kind == 0 ? 1 : 2;
        return 0;
    };
    std::stable_sort(copy.begin(), copy.end(), [&](const DBFFieldData& a, const DBFFieldData& b) {
        if (mode == 2) return a.name.Compare(b.name) < 0;
        return rank(a) < rank(b);
    });
    for (int32_t i = 0; i < fields.GetCount(); ++i) fields[i] = copy[size_t(i)];
    FillFieldRows(dialogId, block);
}

void SelectAllFields(int16_t dialogId, GISSelectBlock& block) {
    DGSetCheckBoxState(dialogId, SelectAll, false);
    QV_List<DBFFieldData>& fields = Fields(block);
    for (int32_t i = 0; i < fields.GetCount(); ++i) {
        fields[i].selected = 1;
        DGListSetTabItemIcon(dialogId, FieldList, i + 1, 1, Icon(IconChecked));
    }
}

// The mapping pop-up of the selected row's type over its third column, showing the row's field.
void EditMappingRow(int16_t dialogId) {
    const int32_t row = DGListGetSelected(dialogId, MappingList);
    const SHPParamData* param = GISParamTable.Get(row - 1);
    if (param == nullptr) return;
    const int32_t icon = ParamIcon(param->type);
    const int16_t popup = icon == IconText ? TextPopup
        : icon == IconInteger              ? IntegerPopup
        : icon == IconDecimals             ? RealPopup
                                           : 0;
    DGListSetDialItemOnTabField(dialogId, MappingList, 3, popup);
    if (popup == 0) return;
    for (int16_t i = 1; i <= DGPopUpGetItemCount(dialogId, popup); ++i)
        if (FromUni(DGPopUpGetItemText(dialogId, popup, i))
                .Compare(param->field.IsEmpty() ? QV_String("----") : param->field) == 0)
            DGPopUpSelectItem(dialogId, popup, i);
}

void MapField(int16_t dialogId, int16_t popup) {
    const int32_t row = DGListGetSelected(dialogId, MappingList);
    SHPParamData* param = GISParamTable.Get(row - 1);
    if (param == nullptr) return;
    const GS::UniString text = DGPopUpGetItemText(dialogId, popup, DGPopUpGetSelected(dialogId, popup));
    param->field = FromUni(text);
    if (param->field.Compare(QV_String("----")) == 0) param->field = QV_String();
    DGListSetTabItemText(dialogId, MappingList, row, 3, text);
}

void Init(int16_t dialogId, GISSelectBlock& block) {
    block.dialogId = dialogId;
    GISImportOptions& o = block.data->options;
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 28));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, NewRadio, Text(GeneralTableBase, 188));
    DGSetItemText(dialogId, SortSelected, Text(GeneralTableBase, 184));
    DGSetItemText(dialogId, SortName, Text(GeneralTableBase, 185));
    DGSetItemText(dialogId, SortType, Text(GeneralTableBase, 186));
    DGSetItemText(dialogId, SelectAll, Text(GeneralTableBase, 187));
    DGSetItemText(dialogId, ExistingRadio, Text(GeneralTableBase, 189));
    DGSetItemText(dialogId, MappingRadio, Text(GeneralTableBase, 190));
    for (int16_t item : {RealPopup, IntegerPopup, TextPopup}) DGHideItem(dialogId, item);
    const int16_t radio = o.objectMode == 1 ? NewRadio : o.objectMode == 2 ? ExistingRadio : MappingRadio;
    DGSelectRadio(dialogId, radio);
    if (o.allObjects.IsEmpty())
        GISParamTable.Clear();
    else
        FillGISParamTable(o.allObjects[0]);
    for (int16_t popup : {ExistingPopup, MappingPopup}) {
        DGPopUpDeleteItem(dialogId, popup, DG_ALL_ITEMS);
        for (const QV_String& name : o.allObjects) {
            DGPopUpInsertItem(dialogId, popup, DG_POPUP_BOTTOM);
            DGPopUpSetItemText(dialogId, popup, DGPopUpGetItemCount(dialogId, popup), Uni(name));
        }
    }
    for (int16_t popup : {RealPopup, IntegerPopup, TextPopup}) {
        DGPopUpDeleteItem(dialogId, popup, DG_ALL_ITEMS);
        DGPopUpInsertItem(dialogId, popup, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, popup, 1, GS::UniString("----"));
    }
    for (const DBFFieldData& field : Fields(block)) {
        const int16_t popup = field.kind < 0 ? RealPopup
            : field.kind == 0                ? IntegerPopup
            : field.kind == 1                ? TextPopup
                                             : 0;
        if (popup == 0) continue;
        DGPopUpInsertItem(dialogId, popup, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, popup, DGPopUpGetItemCount(dialogId, popup), Uni(field.name));
    }
    InitFieldList(dialogId, block);
    FillParamList(dialogId, block);
    FillMappingList(dialogId);
    ShowChoice(dialogId, radio);
    DGSetDialogClientSize(dialogId, 1020, 477);
}

int16_t Click(int16_t dialogId, int16_t item, GISSelectBlock& block) {
    switch (item) {
        case 1: {
            // An existing object must be there to be chosen: no index -1 leaves the dialog.
            const int16_t checked = DGGetCheckedRadio(dialogId, 1);
            const int16_t popup = checked == ExistingRadio ? ExistingPopup : checked == MappingRadio ? MappingPopup : 0;
            return popup == 0 || DGPopUpGetSelected(dialogId, popup) >= 1 ? 1 : 0;
        }
        case 2: return 2;
        case SortSelected: SortFieldList(dialogId, block, 1); return 0;
        case SortName: SortFieldList(dialogId, block, 2); return 0;
        case SortType: SortFieldList(dialogId, block, 3); return 0;
        case SelectAll: SelectAllFields(dialogId, block); return 0;
        case NewRadio:
        case ExistingRadio:
        case MappingRadio: ShowChoice(dialogId, item); return 0;
        case FieldList: {
            const int32_t row = DGListGetSelected(dialogId, FieldList);
            DBFFieldData* field = Fields(block).Get(row - 1);
            DGMousePosData mouse = {};
            DGGetMousePosition(dialogId, &mouse);
            int32_t begin = 0, end = 0;
            if (field == nullptr || !DGListGetTabFieldData(dialogId, FieldList, 1, &begin, &end) || mouse.h < begin ||
                mouse.h > end)
                return 0;
            // The field's flag, which its icon shows, turns (an icon the host could not draw decides nothing).
            const bool wasOn = field->selected != 0;
            field->selected = wasOn ? 0 : 1;
            DGListSetTabItemIcon(dialogId, FieldList, row, 1, Icon(wasOn ? IconUnchecked : IconChecked));
            DGListDeselectItem(dialogId, FieldList, row);
            DGListRedrawTabItem(dialogId, FieldList, row, 1);
            return 0;
        }
        default: return 0;
    }
}

void Change(int16_t dialogId, int16_t item, GISSelectBlock& block) {
    switch (item) {
        case SelectAll:
            if (DGGetCheckBoxState(dialogId, SelectAll)) SelectAllFields(dialogId, block);
            break;
        case NewRadio:
        case ExistingRadio:
        case MappingRadio:
            if (DGGetCheckedRadio(dialogId, 1) == item) ShowChoice(dialogId, item);
            break;
        case ExistingPopup:
            FillForObject(dialogId, block, ExistingPopup);
            FillParamList(dialogId, block);
            break;
        case MappingPopup:
            FillForObject(dialogId, block, MappingPopup);
            FillMappingList(dialogId);
            break;
        case MappingList: EditMappingRow(dialogId); break;
        case RealPopup:
        case IntegerPopup:
        case TextPopup: MapField(dialogId, item); break;
        default: break;
    }
}

void Close(int16_t dialogId, int16_t item, GISSelectBlock& block) {
    if (item == 1) {
        GISImportOptions& o = block.data->options;
        const int16_t checked = DGGetCheckedRadio(dialogId, 1);
        if (checked == NewRadio) {
            o.objectMode = 1;
            o.chosenObject = 0;
        } else if (checked == ExistingRadio) {
            o.objectMode = 2;
            o.chosenObject = DGPopUpGetSelected(dialogId, ExistingPopup) - 1;
        } else {
            o.objectMode = 3;
            o.chosenObject = DGPopUpGetSelected(dialogId, MappingPopup) - 1;
        }
    }
    block.dialogId = 0;
}

bool Usable(const GISSelectBlock& block) { return block.data != nullptr; }

using SelectDialog = ModalDialog<GISSelectBlock>;
const SelectDialog::Handlers Handlers = {Usable, Init, Click, Change, Close, nullptr, nullptr};

}  // namespace

bool OpenGisObjectSelectionDialog(GISSelectBlock& block, ShapeImportData& data) {
    block.data = &data;
    block.dialogId = 0;
    return SelectDialog::Run(GISSelectDialogId, GISSelectCallback, block) == 1;
}

int16_t GISSelectCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData) {
    return SelectDialog::Dispatch(GISSelectDialogId, Handlers, message, dialogId, item, userData, messageData);
}
