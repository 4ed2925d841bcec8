#include "dialogs/tools/PointInputPalette.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/FiveDigitCodeItem.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "APISelectors.hpp"

PointInputPaletteState PointInputPaletteGlobalState = {0, 0, 1, {}};

namespace {
enum : int16_t {
    ItemCodeLabel = 1,
    ItemCode = 2,
    ItemCodeNumber = 3,
    ItemZeroLabel = 5,
    ItemHeight = 6,
    ItemLayer = 8,
    ItemPen = 10,
    ItemPenControl = 11,
    ItemDone = 12,
    ItemCommentLabel = 13,
    ItemComment = 14,
    ItemCount = 14,
};

// The palette's own identity in the host's registration of modeless windows.
const API_Guid PaletteGuid = {0x5c1e3a97u, 0x2b6d, 0x4f08, {0x9a, 0x41}, {0x7e, 0x03, 0xd5, 0x62, 0xb8, 0x1f}};

GS::UniString ToUni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

void SetLabel(int16_t dialogId, int16_t item, int32_t index) {
    QV_String text;
    DGSetItemText(dialogId, item, ToUni(GetResString(text, GeneralTableBase + LanguageIndex, index)));
}

void BindUserControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

void ResetState(PointInputPaletteState& state) {
    state.dialogId = 0;
    state.flags = 0;
    state.lastValidLayer = 1;
}

// The values as the items hold them, read whether the palette closes or the tool asks before a point.
void ReadItems(int16_t dialogId, ImportOptionsRec& points) {
    points.value = DGGetItemValDouble(dialogId, ItemHeight);
    PointCodeRecord code;
    FiveDigitCodeItem(dialogId, ItemCodeNumber, ItemCode, FiveDigitRead, code);
    points.code = code.description;
    points.codeNumber = int32_t(code.code);
    points.layer = int16_t(DGGetItemValLong(dialogId, ItemLayer));
    points.pen = int16_t(DGGetItemValLong(dialogId, ItemPen));
    points.text = FromUni(DGGetItemText(dialogId, ItemComment));
}

void ChangeLayer(int16_t dialogId, PointInputPaletteState& state) {
    const int16_t layer = int16_t(DGGetItemValLong(dialogId, ItemLayer));
    if (CheckToolLayer(layer)) {
        state.lastValidLayer = layer;
        state.values.layer = layer;
        DGRedrawItem(dialogId, ItemLayer);
    } else {
        DGSetItemValLong(dialogId, ItemLayer, state.lastValidLayer);
    }
}

void Close(int16_t dialogId, PointInputPaletteState& state) {
    ReadItems(dialogId, state.values);
    PointInputPalette::SetHelpIndices(dialogId);
    ACAPI_UnregisterModelessWindow(dialogId);
    ResetState(state);
}

void ShowItems(PointInputPaletteState& state) {
    const int16_t dialogId = int16_t(state.dialogId);
    const ImportOptionsRec& points = state.values;
    state.lastValidLayer = points.layer;
    BindUserControl(dialogId, ItemPenControl, APIUserControl_Pen);
    BindUserControl(dialogId, ItemLayer, APIUserControl_Layer);
    DGSetItemValDouble(dialogId, ItemHeight, points.value);
    DGSetItemText(dialogId, ItemCode, ToUni(points.code));
    DGSetItemValLong(dialogId, ItemPen, points.pen);
    DGSetItemValLong(dialogId, ItemPenControl, points.pen);
    DGSetItemValLong(dialogId, ItemLayer, points.layer);
    DGSetItemText(dialogId, ItemComment, ToUni(points.text));
    PointCodeRecord code;
    code.code = uint32_t(points.codeNumber);
    FiveDigitCodeItem(dialogId, ItemCodeNumber, ItemCode, FiveDigitShow, code);
    DGSetFocus(dialogId, ItemHeight);
}
}  // namespace

void ResetPointInputPaletteState() { ResetState(PointInputPaletteGlobalState); }

void OpenPointInputPalette(PointInputPaletteState& state, int32_t flags) {
    state.flags = flags;
    if (state.dialogId == 0 || !DGIsDialogOpen(int16_t(state.dialogId))) {
        const GSResModule module = ACAPI_GetOwnResModule();
        const int16_t id = DGModelessInit(module, PointInputPaletteId, module, PointInputPalette::Callback,
                                          reinterpret_cast<DGUserData>(&state));
        // INIT has kept the id; a palette that could not be built leaves the state closed.
        state.dialogId = uint16_t(id > 0 ? id : 0);
    }
    if (state.dialogId != 0) PointInputPalette::SetHelpIndices(int16_t(state.dialogId));
}

void ClosePointInputPalette(PointInputPaletteState& state) {
    if (state.dialogId != 0 && DGIsDialogOpen(int16_t(state.dialogId))) DGModelessClose(int16_t(state.dialogId));
    ResetState(state);
}

void StorePointInputPaletteValues(PointInputPaletteState& state, ImportOptionsRec& into) {
    if (state.dialogId != 0 && DGIsDialogOpen(int16_t(state.dialogId)))
        ReadItems(int16_t(state.dialogId), state.values);
    into = state.values;
}

void InitPointInputPalette(PointInputPaletteState& state, const ImportOptionsRec& shown) {
    state.values = shown;
    if (state.dialogId != 0 && DGIsDialogOpen(int16_t(state.dialogId))) ShowItems(state);
}

namespace PointInputPalette {

void SetTexts(int16_t dialogId) {
    SetLabel(dialogId, ItemZeroLabel, 47);
    SetLabel(dialogId, ItemCodeLabel, 24);
    SetLabel(dialogId, ItemDone, 232);
    SetLabel(dialogId, ItemCommentLabel, 210);
}

void SetHelpIndices(int16_t dialogId) {
    for (int16_t item = 1; item <= ItemCount; ++item) DGSetItemHelpIndex(dialogId, item, LanguageIndex + 1);
}

int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData) {
    if (userData == 0 || dialogId != PointInputPaletteId) return 0;
    PointInputPaletteState& state = *reinterpret_cast<PointInputPaletteState*>(userData);
    switch (message) {
        case DG_MSG_INIT:
            ACAPI_RegisterModelessWindow(dialogId, HostPaletteCallback, state.flags, PaletteGuid);
            state.dialogId = uint16_t(dialogId);
            DGSetDialogClientSize(dialogId, 430, 100);
            SetTexts(dialogId);
            ShowItems(state);
            return 0;
        case DG_MSG_CHANGE:
            if (item == ItemCodeNumber) {
                PointCodeRecord unused;
                FiveDigitCodeItem(dialogId, ItemCodeNumber, ItemCode, FiveDigitFilter, unused);
            } else if (item == ItemLayer) {
                ChangeLayer(dialogId, state);
            } else if (item == ItemPen) {
                DGSetItemValLong(dialogId, ItemPenControl, DGGetItemValLong(dialogId, ItemPen));
            }
            return 0;
        case DG_MSG_TRACK:
            if (item == ItemPenControl) DGSetItemValLong(dialogId, ItemPen, DGGetItemValLong(dialogId, ItemPenControl));
            return 0;
        case DG_MSG_CLICK:
            if (item == ItemDone) ACAPI_Interface(APIIo_CancelInputID);
            return item == DG_CLOSEBOX ? DG_CLOSEBOX : 0;
        case DG_MSG_CLOSE: Close(dialogId, state); return item;
        default: return 0;
    }
}

GSErrCode HostPaletteCallback(int32_t referenceID, int32_t messageID, intptr_t) {
    PointInputPaletteState& state = PointInputPaletteGlobalState;
    if (state.dialogId != 0 && referenceID == state.dialogId && messageID == APIPaletteMessage_Close)
        ClosePointInputPalette(state);
    return NoError;
}

}  // namespace PointInputPalette
