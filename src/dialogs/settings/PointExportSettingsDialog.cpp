#include "dialogs/settings/PointExportSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {

struct ExportItems {
    int16_t dialogId;
    int16_t width;
    int16_t height;
    int16_t destinationLabel;
    int16_t fileName;
    int16_t orderLabel;
    int16_t xFirst;
    int16_t yFirst;
    int16_t infoLabel;
    int16_t meshOnly;
    int16_t withModifications;
    int16_t layoutButton;
};

const ExportItems First = {PointExportSettingsDialogId, 315, 293, 3, 5, 6, 8, 9, 10, 12, 13, 14};
const ExportItems Twin = {PointExportSettingsTwinDialogId, 425, 263, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr int16_t TwinPicture = 5;
constexpr int16_t TwinFramePicture = 3;

const ExportItems& ItemsOf(int16_t dialogId) { return dialogId == Twin.dialogId ? Twin : First; }

bool HasRecord(const PointExportSettingsBlock& block) { return block.record != nullptr; }

void Init(int16_t dialogId, PointExportSettingsBlock& block) {
    const ExportItems& it = ItemsOf(dialogId);
    const TextExportRec& r = *block.record;
    DGSetDialogTitle(dialogId, Text(32550, 15));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, it.destinationLabel, Text(GeneralTableBase, 85));
    DGSetItemText(dialogId, it.orderLabel, Text(GeneralTableBase, 86));
    DGSetItemText(dialogId, it.infoLabel, Text(GeneralTableBase, 87));
    DGSetItemText(dialogId, it.meshOnly, Text(GeneralTableBase, 89));
    DGSetItemText(dialogId, it.withModifications, Text(GeneralTableBase, 88));
    if (&it == &Twin) {
        const bool local = HostLanguageNOR != 0 || HostLanguageAUT != 0;
        DGSetItemImage(dialogId, TwinPicture, DG::Image(ACAPI_GetOwnResModule(), local ? 32524 : 32501));
    }
    DGSelectRadio(dialogId, r.xFirst ? it.xFirst : it.yFirst);
    DGSelectRadio(dialogId, r.withModifications ? it.withModifications : it.meshOnly);
    DGSetItemText(dialogId, it.fileName, Uni(ExportFileName(r.destination)));
    DGSetDialogClientSize(dialogId, it.width, it.height);
    if (block.head.savedX != 0 || block.head.savedY != 0)
        DGSetDialogClientPosition(dialogId, block.head.savedX, block.head.savedY);
}

void Store(int16_t dialogId, TextExportRec& r) {
    const ExportItems& it = ItemsOf(dialogId);
    r.xFirst = DGGetItemValLong(dialogId, it.xFirst) != 0 ? 1 : 0;
    r.withModifications = DGGetItemValLong(dialogId, it.meshOnly) != 0 ? 0 : 1;
}

int16_t Click(int16_t dialogId, int16_t item, PointExportSettingsBlock& block) {
    if (item == 1) return 1;
    if (item == 2) {
        block.head.layoutSwitch = 0;
        return 2;
    }
    if (item == ItemsOf(dialogId).layoutButton) {
        Store(dialogId, *block.record);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return 2;
    }
    return 0;
}

void Close(int16_t dialogId, int16_t item, PointExportSettingsBlock& block) {
    if (item == 1) Store(dialogId, *block.record);
}

void Update(int16_t dialogId, int16_t item, PointExportSettingsBlock&, DGMessageData update) {
    if (dialogId == Twin.dialogId && item == TwinFramePicture) DrawSettingsPicture(update);
}

using ExportDialog = ModalDialog<PointExportSettingsBlock>;
const ExportDialog::Handlers Handlers = {HasRecord, Init, Click, nullptr, Close, nullptr, Update};

}  // namespace

QV_String ExportFileName(const QV_String& path) {
    const int32_t slash = path.ReverseFindChar('\\');
    if (slash < 0) return path;
    QV_String name;
    path.Mid(name, uint32_t(slash + 1));
    return name;
}

bool OpenPointExportSettingsDialog(PointExportSettingsBlock& block, TextExportRec& record) {
    block.record = &record;
    block.head.dialogId = uint16_t(PointExportSettingsDialogId);
    block.head.layoutSwitch = 0;
    return ExportDialog::Run(PointExportSettingsDialogId, PointExportSettingsCallback, block) == 1;
}

bool OpenPointExportSettingsDialogTwin(PointExportSettingsBlock& block, TextExportRec& record) {
    block.record = &record;
    block.head.dialogId = uint16_t(PointExportSettingsTwinDialogId);
    block.head.layoutSwitch = 0;
    return ExportDialog::Run(PointExportSettingsTwinDialogId, PointExportSettingsCallbackTwin, block) == 1;
}

bool RunPointExportSettings(TextExportRec& record) {
    PointExportSettingsBlock block;
    return RunDialogLayouts([&](int32_t layout, bool) {
               const bool ok = layout == 0 ? OpenPointExportSettingsDialog(block, record)
                                           : OpenPointExportSettingsDialogTwin(block, record);
               return LayoutClosed(ConfirmedIf(ok), block.head.layoutSwitch != 0);
           }) == DialogAnswer::Confirmed;
}

int16_t PointExportSettingsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t messageData) {
    return ExportDialog::Dispatch(PointExportSettingsDialogId, Handlers, message, dialogId, item, userData,
                                  messageData);
}

int16_t PointExportSettingsCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                        intptr_t messageData) {
    return ExportDialog::Dispatch(PointExportSettingsTwinDialogId, Handlers, message, dialogId, item, userData,
                                  messageData);
}
