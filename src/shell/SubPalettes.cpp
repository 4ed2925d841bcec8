#include "shell/SubPalettes.hpp"

#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "shell/ShellState.hpp"
#include "shell/SubPaletteButtons.hpp"
#include "foundation/QV_ToolsPlt.hpp"
#include "terrain/ToolInput.hpp"

#include "DG.hpp"

#include <string>

namespace {
const SubPaletteLayout Layouts[SubPaletteCount] = {
    {32401, 12, 71}, {32407, 13, 71}, {32575, 13, 71}, {32402, 9, 71},
    {32403, 10, 71}, {32404, 6, 71},  {32405, 2, 2},   {32406, 3, 64},
};

void SetClosed(SubPaletteRecord& record) {
    record.dialogId = 0;
    record.registrationFlags = 0;
    record.enabled = 1;
    record.activeItem = 0;
}

// The palette the sub-palettes open beside (and its dialog id), and what it does when one of them closes.
QV_ToolsPlt* AnchorPalette = nullptr;
int16_t PaletteDialogId = 0;
void (*OnSubPaletteClosed)() = nullptr;

bool BesidePaletteEdge(int32_t index) { return index == SubSection || index == SubWorksheet; }

void PlaceBesidePalette(int32_t index) {
    const int16_t dialId = int16_t(SubPalettes[index].dialogId);
    int32_t x = 0;
    int32_t y = 0;
    if (PaletteDialogId == 0 || !DGGetDialogClientPosition(PaletteDialogId, &x, &y)) return;
    const int32_t dx = BesidePaletteEdge(index) ? DGGetDialogClientWidth(PaletteDialogId) - 2 : 66;
    DGSetDialogFramePosition(dialId, x + dx, y + 23);
}

void EnableButtons(int32_t index, bool enable) {
    const int16_t dialId = int16_t(SubPalettes[index].dialogId);
    for (int16_t item = 1; item <= Layouts[index].buttonCount; ++item) DGSetItemEnable(dialId, item, enable);
}

void SetHelpIndexes(int32_t index) {
    const int16_t dialId = int16_t(SubPalettes[index].dialogId);
    if (dialId == 0) return;
    for (int16_t item = 1; item <= Layouts[index].buttonCount; ++item)
        DGSetItemHelpIndex(dialId, item, LanguageIndex + 1);
}

GSErrCode SubPaletteControl(int32_t index, int32_t referenceId, int32_t message) {
    const int16_t dialId = int16_t(SubPalettes[index].dialogId);
    if (dialId != 0 && referenceId == dialId && message == APIPaletteMessage_Close) DGModelessClose(dialId);
    return NoError;
}

template <int32_t Index>
GSErrCode SubPaletteControlCallback(int32_t referenceId, int32_t message, intptr_t) {
    return SubPaletteControl(Index, referenceId, message);
}

API_PaletteControlCallBackProc* const ControlCallbacks[SubPaletteCount] = {
    SubPaletteControlCallback<0>, SubPaletteControlCallback<1>, SubPaletteControlCallback<2>,
    SubPaletteControlCallback<3>, SubPaletteControlCallback<4>, SubPaletteControlCallback<5>,
    SubPaletteControlCallback<6>, SubPaletteControlCallback<7>};

void DrawButton(int32_t index, const DGUserUpdateData& update) {
    const SubPaletteButton* button = FindSubPaletteButton(index, update.item);
    if (button == nullptr) return;
    const SubPaletteRecord& record = SubPalettes[index];
    // The two SOSI buttons of the worksheet have one image for every state; the XYZ button has no pressed one.
    const bool oneImage = index == SubWorksheet && update.item <= 2;
    const bool noPressed = index == SubStreetFurniture && update.item == XYZButtonItem;
    // The running button shows pressed although its sub-palette is disabled meanwhile.
    const bool active = record.activeItem == update.item;
    std::string name = button->image;
    if (!oneImage && active && !noPressed)
        name += "_Press";
    else if (!oneImage && !active && !record.enabled)
        name += "_Dis";
    name += ".jpg";
    const DG::Rect rect{update.left, update.top, update.right, update.bottom};
    DGDrawPicture(update.drawContext, rect, GS::UniString(name.c_str()));
}

// The host refused to take the sub-palette opening now among its windows.
bool registrationRefused = false;

int16_t SubPaletteCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData data) {
    const int32_t index = static_cast<int32_t>(userData);
    if (index < 0 || index >= SubPaletteCount) return 0;
    SubPaletteRecord& record = SubPalettes[index];
    switch (message) {
        case DG_MSG_INIT:
            registrationRefused = ACAPI_RegisterModelessWindow(dialId, ControlCallbacks[index],
                                                               int32_t(record.registrationFlags)) != NoError;
            record.dialogId = uint16_t(dialId);
            DGSetDialogClientSize(dialId, SubPaletteWidth, SubPaletteHeight(Layouts[index].buttonCount), 0, true);
            return 0;
        case DG_MSG_CLOSE:
            SetHelpIndexes(index);
            ACAPI_UnregisterModelessWindow(dialId);
            SetClosed(record);
            if (OnSubPaletteClosed != nullptr) OnSubPaletteClosed();
            return 0;
        case DG_MSG_CLICK:
            if (item == DG_CLOSEBOX) return -1;
            RunSubPaletteButton(index, item);
            return 0;
        case DG_MSG_UPDATE:
            if (data != 0) DrawButton(index, *reinterpret_cast<const DGUserUpdateData*>(data));
            return 0;
        default: return 0;
    }
}

}  // namespace

const SubPaletteLayout& SubPaletteLayoutOf(int32_t index) { return Layouts[index]; }

bool IsSubPaletteVisible(int32_t index) {
    if (index < 0 || index >= SubPaletteCount) return false;
    const int16_t dialId = int16_t(SubPalettes[index].dialogId);
    return dialId != 0 && DGIsModelessDialogVisible(dialId);
}

void CloseAllSubPalettes() {
    for (SubPaletteRecord& record : SubPalettes) {
        if (record.dialogId != 0) DGModelessClose(int16_t(record.dialogId));
        SetClosed(record);
    }
}

void SetSubPaletteAnchor(QV_ToolsPlt& palette, int16_t paletteDialogId, void (*onClosed)()) {
    AnchorPalette = &palette;
    PaletteDialogId = paletteDialogId;
    OnSubPaletteClosed = onClosed;
}

void ToggleSubPalette(int32_t index) {
    if (index < 0 || index >= SubPaletteCount) return;
    if (IsSubPaletteVisible(index)) {
        CloseAllSubPalettes();
        return;
    }
    // The one open stays until the new one stands: a sub-palette that cannot open leaves the user the one they had.
    SubPaletteRecord& record = SubPalettes[index];
    if (record.dialogId != 0) DGModelessClose(int16_t(record.dialogId));
    SetClosed(record);
    record.registrationFlags = Layouts[index].registrationFlags;
    const GSResModule own = ACAPI_GetOwnResModule();
    registrationRefused = false;
    int16_t dialId =
        DGModelessInit(own, Layouts[index].resourceId, own, SubPaletteCallback, static_cast<DGUserData>(index));
    // A window the host does not know would not follow its palette nor close with the project: none is shown.
    if (dialId != 0 && registrationRefused) {
        DGModelessClose(dialId);
        dialId = 0;
    }
    record.dialogId = uint16_t(dialId);
    if (dialId == 0) {
        // Without the module's resources there is no sub-palette to show: the user would click on nothing.
        SetClosed(record);
        ShowErrorMessage(ErrFindingData, AlertKind::Error);
        return;
    }
    for (int32_t other = 0; other < SubPaletteCount; ++other) {
        if (other == index || SubPalettes[other].dialogId == 0) continue;
        DGModelessClose(int16_t(SubPalettes[other].dialogId));
        SetClosed(SubPalettes[other]);
    }
    PlaceBesidePalette(index);
    DGShowModelessDialog(dialId);
    SetHelpIndexes(index);
}

void ReseatSubPalettes() {
    for (int32_t index = 0; index < SubPaletteCount; ++index)
        if (IsSubPaletteVisible(index)) PlaceBesidePalette(index);
}

void SetSubPaletteHelpIndexes() {
    for (int32_t index = 0; index < SubPaletteCount; ++index) SetHelpIndexes(index);
}

const char* SubPaletteButtonImage(int32_t index, int16_t item) {
    const SubPaletteButton* button = FindSubPaletteButton(index, item);
    return button != nullptr ? button->image : "";
}

void RunSubPaletteButton(int32_t index, int16_t item) {
    const SubPaletteButton* button = FindSubPaletteButton(index, item);
    if (button == nullptr) return;
    // While the command runs no second one can start: the palette and the sub-palette are disabled, and the
    // running button is drawn pressed.
    if (AnchorPalette == nullptr) return;  // no palette open: no button to press
    QV_ToolsPlt& palette = *AnchorPalette;
    palette.EnableItems(false);
    SubPaletteRecord& record = SubPalettes[index];
    const int16_t dialId = int16_t(record.dialogId);
    if (dialId != 0) {
        record.enabled = 0;
        EnableButtons(index, false);
        DGRedrawItem(dialId, DG_ALL_ITEMS);
    }
    record.activeItem = item;
    if (dialId != 0) DGRedrawItem(dialId, item);
    if (button->command != nullptr)
        RunUserAction(button->command);
    else
        ShowToolNotAvailable();
    record.activeItem = 0;
    // The command may have closed the sub-palette (a window change, the project closed).
    if (dialId != 0 && record.dialogId == uint16_t(dialId)) {
        record.enabled = 1;
        EnableButtons(index, true);
        DGRedrawItem(dialId, DG_ALL_ITEMS);
    }
    palette.EnableItems(true);
    ResetToolInput(palette);
}
