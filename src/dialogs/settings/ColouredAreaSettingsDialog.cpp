#include "dialogs/settings/ColouredAreaSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Encoding.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<PaintSettings>;
using Block = ColouredAreaSettingsBlock;

const SettingsRecordAccess<PaintSettings>& Access = TableRecordAccess<PaintSettings>;

constexpr auto FirstItems = TableFieldItems<PaintSettings, 0>();
constexpr auto SecondItems = TableFieldItems<PaintSettings, 1>();

constexpr int16_t TitleIndex = 12;
const SettingsLayout First = {32562, true, TitleIndex, 640, 439, 36, 16, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32511, false, TitleIndex, 750, 425, 37, 19, SecondItems.data(), SecondItems.size()};

// The row editors and the list of the first layout; the second layout's are one higher.
enum : int16_t {
    MaterialEditor = 26,
    FillEditor = 27,
    Pen1Edit = 28,
    Pen1Control = 29,
    Pen2Edit = 30,
    Pen2Control = 31,
    Pen3Edit = 32,
    Pen3Control = 33,
    ValueEdit = 34,
    RowList = 35,
};
constexpr int16_t ColumnNumber = 1, ColumnMaterial = 3, ColumnMaterialEditor = 4, ColumnFillEditor = 6;
constexpr int16_t ColumnPen1 = 8, ColumnPen2 = 11, ColumnPen3 = 14, ColumnValue = 16, ColumnMarker = 17;
constexpr int32_t MarkedIcon = 32713, UnmarkedIcon = 32714, NoIcon = 65532;
struct Column {
    int32_t begin, end;
    int16_t justification, truncation;
    bool drawn;
};
constexpr Column Columns[17] = {
    {5, 30, 256, 0, false},   {36, 58, 256, 0, true},   {59, 149, 0, 4096, false}, {165, 185, 256, 0, true},
    {186, 232, 256, 0, true}, {233, 253, 256, 0, true}, {259, 281, 256, 0, true},  {282, 314, 0, 0, false},
    {315, 335, 256, 0, true}, {341, 363, 256, 0, true}, {364, 396, 0, 0, false},   {397, 417, 256, 0, true},
    {423, 445, 256, 0, true}, {446, 478, 0, 0, false},  {479, 499, 256, 0, true},  {504, 569, 0, 0, false},
    {574, 594, 0, 0, false},
};

int16_t At(const Block& b, int16_t firstLayoutItem) {
    return b.frame.layout->first ? firstLayoutItem : int16_t(firstLayoutItem + 1);
}

GS::UniString Number(int32_t n) {
    QV_String s;
    s.FromLong(n);
    return Uni(s);
}

// As the host writes numbers, with the two decimals of the value's edit.
GS::UniString Value(double v) { return DGDoubleToString(v, 2); }

GS::UniString MaterialName(int32_t index) {
    API_Attribute a = {};
    a.header.typeID = API_MaterialID;
    a.header.index = index;
    if (ACAPI_Attribute_Get(&a) != NoError) return GS::UniString();
    return GS::UniString(a.header.name);
}

bool ListMode(const Block& b) { return b.state->areas != nullptr; }

// Rows above the limit are the new ones: they carry no marker.
bool AboveLimit(const Block& b, int32_t row) {
    return b.state->earlierCount != nullptr && row > *b.state->earlierCount;
}

void SetRowIcon(int16_t dialogId, const Block& b, int32_t row, int32_t icon) {
    DGListSetTabItemIcon(dialogId, At(b, RowList), row, ColumnMarker, DG::Icon(ACAPI_GetOwnResModule(), icon));
}

void RefreshRow(int16_t dialogId, const Block& b, int32_t row) {
    const int16_t list = At(b, RowList);
    const PaintAttrs& r = b.rows[row - 1];
    GS::UniString number = Number(row);
    if (AboveLimit(b, row)) number += GS::UniString("*");
    DGListSetTabItemText(dialogId, list, row, ColumnNumber, number);
    DGListSetTabItemText(dialogId, list, row, ColumnMaterial, MaterialName(r.material));
    DGListSetTabItemText(dialogId, list, row, ColumnPen1, Number(r.pen1));
    DGListSetTabItemText(dialogId, list, row, ColumnPen2, Number(r.pen2));
    DGListSetTabItemText(dialogId, list, row, ColumnPen3, Number(r.pen3));
    DGListSetTabItemText(dialogId, list, row, ColumnValue, Value(r.value));
}

void HideEditors(int16_t dialogId, const Block& b) {
    for (int16_t item = MaterialEditor; item <= ValueEdit; ++item) DGHideItem(dialogId, At(b, item));
}

void BindEditors(int16_t dialogId, const Block& b) {
    const std::pair<int16_t, uint32_t> bindings[] = {{MaterialEditor, APIUserControl_Material},
                                                     {FillEditor, APIUserControl_Fill},
                                                     {Pen1Control, APIUserControl_Pen},
                                                     {Pen2Control, APIUserControl_Pen},
                                                     {Pen3Control, APIUserControl_PenWithZero}};
    for (const auto& [item, type] : bindings) {
        API_UserControlBinding binding = {type, dialogId, At(b, item)};
        ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
    }
}

void FillRowList(int16_t dialogId, Block& b) {
    const int16_t list = At(b, RowList);
    HideEditors(dialogId, b);
    BindEditors(dialogId, b);
    DGListSetTabFieldCount(dialogId, list, 17);
    for (int16_t c = 0; c < 17; ++c) {
        const Column& col = Columns[c];
        DGListSetTabFieldData(dialogId, list, int16_t(c + 1), col.begin, col.end, col.justification, col.truncation,
                              false, true);
        if (col.drawn) DGListSetTabFieldOwnerDrawFlag(dialogId, list, int16_t(c + 1), true);
    }
    DGListSetItemHeight(dialogId, list, 22);
    for (int32_t n = 1; n <= b.rows.GetCount(); ++n) {
        DGListInsertItem(dialogId, list, DG_LIST_BOTTOM);
        RefreshRow(dialogId, b, n);
        if (!AboveLimit(b, n)) {
            const bool marked = n - 1 < b.state->markers.GetCount() && b.state->markers[n - 1] != 0;
            SetRowIcon(dialogId, b, n, marked ? MarkedIcon : NoIcon);
            // After a layout switch a row the user unmarked stays unmarked.
            if (b.carried != 0 && !marked) {
                DGListViewSetItemUserData(dialogId, list, n, 2);
                SetRowIcon(dialogId, b, n, UnmarkedIcon);
            }
        }
    }
    if (b.state->earlierCount != nullptr) {
        DGListSelectItem(dialogId, list, *b.state->earlierCount + 1);
        DGListDeselectItem(dialogId, list, *b.state->earlierCount + 1);
    }
}

// The rows back into the owner's areas, and the last row's material and value as the next area's defaults.
void StoreRows(Block& b) {
    QV_List<PaintInfo>& areas = *b.state->areas;
    for (int32_t i = 0; i < b.rows.GetCount() && i < areas.GetCount(); ++i) {
        const PaintAttrs& r = b.rows[i];
        areas[i].mat = uint16_t(r.material);
        areas[i].retino = r.fill;
        areas[i].penna = r.pen1;
        areas[i].penna_retino = r.pen2;
        areas[i].sfondo_retino = r.pen3;
        areas[i].dislivello = r.value;
    }
    if (!areas.IsEmpty()) {
        b.state->lastMaterial = areas[areas.GetCount() - 1].mat;
        b.state->lastValue = areas[areas.GetCount() - 1].dislivello;
    }
}

// Every row is marked but one whose marker the user turned off.
void StoreMarkers(int16_t dialogId, Block& b) {
    const int16_t list = At(b, RowList);
    b.state->markers.Clear();
    for (int32_t n = 1; n <= b.rows.GetCount(); ++n)
        b.state->markers.Insert(uint8_t(DGListViewGetItemUserData(dialogId, list, n) == 2 ? 0 : 1));
}

void ReadItems(int16_t dialogId, Block& b) {
    Frame::ReadValues(dialogId, b.frame);
    if (!ListMode(b)) return;
    StoreRows(b);
    StoreMarkers(dialogId, b);
}

bool Usable(const Block& b) { return b.state != nullptr && Frame::Usable(b.frame); }

void Init(int16_t dialogId, Block& b) {
    b.frame.head.dialogId = uint16_t(dialogId);
    const SettingsLayout& layout = *b.frame.layout;
    InitSettingsLayout(dialogId, layout, b.frame.head.mode);
    DGSetItemText(dialogId, layout.first ? 17 : 16, GS::UniString("ID:"));
    Frame::ShowValues(dialogId, b.frame);
    b.rows.Clear();
    if (ListMode(b)) {
        const QV_List<PaintInfo>& areas = *b.state->areas;
        for (int32_t i = 0; i < areas.GetCount(); ++i)
            b.rows.Insert(PaintAttrs{i + 1, areas[i].mat, areas[i].retino, areas[i].penna, areas[i].penna_retino,
                                     areas[i].sfondo_retino, areas[i].dislivello});
        FillRowList(dialogId, b);
    } else {
        HideEditors(dialogId, b);
        DGDisableItem(dialogId, At(b, RowList));
    }
    FinishSettingsLayoutInit(dialogId, layout, b.frame.head);
}

void ShowRowEditors(int16_t dialogId, Block& b, int32_t row) {
    const int16_t list = At(b, RowList);
    const PaintAttrs& r = b.rows[row - 1];
    DGSetItemValLong(dialogId, At(b, MaterialEditor), r.material);
    DGSetItemValLong(dialogId, At(b, FillEditor), r.fill);
    DGSetItemValLong(dialogId, At(b, Pen1Edit), r.pen1);
    DGSetItemValLong(dialogId, At(b, Pen1Control), r.pen1);
    DGSetItemValLong(dialogId, At(b, Pen2Edit), r.pen2);
    DGSetItemValLong(dialogId, At(b, Pen2Control), r.pen2);
    DGSetItemValLong(dialogId, At(b, Pen3Edit), r.pen3);
    DGSetItemValLong(dialogId, At(b, Pen3Control), r.pen3);
    DGSetItemValDouble(dialogId, At(b, ValueEdit), r.value);
    const std::pair<int16_t, int16_t> places[] = {{MaterialEditor, ColumnMaterialEditor},
                                                  {FillEditor, ColumnFillEditor},
                                                  {Pen1Edit, ColumnPen1},
                                                  {Pen1Control, ColumnPen1 + 1},
                                                  {Pen2Edit, ColumnPen2},
                                                  {Pen2Control, ColumnPen2 + 1},
                                                  {Pen3Edit, ColumnPen3},
                                                  {Pen3Control, ColumnPen3 + 1},
                                                  {ValueEdit, ColumnValue}};
    for (const auto& [item, column] : places) DGListSetDialItemOnTabField(dialogId, list, column, At(b, item));
}

// A pen edit or control of the selected row: both show the pen, the row takes it.
void PenChanged(int16_t dialogId, Block& b, int16_t edit, int16_t control, bool fromControl, int32_t row) {
    const int32_t pen = DGGetItemValLong(dialogId, At(b, fromControl ? control : edit));
    DGSetItemValLong(dialogId, At(b, fromControl ? edit : control), pen);
    if (row <= 0) return;
    PaintAttrs& r = b.rows[row - 1];
    if (edit == Pen1Edit) r.pen1 = uint16_t(pen);
    if (edit == Pen2Edit) r.pen2 = uint16_t(pen);
    if (edit == Pen3Edit) r.pen3 = uint16_t(pen);
    RefreshRow(dialogId, b, row);
}

void RowEdit(int16_t dialogId, int16_t item, Block& b) {
    if (!ListMode(b)) return;
    const int16_t list = At(b, RowList);
    const int32_t row = DGListGetSelected(dialogId, list);
    const int16_t own = b.frame.layout->first ? item : int16_t(item - 1);
    if (own == RowList) {
        if (row > 0) ShowRowEditors(dialogId, b, row);
        return;
    }
    for (const auto& [edit, control] : {std::make_pair(Pen1Edit, Pen1Control), std::make_pair(Pen2Edit, Pen2Control),
                                        std::make_pair(Pen3Edit, Pen3Control)})
        if (own == edit || own == control) return PenChanged(dialogId, b, edit, control, own == control, row);
    if (row <= 0) return;
    PaintAttrs& r = b.rows[row - 1];
    if (own == MaterialEditor) r.material = DGGetItemValLong(dialogId, item);
    if (own == FillEditor) r.fill = int16_t(DGGetItemValLong(dialogId, item));
    if (own == ValueEdit) r.value = DGGetItemValDouble(dialogId, item);
    RefreshRow(dialogId, b, row);
}

void Change(int16_t dialogId, int16_t item, Block& b) {
    RowEdit(dialogId, item, b);
    Frame::Change(dialogId, item, b.frame);
}

void Track(int16_t dialogId, int16_t item, Block& b) {
    RowEdit(dialogId, item, b);
    Frame::Track(dialogId, item, b.frame);
}

int16_t Click(int16_t dialogId, int16_t item, Block& b) {
    const int16_t list = At(b, RowList);
    if (item == list && ListMode(b)) {
        DGMousePosData mouse = {};
        DGGetMousePosition(dialogId, &mouse);
        const int32_t row = DGListGetSelected(dialogId, list);
        const Column& marker = Columns[ColumnMarker - 1];
        if (row > 0 && mouse.h >= marker.begin && mouse.h <= marker.end && !AboveLimit(b, row)) {
            // 0: never clicked (marked), 1: marked by a click, 2: unmarked.
            const intptr_t state = DGListViewGetItemUserData(dialogId, list, row) == 1 ? 2 : 1;
            DGListViewSetItemUserData(dialogId, list, row, state);
            SetRowIcon(dialogId, b, row, state == 1 ? MarkedIcon : UnmarkedIcon);
            DGListRedrawTabItem(dialogId, list, row, ColumnMarker);
        }
        return 0;
    }
    if (item != b.frame.layout->layoutButton) return Frame::Click(dialogId, item, b.frame);
    return SwitchWrappedLayout(dialogId, b, ReadItems);
}

void Close(int16_t dialogId, int16_t item, Block& b) { CloseWrapped(dialogId, item, b, ReadItems); }

// A cell's rectangle of `width` x `height` in the middle of the cell.
DG::Rect Centred(const DGUserUpdateData& u, int32_t width, int32_t height) {
    const int32_t left = (u.left + u.right - width) / 2, top = (u.top + u.bottom - height) / 2;
    return DG::Rect{left, top, left + width, top + height};
}

// The owner-drawn cells: the material's colour (black while the host tells none), the fill's sample and the
// pens' colours; a row without a background pen shows an empty cell there.
void DrawRowCell(const DGUserUpdateData& u, const Block& b) {
    if (u.listRow < 1 || u.listRow > b.rows.GetCount()) return;
    const PaintAttrs& r = b.rows[u.listRow - 1];
    UserItemDrawing drawing{&u, DrawingKindListView};
    switch (u.listTabField) {
        case 2: {
            DG::Rect rect = Centred(u, 16, 16);
            DrawColourSwatchListCell(drawing, RGBColour{0.0, 0.0, 0.0}, &rect);
            break;
        }
        case 5: {
            const DG::Rect rect = Centred(u, 40, 16);
            DrawAttributeSampleItem(drawing, r.fill, API_FilltypeID, &rect);
            break;
        }
        case 7:
        case 10:
        case 13: {
            const int32_t pen = u.listTabField == 7 ? r.pen1 : u.listTabField == 10 ? r.pen2 : r.pen3;
            const DG::Rect rect = Centred(u, 16, 16);
            if (pen > 0) DrawAttributeSampleItem(drawing, pen, API_PenID, &rect);
            break;
        }
        default: break;
    }
}

void Update(int16_t dialogId, int16_t item, Block& b, DGMessageData data) {
    if (item == At(b, RowList) && data != 0) {
        DrawRowCell(*reinterpret_cast<const DGUserUpdateData*>(data), b);
        return;
    }
    Frame::Update(dialogId, item, b.frame, data);
}

constexpr ModalDialog<Block>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

}  // namespace

namespace ColouredAreaSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, messageData);
}
}  // namespace ColouredAreaSettingsDlg

DialogAnswer OpenColouredAreaSettingsDialog(PaintDialogState& state, SettingsMode mode) {
    // The rows are edited on a copy: Cancel, in either layout, hands back the owner's rows untouched.
    QV_List<PaintInfo>* owners = state.areas;
    QV_List<PaintInfo> copy;
    if (owners != nullptr) {
        copy = *owners;
        state.areas = &copy;
    }
    const QV_List<uint8_t> markers = state.markers;
    Block block;
    const DialogAnswer answer =
        RunWrappedLayouts(block, state, First, Second, Access, ColouredAreaSettingsDlg::Callback,
                          ColouredAreaSettingsDlg::CallbackTwin, mode, &block.carried);
    const bool ok = answer == DialogAnswer::Confirmed;
    state.areas = owners;
    if (ok && owners != nullptr) *owners = copy;
    if (!ok) state.markers = markers;
    return answer;
}
