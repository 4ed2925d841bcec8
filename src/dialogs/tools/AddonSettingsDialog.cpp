#include "dialogs/tools/AddonSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

namespace {

constexpr int16_t FirstLayout = 32557;
constexpr int16_t SecondLayout = 32521;
constexpr int32_t TitleEntry = 15;  // "Settings"
constexpr int32_t CommonCancel = 5;
constexpr int32_t CommonOK = 64;
constexpr int32_t HeadingEntry = 100;  // "Lodravix settings"
constexpr int32_t CaptureEntry = 101;
constexpr int32_t RestoreEntry = 102;
constexpr int32_t FirstLineEntry = 103;  // 103 to 106 explain Capture, 107 to 110 Restore
constexpr int32_t ImageLanguageVariant = 32524;
constexpr int32_t ImageLanguage = 32501;

// Where each layout keeps its items.
struct Layout {
    int16_t resourceId;
    int16_t heading;
    int16_t firstLine;  // eight explanatory lines from here
    int16_t capture;
    int16_t restore;
    int16_t layoutButton;
    int32_t width;
    int32_t height;
};
constexpr Layout First = {FirstLayout, 3, 5, 13, 14, 15, 340, 263};
constexpr Layout Second = {SecondLayout, 6, 7, 15, 16, 17, 450, 260};

template <const Layout& L>
struct Handlers {
    static void Init(int16_t dialogId, AddonSettingsBlock& block) {
        block.head.dialogId = uint16_t(dialogId);
        DGSetDialogTitle(dialogId, Text(TitleTableBase, TitleEntry));
        DGSetItemText(dialogId, SettingsItemOK, Text(CommonTableBase, CommonOK));
        DGSetItemText(dialogId, SettingsItemCancel, Text(CommonTableBase, CommonCancel));
        DGSetItemText(dialogId, L.heading, Text(GeneralTableBase, HeadingEntry));
        for (int16_t i = 0; i < 8; ++i)
            DGSetItemText(dialogId, int16_t(L.firstLine + i), Text(GeneralTableBase, FirstLineEntry + i));
        DGSetItemText(dialogId, L.capture, Text(GeneralTableBase, CaptureEntry));
        DGSetItemText(dialogId, L.restore, Text(GeneralTableBase, RestoreEntry));
        if (L.resourceId == SecondLayout) {
            const bool variant = HostLanguageNOR != 0 || HostLanguageAUT != 0;
            DGSetItemImage(dialogId, 5,
                           DG::Image(ACAPI_GetOwnResModule(), variant ? ImageLanguageVariant : ImageLanguage));
        }
        DGSetDialogClientSize(dialogId, L.width, L.height);
        if (block.head.savedX != 0 || block.head.savedY != 0)
            DGSetDialogClientPosition(dialogId, block.head.savedX, block.head.savedY);
        DGSetFocus(dialogId, DG_DIALOG_WINDOW);
    }

    static int16_t Click(int16_t dialogId, int16_t item, AddonSettingsBlock& block) {
        if (item == SettingsItemOK) return SettingsItemOK;
        if (item == SettingsItemCancel) {
            block.head.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        if (item == L.capture || item == L.restore) {
            block.ask = item == L.capture ? PreferencesAsk::Capture : PreferencesAsk::Restore;
            block.head.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        if (item == L.layoutButton) {
            SaveDialogPosition(dialogId, block.head);
            block.head.layoutSwitch = 1;
            return SettingsItemCancel;
        }
        return 0;
    }

    static void Close(int16_t, int16_t, AddonSettingsBlock& block) { block.head.dialogId = 0; }

    static void Update(int16_t, int16_t item, AddonSettingsBlock&, DGMessageData update) {
        if (L.resourceId == SecondLayout && item == SettingsItemPicture) DrawSettingsPicture(update);
    }

    static constexpr typename ModalDialog<AddonSettingsBlock>::Handlers table = {nullptr, Init,    Click, nullptr,
                                                                                 Close,   nullptr, Update};

    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                            DGMessageData messageData) {
        return ModalDialog<AddonSettingsBlock>::Dispatch(L.resourceId, table, message, dialogId, item, userData,
                                                         messageData);
    }

    static bool Open(AddonSettingsBlock& block) {
        block.head.layoutSwitch = 0;
        return ModalDialog<AddonSettingsBlock>::Run(L.resourceId, Callback, block) == SettingsItemOK;
    }
};

}  // namespace

namespace AddonSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return Handlers<First>::Callback(message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return Handlers<Second>::Callback(message, dialogId, item, userData, messageData);
}
}  // namespace AddonSettingsDlg

bool OpenAddonSettingsDialog(AddonSettingsBlock& block) { return Handlers<First>::Open(block); }
bool OpenAddonSettingsDialogTwin(AddonSettingsBlock& block) { return Handlers<Second>::Open(block); }

PreferencesAsk RunAddonSettingsDialog() {
    AddonSettingsBlock block;
    // OK ends the run: opening the same layout again on OK would never let the user out.
    RunDialogLayouts([&](int32_t layout, bool) {
        const bool ok = layout == 0 ? OpenAddonSettingsDialog(block) : OpenAddonSettingsDialogTwin(block);
        return LayoutClosed(ConfirmedIf(ok), block.head.layoutSwitch != 0);
    });
    return block.ask;
}
