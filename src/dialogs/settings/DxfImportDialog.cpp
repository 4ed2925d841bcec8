#include "dialogs/settings/DxfImportDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {

constexpr int16_t ItemOK = 1;
constexpr int16_t ItemCancel = 2;
constexpr int32_t TitleEntry = 2;      // "DXF File import"
constexpr int32_t ZeroUnitText = 250;  // "The length of a DXF unit must be greater than 0."
constexpr int32_t RowHeight = 15;

// Where one layout has each item.
struct DxfLayout {
    SettingsLayout frame;
    int16_t layersLabel;
    int16_t pointsHead[2];
    int16_t constraintsHead[2];
    int16_t grouping, groupingPicture, list;
    int16_t unitLabel, unit, mm, inches;
    int16_t filterLabel, pointFilter, lineFilter;
    int16_t pointsLabel, codeLabel, codeText, code, pen, penControl;
    int16_t constraintsLabel, constraintPen, constraintPenControl, lineType;
};

// clang-format off
// The frame, then the items in the order of the record.
const DxfLayout First = {{DxfImportDialogId, true, int16_t(TitleEntry), 350, 563, 36, 0, nullptr, 0},
    3, {4, 5}, {6, 7}, 8, 9, 10, 12, 13, 14, 15, 16, 19, 21, 22, 24, 25, 26, 28, 29, 30, 33, 34, 35};
const DxfLayout Twin = {{DxfImportTwinDialogId, false, int16_t(TitleEntry), 560, 563, 35, 0, nullptr, 0},
    6, {7, 8}, {9, 10}, 11, 12, 13, 14, 15, 16, 17, 18, 20, 22, 23, 24, 25, 26, 28, 29, 30, 32, 33, 34};
// clang-format on

const DxfLayout& LayoutOf(int16_t dialogId) { return dialogId == DxfImportTwinDialogId ? Twin : First; }

void BindControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

void SetRowIcons(int16_t dialogId, const DxfLayout& l, const DXFFileLayer& layer, int32_t row) {
    DGListSetTabItemIcon(dialogId, l.list, row, 1,
                         DG::Icon(ACAPI_GetOwnResModule(), layer.import != 0 ? DxfIconOn : DxfIconOff));
    const int32_t second = layer.import == 0 ? DxfIconNotAvailable : layer.constraint != 0 ? DxfIconOn : DxfIconOff;
    DGListSetTabItemIcon(dialogId, l.list, row, 2, DG::Icon(ACAPI_GetOwnResModule(), second));
}

void FillLayerList(int16_t dialogId, const DxfLayout& l, const DXFFileCls& reader) {
    DGListDisableDraw(dialogId, l.list);
    DGListDeleteItem(dialogId, l.list, DG_ALL_ITEMS);
    DGListSetItemHeight(dialogId, l.list, RowHeight);
    DGListSetTabFieldCount(dialogId, l.list, 3);
    DGListSetTabFieldData(dialogId, l.list, 1, 1, 31);
    DGListSetTabFieldData(dialogId, l.list, 2, 32, 62);
    DGListSetTabFieldData(dialogId, l.list, 3, 63, 230);
    for (size_t i = 0; i < reader.layers.size(); ++i) {
        const int32_t row = int32_t(i + 1);
        DGListInsertItem(dialogId, l.list, DG_LIST_BOTTOM);
        SetRowIcons(dialogId, l, reader.layers[i], row);
        DGListSetTabItemText(dialogId, l.list, row, 3, Uni(reader.layers[i].name));
    }
    DGListEnableDraw(dialogId, l.list);
}

bool HasReader(const DxfImportBlock& block) { return block.reader != nullptr; }

void Init(int16_t dialogId, DxfImportBlock& block) {
    const DxfLayout& l = LayoutOf(dialogId);
    DXFFileCls& r = *block.reader;
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, l.frame, block.head.mode);
    const SettingsLabel labels[] = {{l.layersLabel, GeneralTableBase, 48},     {l.unitLabel, GeneralTableBase, 49},
                                    {l.inches, GeneralTableBase, 50},          {l.filterLabel, GeneralTableBase, 21},
                                    {l.pointsLabel, GeneralTableBase, 22},     {l.codeLabel, GeneralTableBase, 24},
                                    {l.constraintsLabel, GeneralTableBase, 53}};
    SetSettingsLabels(dialogId, labels);
    BindControl(dialogId, l.penControl, APIUserControl_Pen);
    BindControl(dialogId, l.lineType, APIUserControl_LineTypeAlt);
    BindControl(dialogId, l.constraintPenControl, APIUserControl_Pen);
    FillLayerList(dialogId, l, r);
    DGSelectRadio(dialogId, r.metric != 0 ? l.mm : l.inches);
    DGSetCheckBoxState(dialogId, l.grouping, r.grouping != 0);
    DGSetItemValDouble(dialogId, l.unit, r.unitFactor);
    DGSetItemValDouble(dialogId, l.pointFilter, r.tolerance);
    DGSetItemValDouble(dialogId, l.lineFilter, r.constraintFilter);
    DGSetItemText(dialogId, l.codeText, Uni(r.options.code));
    PointCodeRecord code;
    code.code = uint32_t(r.options.codeNumber < 0 ? 0 : r.options.codeNumber);
    FiveDigitCodeItem(dialogId, l.code, 0, FiveDigitShow, code);
    DGSetItemValLong(dialogId, l.pen, r.options.pen);
    DGSetItemValLong(dialogId, l.penControl, r.options.pen);
    DGSetItemValLong(dialogId, l.constraintPen, r.constraintPen);
    DGSetItemValLong(dialogId, l.constraintPenControl, r.constraintPen);
    DGSetItemValLong(dialogId, l.lineType, r.constraintLineType);
    FinishSettingsLayoutInit(dialogId, l.frame, block.head);
}

void Store(int16_t dialogId, DxfImportBlock& block) {
    const DxfLayout& l = LayoutOf(dialogId);
    DXFFileCls& r = *block.reader;
    r.unitFactor = DGGetItemValDouble(dialogId, l.unit);
    r.tolerance = DGGetItemValDouble(dialogId, l.pointFilter);
    r.constraintFilter = DGGetItemValDouble(dialogId, l.lineFilter);
    r.grouping = DGGetCheckBoxState(dialogId, l.grouping) ? 1 : 0;
    r.metric = DGGetCheckedRadio(dialogId, 1) == l.mm ? 1 : 0;
    PointCodeRecord code;
    FiveDigitCodeItem(dialogId, l.code, l.codeText, FiveDigitRead, code);
    r.options.code = code.description;
    r.options.codeNumber = int32_t(code.code);
    r.options.pen = int16_t(DGGetItemValLong(dialogId, l.pen));
    r.constraintLineType = int16_t(DGGetItemValLong(dialogId, l.lineType));
    r.constraintPen = int16_t(DGGetItemValLong(dialogId, l.constraintPen));
}

// A head click sets the whole column to the toggle, which then flips: all on, then all off.
void ClickColumnHead(int16_t dialogId, DxfImportBlock& block, bool points) {
    const DxfLayout& l = LayoutOf(dialogId);
    uint8_t& toggle = points ? block.pointsToggle : block.constraintsToggle;
    for (DXFFileLayer& layer : block.reader->layers) (points ? layer.import : layer.constraint) = toggle;
    FillLayerList(dialogId, l, *block.reader);
    toggle = toggle != 0 ? 0 : 1;
}

// A click turns the row's flag, which its icon shows; an icon the host could not draw (its resources not to be
// had) decides nothing.
void ClickRow(int16_t dialogId, DxfImportBlock& block) {
    const DxfLayout& l = LayoutOf(dialogId);
    const int32_t row = DGListGetSelected(dialogId, l.list);
    if (row < 1 || size_t(row) > block.reader->layers.size()) return;
    DXFFileLayer& layer = block.reader->layers[size_t(row - 1)];
    DGMousePosData mouse = {};
    DGGetMousePosition(dialogId, &mouse);
    int32_t begin = 0, end = 0;
    if (DGListGetTabFieldData(dialogId, l.list, 1, &begin, &end) && mouse.h >= begin && mouse.h <= end) {
        layer.import = layer.import != 0 ? 0 : 1;
    } else if (layer.import != 0 && DGListGetTabFieldData(dialogId, l.list, 2, &begin, &end) && mouse.h >= begin &&
               mouse.h <= end) {
        layer.constraint = layer.constraint != 0 ? 0 : 1;
    }
    SetRowIcons(dialogId, l, layer, row);
    DGListDeselectItem(dialogId, l.list, row);
    DGRedrawItem(dialogId, l.list);
    DGSetFocus(dialogId, DG_DIALOG_WINDOW);
}

int16_t Click(int16_t dialogId, int16_t item, DxfImportBlock& block) {
    const DxfLayout& l = LayoutOf(dialogId);
    if (item == ItemOK) {
        // Every coordinate would collapse onto the origin.
        if (!(DGGetItemValDouble(dialogId, l.unit) > 0.0)) {
            ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{GeneralTableBase, ZeroUnitText}));
            return 0;
        }
        return ItemOK;
    }
    if (item == ItemCancel) {
        block.head.layoutSwitch = 0;
        return ItemCancel;
    }
    if (item == l.frame.layoutButton) {
        Store(dialogId, block);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return ItemCancel;
    }
    if (item == l.pointsHead[0] || item == l.pointsHead[1])
        ClickColumnHead(dialogId, block, true);
    else if (item == l.constraintsHead[0] || item == l.constraintsHead[1])
        ClickColumnHead(dialogId, block, false);
    else if (item == l.groupingPicture)
        DGSetCheckBoxState(dialogId, l.grouping, !DGGetCheckBoxState(dialogId, l.grouping));
    else if (item == l.list)
        ClickRow(dialogId, block);
    return 0;
}

void Change(int16_t dialogId, int16_t item, DxfImportBlock&) {
    const DxfLayout& l = LayoutOf(dialogId);
    PointCodeRecord code;
    if (item == l.code)
        FiveDigitCodeItem(dialogId, l.code, 0, FiveDigitFilter, code);
    else if (item == l.pen)
        DGSetItemValLong(dialogId, l.penControl, DGGetItemValLong(dialogId, l.pen));
    else if (item == l.constraintPen)
        DGSetItemValLong(dialogId, l.constraintPenControl, DGGetItemValLong(dialogId, l.constraintPen));
}

void Track(int16_t dialogId, int16_t item, DxfImportBlock&) {
    const DxfLayout& l = LayoutOf(dialogId);
    if (item == l.penControl)
        DGSetItemValLong(dialogId, l.pen, DGGetItemValLong(dialogId, l.penControl));
    else if (item == l.constraintPenControl)
        DGSetItemValLong(dialogId, l.constraintPen, DGGetItemValLong(dialogId, l.constraintPenControl));
}

void Close(int16_t dialogId, int16_t item, DxfImportBlock& block) {
    if (item == ItemOK) Store(dialogId, block);
    block.head.dialogId = 0;
}

void Update(int16_t dialogId, int16_t item, DxfImportBlock&, DGMessageData update) {
    if (dialogId == DxfImportTwinDialogId && item == SettingsItemPicture) DrawSettingsPicture(update);
}

using DxfDialog = ModalDialog<DxfImportBlock>;
const DxfDialog::Handlers Handlers = {HasReader, Init, Click, Change, Close, Track, Update};

bool Open(DxfImportBlock& block, DXFFileCls& reader, int16_t resourceId, DGDialCallBack callback) {
    block.reader = &reader;
    block.pointsToggle = block.constraintsToggle = 1;
    block.head.layoutSwitch = 0;
    return DxfDialog::Run(resourceId, callback, block) == ItemOK;
}

}  // namespace

bool OpenDxfImportDialog(DxfImportBlock& block, DXFFileCls& reader) {
    return Open(block, reader, DxfImportDialogId, DxfImportDialogCallback);
}

bool OpenDxfImportDialogTwin(DxfImportBlock& block, DXFFileCls& reader) {
    return Open(block, reader, DxfImportTwinDialogId, DxfImportDialogCallbackTwin);
}

bool RunDxfImportDialogs(DXFFileCls& reader) {
    DxfImportBlock block;
    return RunDialogLayouts([&](int32_t layout, bool) {
               const bool ok =
                   layout == 0 ? OpenDxfImportDialog(block, reader) : OpenDxfImportDialogTwin(block, reader);
               return LayoutClosed(ConfirmedIf(ok), block.head.layoutSwitch != 0);
           }) == DialogAnswer::Confirmed;
}

int16_t DxfImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData) {
    return DxfDialog::Dispatch(DxfImportDialogId, Handlers, message, dialogId, item, userData, messageData);
}

int16_t DxfImportDialogCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t messageData) {
    return DxfDialog::Dispatch(DxfImportTwinDialogId, Handlers, message, dialogId, item, userData, messageData);
}
