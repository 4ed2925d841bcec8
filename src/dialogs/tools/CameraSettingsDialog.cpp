#include "dialogs/tools/CameraSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

namespace {

struct LayoutItems {
    int16_t resourceId;
    int16_t edit;
    int16_t layoutButton;
    int32_t width;
    int32_t height;
};
constexpr LayoutItems First = {32558, 8, 9, 275, 148};
constexpr LayoutItems Second = {32522, 6, 7, 350, 150};
constexpr int16_t DistanceLabelFirst = 6;
constexpr int16_t DistanceLabelSecond = 5;
constexpr int16_t PictureSecond = 3;
constexpr int32_t DistanceText = 111;  // "Distance:"
constexpr int32_t TitleEntry = 21;     // "Camera Settings"

template <const LayoutItems& L>
struct CameraLayout {
    static void Init(int16_t dialogId, CameraDialogState& state) {
        state.head.dialogId = uint16_t(dialogId);
        if (&L == &First) {
            const QV_String header = SettingsModeHeader(state.head.mode);
            DGSetItemText(dialogId, SettingsItemModeHeader, GS::UniString(header.GetBuffer(), header.GetLength()));
            DGSetDialogTitle(dialogId, Text(ImportTableBase, TitleEntry));
            DGSetItemText(dialogId, DistanceLabelFirst, Text(GeneralTableBase, DistanceText));
        } else {
            const bool variant = HostLanguageNOR != 0 || HostLanguageAUT != 0;
            SetItemImageFromResource(dialogId, PictureSecond, variant ? 32524 : 32501);
            DGSetItemText(dialogId, DistanceLabelSecond, Text(GeneralTableBase, DistanceText));
        }
        DGSetItemText(dialogId, SettingsItemOK, Text(CommonTableBase, 64));
        DGSetItemText(dialogId, SettingsItemCancel, Text(CommonTableBase, 5));
        DGSetItemMaxDouble(dialogId, L.edit, state.limit);
        DGSetItemValDouble(dialogId, L.edit, state.distance);
        DGSetDialogClientSize(dialogId, L.width, L.height);
        RestoreDialogPosition(
            DialogPosition{uint16_t(dialogId), int16_t(state.head.savedX), int16_t(state.head.savedY)});
        DGSetFocus(dialogId, L.edit);
    }
    static int16_t Click(int16_t dialogId, int16_t item, CameraDialogState& state) {
        if (item == SettingsItemOK) return SettingsItemOK;
        if (item == SettingsItemCancel) {
            state.head.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        if (item == L.layoutButton) {
            state.distance = DGGetItemValDouble(dialogId, L.edit);
            SaveDialogPosition(dialogId, state.head);
            state.head.layoutSwitch = 1;
            return SettingsItemCancel;
        }
        return 0;
    }
    static void Close(int16_t dialogId, int16_t item, CameraDialogState& state) {
        if (item == SettingsItemOK) state.distance = DGGetItemValDouble(dialogId, L.edit);
        state.head.dialogId = 0;
    }
    static constexpr ModalDialog<CameraDialogState>::Handlers table = {nullptr, Init,    Click,  nullptr,
                                                                       Close,   nullptr, nullptr};
    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
        return ModalDialog<CameraDialogState>::Dispatch(L.resourceId, table, message, dialogId, item, userData, data);
    }
    static DialogAnswer Open(CameraDialogState& state, double limit) {
        state.limit = limit;
        if (state.distance > limit) state.distance = limit;
        state.head.layoutSwitch = 0;
        return ConfirmedIf(ModalDialog<CameraDialogState>::Run(L.resourceId, Callback, state) == SettingsItemOK);
    }
};

}  // namespace

DialogAnswer OpenCameraSettingsDialog(CameraDialogState& state, double limit) {
    return CameraLayout<First>::Open(state, limit);
}
DialogAnswer OpenCameraDistanceDialog(CameraDialogState& state, double limit) {
    return CameraLayout<Second>::Open(state, limit);
}

DialogAnswer AskCameraDistance(double& distance, double limit, SettingsMode mode) {
    CameraDialogState state;
    state.head.mode = mode;
    state.distance = distance;
    const DialogAnswer answer = RunDialogLayouts([&](int32_t layout, bool) {
        const DialogAnswer shown =
            layout == 0 ? OpenCameraSettingsDialog(state, limit) : OpenCameraDistanceDialog(state, limit);
        return LayoutClosed(shown, state.head.layoutSwitch != 0);
    });
    if (answer == DialogAnswer::Confirmed) distance = state.distance;
    return answer;
}
