#include "dialogs/settings/RetainerWallSettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"
#include "dialogs/settings/TableFieldItems.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<RetainerWallSettings>;

const SettingsRecordAccess<RetainerWallSettings>& WallAccess = TableRecordAccess<RetainerWallSettings>;

constexpr FieldItemKind Pens = FieldItemKind::PenPair;
constexpr FieldItemKind Colour = FieldItemKind::PenColour;
constexpr int16_t TitleIndex = 18;
constexpr int16_t ThicknessItem = 10;

constexpr auto FirstItems = TableFieldItems<RetainerWallSettings, 0>();
constexpr auto SecondItems = TableFieldItems<RetainerWallSettings, 1>();
// The fill controls follow the pens as they are edited; their colours are not set from the record at INIT.
const FieldItem FirstColours[] = {{27, 6, Pens, 28, 0}, {30, 6, Colour, 0, 0}};
const FieldItem SecondColours[] = {{25, 6, Pens, 26, 0},  {28, 6, Colour, 0, 0}, {30, 9, Pens, 31, 0},
                                   {28, 9, Colour, 0, 2}, {33, 8, Pens, 34, 0},  {28, 8, Colour, 0, 1}};

const SettingsLayout First = {32560, true, TitleIndex, 390, 528, 36, 33, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32517, false, TitleIndex, 460, 540, 41, 40, SecondItems.data(), SecondItems.size()};
const SettingsLayout FirstColourLayout = {32560, true, 0, 0, 0, 0, 0, FirstColours, std::size(FirstColours)};
const SettingsLayout SecondColourLayout = {32517, false, 0, 0, 0, 0, 0, SecondColours, std::size(SecondColours)};

const SettingsLayout& ColoursOf(const RetainerWallSettingsBlock& block) {
    return block.frame.layout == &First ? FirstColourLayout : SecondColourLayout;
}

bool Usable(const RetainerWallSettingsBlock& block) { return block.state != nullptr; }

void Init(int16_t dialogId, RetainerWallSettingsBlock& block) {
    const bool first = block.frame.layout == &First;
    block.frame.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.frame.layout, block.frame.head.mode);
    if (first) {
        SetLabel(dialogId, 5, GeneralTableBase, 69);
        SetLabel(dialogId, 18, GeneralTableBase, 72);
        SetLabel(dialogId, 24, GeneralTableBase, 73);
        DGSetItemText(dialogId, 34, GS::UniString("ID:"));
    } else {
        SetLabel(dialogId, 6, GeneralTableBase, 69);
        SetLabel(dialogId, 16, GeneralTableBase, 72);
        SetLabel(dialogId, 23, GeneralTableBase, 73);
        SetLabel(dialogId, 35, GeneralTableBase, 39);
        DGSetItemText(dialogId, 36, GS::UniString("ID:"));
    }
    Frame::ShowValues(dialogId, block.frame);
    DGSetItemValDouble(dialogId, ThicknessItem, block.state->thickness);
    if (block.state->editLock != 0) {
        DGDisableItem(dialogId, ThicknessItem);
        DGDisableItem(dialogId, first ? 16 : 21);
    }
    FinishSettingsLayoutInit(dialogId, *block.frame.layout, block.frame.head);
}

void Change(int16_t dialogId, int16_t item, RetainerWallSettingsBlock& block) {
    Frame::Change(dialogId, item, block.frame);
    FollowPenColours(dialogId, ColoursOf(block), item);
}

void Track(int16_t dialogId, int16_t item, RetainerWallSettingsBlock& block) {
    Frame::Track(dialogId, item, block.frame);
    FollowPenColours(dialogId, ColoursOf(block), item);
}

int16_t Click(int16_t dialogId, int16_t item, RetainerWallSettingsBlock& block) {
    // The thickness goes across a switch too.
    if (item == block.frame.layout->layoutButton) block.state->thickness = DGGetItemValDouble(dialogId, ThicknessItem);
    return Frame::Click(dialogId, item, block.frame);
}

void Close(int16_t dialogId, int16_t item, RetainerWallSettingsBlock& block) {
    block.frame.head.dialogId = 0;
    if (item != SettingsItemOK) return;
    // The thickness is no field of the record: OK hands it back in the state.
    block.state->thickness = DGGetItemValDouble(dialogId, ThicknessItem);
    Frame::ReadValues(dialogId, block.frame);
    Frame::Store(block.frame);
}

void Update(int16_t dialogId, int16_t item, RetainerWallSettingsBlock& block, DGMessageData data) {
    Frame::Update(dialogId, item, block.frame, data);
}

constexpr ModalDialog<RetainerWallSettingsBlock>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

LayoutClose OpenLayout(RetainerWallSettingsBlock& block, const SettingsLayout& layout, bool carryWork) {
    block.frame.layout = &layout;
    block.frame.head.layoutSwitch = 0;
    if (!carryWork) block.frame.work = *block.frame.record;
    const bool ok = ModalDialog<RetainerWallSettingsBlock>::Run(
                        layout.resourceId,
                        &layout == &First ? RetainerWallSettingsDlg::Callback : RetainerWallSettingsDlg::CallbackTwin,
                        block) == SettingsItemOK;
    return LayoutClosed(ConfirmedIf(ok), block.frame.head.layoutSwitch != 0);
}

}  // namespace

namespace RetainerWallSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<RetainerWallSettingsBlock>::Dispatch(First.resourceId, Table, message, dialogId, item, userData,
                                                            messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<RetainerWallSettingsBlock>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData,
                                                            messageData);
}
}  // namespace RetainerWallSettingsDlg

DialogAnswer OpenRetainerWallSettingsDialog(RetainerWallDialogState& state, SettingsMode mode) {
    RetainerWallSettingsBlock block;
    block.state = &state;
    block.frame.head.mode = mode;
    block.frame.record = &state.record;
    block.frame.access = &WallAccess;
    const DialogAnswer answer = RunDialogLayouts(
        [&](int32_t layout, bool switched) { return OpenLayout(block, layout == 0 ? First : Second, switched); });
    if (answer == DialogAnswer::Confirmed)
        for (int32_t id = 0; id < RetainerWallFieldCount; ++id) state.changed[id] |= block.frame.changed[id];
    return answer;
}
