#include "dialogs/settings/BasinSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"

#include "foundation/Language.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<BasinSettings>;

const SettingsRecordAccess<BasinSettings>& BasinAccess = TableRecordAccess<BasinSettings>;

// The table's items are the controls, in the order the host binds them; the pens' edits follow, so that reading
// the items takes each pen from its edit.
constexpr FieldItem FirstOwn[] = {
    {8, BasinSettings::Id::pen3D, FieldItemKind::Long, 0, 0},
    {15, BasinSettings::Id::pen2D, FieldItemKind::Long, 0, 0},
    {23, BasinSettings::Id::fillBackgroundPen, FieldItemKind::Long, 0, 0},
    {26, BasinSettings::Id::fillPen, FieldItemKind::Long, 0, 0},
    {20, BasinSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {20, BasinSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {20, BasinSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr FieldItem SecondOwn[] = {
    {8, BasinSettings::Id::pen3D, FieldItemKind::Long, 0, 0},
    {14, BasinSettings::Id::pen2D, FieldItemKind::Long, 0, 0},
    {22, BasinSettings::Id::fillBackgroundPen, FieldItemKind::Long, 0, 0},
    {25, BasinSettings::Id::fillPen, FieldItemKind::Long, 0, 0},
    {19, BasinSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {19, BasinSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {19, BasinSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr auto FirstItems = TableFieldItems<BasinSettings, 0>(FirstOwn);
constexpr auto SecondItems = TableFieldItems<BasinSettings, 1>(SecondOwn);

constexpr int16_t BasinTitle = 17;
constexpr int16_t LayoutButton = 33;
const SettingsLayout First = {
    32559, true, BasinTitle, 350, 449, LayoutButton, 30, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {
    32516, false, BasinTitle, 460, 425, LayoutButton, 32, SecondItems.data(), SecondItems.size()};

// Each pen's edit and its control.
struct PenPair {
    int16_t edit;
    int16_t control;
};
const PenPair FirstPairs[] = {{8, 9}, {15, 16}, {23, 24}, {26, 27}};
const PenPair SecondPairs[] = {{8, 9}, {14, 15}, {22, 23}, {25, 26}};

const SettingsLabel FirstLabels[] = {{5, GeneralTableBase, 77}, {12, GeneralTableBase, 73}};
const SettingsLabel SecondLabels[] = {
    {6, GeneralTableBase, 77}, {12, GeneralTableBase, 73}, {27, GeneralTableBase, 39}};

const PenPair* PairOf(const BasinSettingsBlock& block, int16_t item) {
    const bool first = block.layout == &First;
    const PenPair* pairs = first ? FirstPairs : SecondPairs;
    for (size_t i = 0; i < std::size(FirstPairs); ++i)
        if (pairs[i].edit == item || pairs[i].control == item) return &pairs[i];
    return nullptr;
}

void Init(int16_t dialogId, BasinSettingsBlock& block) {
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    if (block.layout == &First) {
        SetSettingsLabels(dialogId, FirstLabels);
        DGSetItemText(dialogId, 31, GS::UniString("ID:"));
    } else {
        SetSettingsLabels(dialogId, SecondLabels);
        DGSetItemText(dialogId, 28, GS::UniString("ID:"));
    }
    Frame::ShowValues(dialogId, block);
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

// An edit's change reaches its control; a change reported for either refreshes the fill's colour from the edit.
void Change(int16_t dialogId, int16_t item, BasinSettingsBlock& block) {
    const PenPair* pair = PairOf(block, item);
    if (pair == nullptr) return;
    if (item == pair->edit) DGSetItemValLong(dialogId, pair->control, DGGetItemValLong(dialogId, pair->edit));
    FollowPenColours(dialogId, *block.layout, pair->edit);
}

void Track(int16_t dialogId, int16_t item, BasinSettingsBlock& block) {
    const PenPair* pair = PairOf(block, item);
    if (pair == nullptr || item != pair->control) return;
    DGSetItemValLong(dialogId, pair->edit, DGGetItemValLong(dialogId, pair->control));
    FollowPenColours(dialogId, *block.layout, pair->edit);
}

constexpr ModalDialog<BasinSettingsBlock>::Handlers Table = {Frame::Usable, Init,  Frame::Click, Change,
                                                             Frame::Close,  Track, Frame::Update};

}  // namespace

namespace BasinSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<BasinSettingsBlock>::Dispatch(First.resourceId, Table, message, dialogId, item, userData,
                                                     messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<BasinSettingsBlock>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData,
                                                     messageData);
}
}  // namespace BasinSettingsDlg

DialogAnswer OpenBasinSettingsDialog(BasinSettingsBlock& block, BasinSettings& record) {
    return Frame::Open(block, record, First, BasinAccess, false, BasinSettingsDlg::Callback);
}

DialogAnswer OpenBasinSettingsDialogTwin(BasinSettingsBlock& block, BasinSettings& record) {
    return Frame::Open(block, record, Second, BasinAccess, false, BasinSettingsDlg::CallbackTwin);
}

DialogAnswer RunBasinSettingsLayouts(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                     SettingsMode mode) {
    BasinSettingsBlock block;
    if (Frame::Run(block, record, First, Second, BasinAccess, mode, BasinSettingsDlg::Callback,
                   BasinSettingsDlg::CallbackTwin) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    for (int32_t id = 0; id < Basin::BasinFieldCount; ++id) changed[id] = block.changed[id];
    // The level is not the dialog's to change.
    changed[BasinSettings::Id::level] = 0;
    return DialogAnswer::Confirmed;
}
