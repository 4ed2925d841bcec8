#include "dialogs/settings/SettingsDialogFrame.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/DialogPicture.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

namespace {
constexpr int32_t LabelCreation = 18;
constexpr int32_t LabelEditing = 19;
constexpr int32_t LabelEntities = 20;
constexpr int32_t CommonCancel = 5;
constexpr int32_t CommonOK = 64;
constexpr int16_t ItemLanguageImage = 5;
constexpr int32_t ImageLanguageVariant = 32524;
constexpr int32_t ImageLanguage = 32501;

bool BindUserControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    return ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding) == NoError;
}
}  // namespace

void SetSettingsLabels(int16_t dialogId, const SettingsLabel* labels, size_t count) {
    for (size_t i = 0; i < count; ++i) DGSetItemText(dialogId, labels[i].item, Text(labels[i].table, labels[i].index));
}

QV_String SettingsModeHeader(SettingsMode mode) {
    QV_String header;
    if (mode == SettingsMode::ToolDefaults) return QV_String("Default");
    if (mode == SettingsMode::NewElement) return GetResString(header, ImportTableBase + LanguageIndex, LabelCreation);
    QV_String part;
    GetResString(header, ImportTableBase + LanguageIndex, LabelEditing);
    part.FromLong(mode.editedCount());
    header += part;
    header += GetResString(part, ImportTableBase + LanguageIndex, LabelEntities);
    return header;
}

void InitSettingsLayout(int16_t dialogId, const SettingsLayout& layout, SettingsMode mode) {
    if (layout.first) {
        const QV_String header = SettingsModeHeader(mode);
        DGSetItemText(dialogId, SettingsItemModeHeader, GS::UniString(header.GetBuffer(), header.GetLength()));
    } else {
        const bool variant = HostLanguageNOR != 0 || HostLanguageAUT != 0;
        SetItemImageFromResource(dialogId, ItemLanguageImage, variant ? ImageLanguageVariant : ImageLanguage);
    }
    DGSetDialogTitle(dialogId, Text(TitleTableBase, layout.titleIndex));
    DGSetItemText(dialogId, SettingsItemOK, Text(CommonTableBase, CommonOK));
    DGSetItemText(dialogId, SettingsItemCancel, Text(CommonTableBase, CommonCancel));
    bool bound = true;
    for (size_t i = 0; i < layout.itemCount; ++i) {
        const FieldItem& f = layout.items[i];
        if (f.kind == FieldItemKind::UserControl) bound = BindUserControl(dialogId, f.item, f.control) && bound;
        if (f.kind == FieldItemKind::PenPair)
            bound = BindUserControl(dialogId, f.pairItem, APIUserControl_Pen) && bound;
    }
    // A chooser the host would not set up stays dead in the dialog: the user is told, once; the rest works.
    if (!bound) ShowErrorMessage(ErrDialog, AlertKind::Error);
}

void FinishSettingsLayoutInit(int16_t dialogId, const SettingsLayout& layout, const DialogBlockHead& head) {
    DGSetDialogClientSize(dialogId, layout.width, layout.height);
    RestoreDialogPosition(DialogPosition{uint16_t(dialogId), int16_t(head.savedX), int16_t(head.savedY)});
    DGSetFocus(dialogId, DG_DIALOG_WINDOW);
}

void SaveDialogPosition(int16_t dialogId, DialogBlockHead& head) {
    DialogPosition position{uint16_t(dialogId), int16_t(head.savedX), int16_t(head.savedY)};
    SaveDialogPosition(position);
    head.savedX = uint16_t(position.x);
    head.savedY = uint16_t(position.y);
}

void DrawSettingsPicture(DGMessageData update) {
    DrawDialogPicture(reinterpret_cast<const DGUserUpdateData*>(update),
                      FindLibPartIndex(QV_String(DialogPictureName), APILib_PictureID), true);
}

void DrawSettingsPicture(int16_t dialogId, int16_t item) {
    DGUserUpdateData update{dialogId, item, 0, 0, DGGetItemWidth(dialogId, item), DGGetItemHeight(dialogId, item)};
    update.drawContext = DGGetUserItemUpdateContext(dialogId, item);
    if (update.drawContext != 0) DrawSettingsPicture(reinterpret_cast<DGMessageData>(&update));
}

void SyncPenPair(int16_t dialogId, const SettingsLayout& layout, int16_t item, bool fromControl) {
    for (size_t i = 0; i < layout.itemCount; ++i) {
        const FieldItem& f = layout.items[i];
        if (f.kind != FieldItemKind::PenPair) continue;
        if (!fromControl && item == f.item) DGSetItemValLong(dialogId, f.pairItem, DGGetItemValLong(dialogId, f.item));
        if (fromControl && item == f.pairItem)
            DGSetItemValLong(dialogId, f.item, DGGetItemValLong(dialogId, f.pairItem));
    }
}

const FieldItem* FindColourSwatch(const SettingsLayout& layout, int16_t item) {
    for (size_t i = 0; i < layout.itemCount; ++i)
        if (layout.items[i].kind == FieldItemKind::ColourSwatch && layout.items[i].item == item)
            return &layout.items[i];
    return nullptr;
}

void ShowPenColours(int16_t dialogId, const SettingsLayout& layout, int16_t field, int32_t pen) {
    for (size_t i = 0; i < layout.itemCount; ++i) {
        const FieldItem& f = layout.items[i];
        if (f.kind == FieldItemKind::PenColour && f.field == field)
            SetPenColourControl(dialogId, f.item, pen, int32_t(f.control));
    }
}

void FollowPenColours(int16_t dialogId, const SettingsLayout& layout, int16_t item) {
    for (size_t i = 0; i < layout.itemCount; ++i) {
        const FieldItem& f = layout.items[i];
        const bool showsPen = (f.kind == FieldItemKind::PenPair && (item == f.item || item == f.pairItem)) ||
            (f.kind == FieldItemKind::Long && item == f.item);
        // A pen pair is in step by now, so its edit holds the pen either way.
        if (showsPen) ShowPenColours(dialogId, layout, f.field, DGGetItemValLong(dialogId, f.item));
    }
}
