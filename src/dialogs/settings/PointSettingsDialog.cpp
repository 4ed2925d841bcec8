#include "dialogs/settings/PointSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"

#include "foundation/Language.hpp"

#include <cstring>

namespace {
constexpr int16_t TitleIndex = 3;
constexpr int32_t LabelProjectZero = 47;
constexpr int32_t LabelCode = 24;
constexpr int32_t LabelComment = 210;

// The items of one layout that the frame does not bind: the labels and the code pair.
struct PointItems {
    int16_t zeroLabel, codeLabel, commentLabel, description, code;
};
constexpr PointItems FirstItems = {7, 9, 12, 10, 11};
constexpr PointItems SecondItems = {8, 10, 13, 11, 12};

constexpr auto kFirst = TableFieldItems<PointSettings, 0>();
constexpr auto kSecond = TableFieldItems<PointSettings, 1>();
const SettingsLayout FirstLayout = {32555, true, TitleIndex, 315, 303, 20, 19, kFirst.data(), kFirst.size()};
const SettingsLayout SecondLayout = {32508, false, TitleIndex, 380, 285, 21, 20, kSecond.data(), kSecond.size()};

const SettingsRecordAccess<PointSettings>& Access = TableRecordAccess<PointSettings>;

using Frame = SettingsDialog<PointSettings>;

const PointItems& ItemsOf(const PointSettingsBlock& block) {
    return block.layout == &SecondLayout ? SecondItems : FirstItems;
}

void SetLabel(int16_t dialogId, int16_t item, int32_t index) {
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, index);
    DGSetItemText(dialogId, item, GS::UniString(text.GetBuffer(), text.GetLength()));
}

// Every item into the working copy; the code and its description through the five-digit item, which cuts the
// description to its 20 characters.
void ReadAll(int16_t dialogId, PointSettingsBlock& block) {
    Frame::ReadValues(dialogId, block);
    const PointItems& items = ItemsOf(block);
    PointCodeRecord code;
    FiveDigitCodeItem(dialogId, items.code, items.description, FiveDigitRead, code);
    block.work.code = code.description;
    block.work.codeNumber = int32_t(code.code);
}

void Init(int16_t dialogId, PointSettingsBlock& block) {
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    const PointItems& items = ItemsOf(block);
    SetLabel(dialogId, items.zeroLabel, LabelProjectZero);
    SetLabel(dialogId, items.codeLabel, LabelCode);
    SetLabel(dialogId, items.commentLabel, LabelComment);
    Frame::ShowValues(dialogId, block);
    PointCodeRecord code;
    code.code = uint32_t(block.work.codeNumber);
    FiveDigitCodeItem(dialogId, items.code, items.description, FiveDigitShow, code);
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

void Change(int16_t dialogId, int16_t item, PointSettingsBlock& block) {
    if (item == ItemsOf(block).code) {
        PointCodeRecord code;
        FiveDigitCodeItem(dialogId, item, 0, FiveDigitFilter, code);
        return;
    }
    Frame::Change(dialogId, item, block);
}

constexpr ModalDialog<PointSettingsBlock>::Handlers Handlers = {
    Frame::Usable, Init,         Frame::ClickReading<ReadAll>, Change, Frame::CloseReading<ReadAll>,
    Frame::Track,  Frame::Update};

int16_t Dispatch(int16_t resourceId, int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                 DGMessageData messageData) {
    return ModalDialog<PointSettingsBlock>::Dispatch(resourceId, Handlers, message, dialogId, item, userData,
                                                     messageData);
}

}  // namespace

namespace PointSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return Dispatch(FirstLayout.resourceId, message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return Dispatch(SecondLayout.resourceId, message, dialogId, item, userData, messageData);
}
}  // namespace PointSettingsDlg

DialogAnswer OpenPointSettingsDialog(PointSettingsBlock& block, PointSettings& record, bool carryWork) {
    return Frame::Open(block, record, FirstLayout, Access, carryWork, PointSettingsDlg::Callback);
}

DialogAnswer OpenPointSettingsDialogTwin(PointSettingsBlock& block, PointSettings& record, bool carryWork) {
    return Frame::Open(block, record, SecondLayout, Access, carryWork, PointSettingsDlg::CallbackTwin);
}

DialogAnswer RunPointSettingsDialog(PointSettings& record, uint8_t (&changed)[PointSettings::FieldCount],
                                    SettingsMode mode) {
    PointSettingsBlock block;
    if (Frame::Run(block, record, FirstLayout, SecondLayout, Access, mode, PointSettingsDlg::Callback,
                   PointSettingsDlg::CallbackTwin) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    std::memcpy(changed, block.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}
