#include "dialogs/settings/WallSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<WallSettings>;
using Block = SettingsDialogBlock<WallSettings>;

const SettingsRecordAccess<WallSettings>& Access = TableRecordAccess<WallSettings>;

// The fill control shows the colours of the three pens beside its pattern.
constexpr FieldItem FirstColours[] = {
    {28, WallSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {28, WallSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {28, WallSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr FieldItem SecondColours[] = {
    {26, WallSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {26, WallSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {26, WallSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr auto FirstItems = TableFieldItems<WallSettings, 0>(FirstColours);
constexpr auto SecondItems = TableFieldItems<WallSettings, 1>(SecondColours);

constexpr int16_t TitleIndex = 13;
const SettingsLayout First = {32550, true, TitleIndex, 390, 475, 34, 31, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32512, false, TitleIndex, 460, 490, 39, 38, SecondItems.data(), SecondItems.size()};

constexpr int16_t RadioLeft = 11;
constexpr int16_t RadioMiddle = 12;
constexpr int16_t RadioRight = 13;
constexpr int16_t SideGroup = 1;
constexpr int16_t BackgroundPenControl = 29;  // second layout
constexpr int32_t SideIcons[3] = {32587, 32588, 32589};

void ReadItems(int16_t dialogId, Block& block) {
    Frame::ReadValues(dialogId, block);
    const int16_t radio = DGGetCheckedRadio(dialogId, SideGroup);
    block.work.side = QV_String(radio == RadioLeft ? "left" : radio == RadioRight ? "right" : "middle");
}

bool Usable(const Block& block) { return Frame::Usable(block); }

void Init(int16_t dialogId, Block& block) {
    block.head.dialogId = uint16_t(dialogId);
    const SettingsLayout& layout = *block.layout;
    InitSettingsLayout(dialogId, layout, block.head.mode);
    if (layout.first) {
        SetSettingsLabels(dialogId,
                          {SettingsLabel{5, ImportTableBase, 14}, SettingsLabel{16, GeneralTableBase, 72},
                           SettingsLabel{22, GeneralTableBase, 73}});
        DGSetItemText(dialogId, 32, GS::UniString("ID:"));
    } else {
        // A fill's background may be pen 0.
        API_UserControlBinding binding = {APIUserControl_PenWithZero, dialogId, BackgroundPenControl};
        ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
        SetSettingsLabels(dialogId,
                          {SettingsLabel{6, GeneralTableBase, 69}, SettingsLabel{14, GeneralTableBase, 72},
                           SettingsLabel{21, GeneralTableBase, 73}, SettingsLabel{33, GeneralTableBase, 39}});
        DGSetItemText(dialogId, 34, GS::UniString("ID:"));
    }
    for (int k = 0; k < 3; ++k) SetItemImageFromResource(dialogId, int16_t(RadioLeft + k), SideIcons[k]);
    Frame::ShowValues(dialogId, block);
    const QV_String side = NormalisedWallSide(block.work.side);
    DGSelectRadio(dialogId,
                  side.Compare(QV_String("left")) == 0        ? RadioLeft
                      : side.Compare(QV_String("right")) == 0 ? RadioRight
                                                              : RadioMiddle);
    FinishSettingsLayoutInit(dialogId, layout, block.head);
}

void Change(int16_t dialogId, int16_t item, Block& block) { Frame::Change(dialogId, item, block); }
void Track(int16_t dialogId, int16_t item, Block& block) { Frame::Track(dialogId, item, block); }

int16_t Click(int16_t dialogId, int16_t item, Block& block) {
    return Frame::ClickReading<ReadItems>(dialogId, item, block);
}

void Close(int16_t dialogId, int16_t item, Block& block) { Frame::CloseReading<ReadItems>(dialogId, item, block); }

void Update(int16_t dialogId, int16_t item, Block& block, DGMessageData data) {
    Frame::Update(dialogId, item, block, data);
}

constexpr ModalDialog<Block>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

}  // namespace

QV_String NormalisedWallSide(const QV_String& side) {
    if (side.Compare(QV_String("left")) == 0) return QV_String("left");
    if (side.Compare(QV_String("right")) == 0) return QV_String("right");
    return QV_String("middle");
}

namespace WallSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, messageData);
}
}  // namespace WallSettingsDlg

DialogAnswer OpenWallSettingsDialog(WallDialogState& state, SettingsMode mode) {
    Block block;
    const DialogAnswer answer = Frame::Run(block, state.record, First, Second, Access, mode, WallSettingsDlg::Callback,
                                           WallSettingsDlg::CallbackTwin);
    if (answer == DialogAnswer::Confirmed)
        for (int32_t id = 0; id < WallFieldCount; ++id) state.changed[id] = block.changed[id];
    return answer;
}
