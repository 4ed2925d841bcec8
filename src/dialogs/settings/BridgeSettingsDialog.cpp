#include "dialogs/settings/BridgeSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"

#include "foundation/Language.hpp"

#include "APIDefs.hpp"

#include <initializer_list>
#include <iterator>

namespace {

using Frame = SettingsDialog<BridgeSettings>;

const SettingsRecordAccess<BridgeSettings>& BridgeAccess = TableRecordAccess<BridgeSettings>;

constexpr int16_t LeftSidewalk = 18, RightSidewalk = 27;
constexpr int16_t LeftWidth = 22, LeftThickness = 20, RightWidth = 31, RightThickness = 29;
constexpr int16_t Pen3DEdit = 35, Pen3DControl = 36, Pen2DEdit = 47, Pen2DControl = 48, FillControl = 50;

// The table's items are the controls, in the order the host binds them; the pens' edits follow (pens are read from
// their edits), then the colours the fill control shows.
constexpr FieldItem Own[] = {
    {Pen3DEdit, BridgeSettings::Id::pen3D, FieldItemKind::Long, 0, 0},
    {Pen2DEdit, BridgeSettings::Id::pen2D, FieldItemKind::Long, 0, 0},
    {FillControl, BridgeSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {FillControl, BridgeSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {FillControl, BridgeSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr auto Items = TableFieldItems<BridgeSettings, 0>(Own);

constexpr int16_t BridgeTitle = 32;
const SettingsLayout Layout = {32579, true, BridgeTitle, 760, 530, 0, 63, Items.data(), Items.size()};
constexpr int16_t RailwayItems[] = {54, 56, 58, 60};

const SettingsLabel Labels[] = {{5, ImportTableBase, 38}, {32, GeneralTableBase, 72}, {44, GeneralTableBase, 73}};

void Enable(int16_t dialogId, bool enable, std::initializer_list<int16_t> items) {
    for (int16_t item : items) enable ? DGEnableItem(dialogId, item) : DGDisableItem(dialogId, item);
}

bool Usable(const BridgeSettingsBlock& block) { return Frame::Usable(block.frame); }

void Init(int16_t dialogId, BridgeSettingsBlock& block) {
    block.frame.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, Layout, block.frame.head.mode);
    SetSettingsLabels(dialogId, Labels);
    DGSetItemText(dialogId, 64, GS::UniString("ID:"));
    Frame::ShowValues(dialogId, block.frame);
    if (block.railwayLock != 0)
        for (int16_t item : RailwayItems) DGDisableItem(dialogId, item);
    const BridgeSettings& work = block.frame.work;
    if (work.sidewalkLeft == 0) Enable(dialogId, false, {LeftWidth, LeftThickness});
    if (work.sidewalkRight == 0) Enable(dialogId, false, {RightWidth, RightThickness});
    FinishSettingsLayoutInit(dialogId, Layout, block.frame.head);
}

void Change(int16_t dialogId, int16_t item, BridgeSettingsBlock& block) {
    if (item == LeftSidewalk) Enable(dialogId, DGGetCheckBoxState(dialogId, item), {LeftWidth, LeftThickness});
    if (item == RightSidewalk) Enable(dialogId, DGGetCheckBoxState(dialogId, item), {RightWidth, RightThickness});
    if (item == Pen3DEdit) DGSetItemValLong(dialogId, Pen3DControl, DGGetItemValLong(dialogId, Pen3DEdit));
    if (item == Pen2DEdit) DGSetItemValLong(dialogId, Pen2DControl, DGGetItemValLong(dialogId, Pen2DEdit));
    if (item == Pen2DEdit || item == Pen2DControl) FollowPenColours(dialogId, Layout, Pen2DEdit);
    (void)block;
}

void Track(int16_t dialogId, int16_t item, BridgeSettingsBlock&) {
    if (item == Pen3DControl) DGSetItemValLong(dialogId, Pen3DEdit, DGGetItemValLong(dialogId, Pen3DControl));
    if (item == Pen2DControl) {
        DGSetItemValLong(dialogId, Pen2DEdit, DGGetItemValLong(dialogId, Pen2DControl));
        FollowPenColours(dialogId, Layout, Pen2DEdit);
    }
}

int16_t Click(int16_t dialogId, int16_t item, BridgeSettingsBlock& block) {
    return Frame::Click(dialogId, item, block.frame);
}

void Close(int16_t dialogId, int16_t item, BridgeSettingsBlock& block) {
    block.frame.head.dialogId = 0;
    if (item != SettingsItemOK) return;
    Frame::ReadValues(dialogId, block.frame);
    BridgeSettings& work = block.frame.work;
    const BridgeSettings& record = *block.frame.record;
    // A side without its sidewalk keeps the sidewalk's measures; a locked railway keeps its fields.
    if (!DGGetCheckBoxState(dialogId, LeftSidewalk)) {
        work.sidewalkWidthLeft = record.sidewalkWidthLeft;
        work.sidewalkThicknessLeft = record.sidewalkThicknessLeft;
    }
    if (!DGGetCheckBoxState(dialogId, RightSidewalk)) {
        work.sidewalkWidthRight = record.sidewalkWidthRight;
        work.sidewalkThicknessRight = record.sidewalkThicknessRight;
    }
    if (block.railwayLock != 0) {
        work.railway = record.railway;
        work.twoTracks = record.twoTracks;
        work.tieSpacing = record.tieSpacing;
        work.gauge = record.gauge;
    }
    work.fillPen = record.fillPen;
    work.fillBackgroundPen = record.fillBackgroundPen;
    work.side = record.side;
    Frame::Store(block.frame);
}

void Update(int16_t dialogId, int16_t item, BridgeSettingsBlock& block, DGMessageData data) {
    Frame::Update(dialogId, item, block.frame, data);
}

constexpr ModalDialog<BridgeSettingsBlock>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

}  // namespace

namespace BridgeSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<BridgeSettingsBlock>::Dispatch(Layout.resourceId, Table, message, dialogId, item, userData,
                                                      messageData);
}
}  // namespace BridgeSettingsDlg

DialogAnswer OpenBridgeSettingsDialog(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount], bool railwayLock,
                                      SettingsMode mode) {
    BridgeSettingsBlock block;
    block.frame.head.mode = mode;
    block.railwayLock = railwayLock ? 1 : 0;
    block.frame.record = &record;
    block.frame.work = record;
    block.frame.layout = &Layout;
    block.frame.access = &BridgeAccess;
    const bool ok =
        ModalDialog<BridgeSettingsBlock>::Run(Layout.resourceId, BridgeSettingsDlg::Callback, block) == SettingsItemOK;
    if (ok)
        for (int32_t id = 0; id < BridgeFieldCount; ++id) changed[id] = block.frame.changed[id];
    return ConfirmedIf(ok);
}
