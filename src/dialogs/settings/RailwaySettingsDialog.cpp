#include "dialogs/settings/RailwaySettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"
#include "dialogs/settings/TableFieldItems.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<RailwaySettings>;

const SettingsRecordAccess<RailwaySettings>& RailwayAccess = TableRecordAccess<RailwaySettings>;

constexpr int16_t GaugeItem = 10;
constexpr int16_t TiesItem = 12;

// The pen and the retaining structures are not shown.
constexpr auto Items = TableFieldItems<RailwaySettings, 0>();

constexpr int16_t RailwayTitle = 33;
const SettingsLayout Layout = {32580, true, RailwayTitle, 630, 450, 0, 47, Items.data(), Items.size()};

constexpr int16_t WidthPicture = 7;
constexpr int16_t WidthItem = 8;
constexpr int32_t GreyedImage = 32723;
constexpr int16_t Show2DCheck = 41;
constexpr int16_t Pen2DItem = 43;
constexpr int16_t Pen2DControl = 44;
constexpr int16_t SingleTrack = 56;
constexpr int16_t RadioRight = 51;  // the railway right of the line, on it, left of it
constexpr int16_t RadioAxis = 52;
constexpr int16_t RadioLeft = 53;
constexpr int16_t RadioGroup = 1;
constexpr int16_t LinkBox = 39;

// The three earthwork surfaces follow each other while the link box is on; rails and ties never.
void FollowMaterials(int16_t dialogId, int16_t item) {
    if (!DGGetCheckBoxState(dialogId, LinkBox)) return;
    const int16_t source = item == LinkBox ? 36 : item;
    if (source < 36 || source > 38) return;
    const int32_t value = DGGetItemValLong(dialogId, source);
    for (int16_t target : {int16_t(36), int16_t(37), int16_t(38)})
        if (target != source) DGSetItemValLong(dialogId, target, value);
}

bool Usable(const RailwaySettingsBlock& block) { return block.state != nullptr; }

void Init(int16_t dialogId, RailwaySettingsBlock& block) {
    block.frame.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, Layout, block.frame.head.mode);
    const RailwayDialogState& state = *block.state;
    SetLabel(dialogId, 5, ImportTableBase, 39);
    SetLabel(dialogId, 16, GeneralTableBase, 63);
    SetLabel(dialogId, 18, ImportTableBase, 17);
    SetLabel(dialogId, 25, GeneralTableBase, 64);
    SetLabel(dialogId, 31, GeneralTableBase, 66);
    DGSetItemText(dialogId, 48, GS::UniString("ID:"));
    Frame::ShowValues(dialogId, block.frame);
    DGSetItemValDouble(dialogId, WidthItem, state.width);
    const int16_t line = state.referenceLine;
    DGSelectRadio(dialogId, line == 1 ? RadioRight : line == 2 ? RadioAxis : RadioLeft);
    DGDisableItem(dialogId, SingleTrack);
    EnableItems(dialogId, state.radiosEnabled != 0, {RadioRight, RadioAxis, RadioLeft});
    EnableItems(dialogId, block.frame.work.show2D != 0, {Pen2DItem, Pen2DControl});
    const DG::Image greyed(ACAPI_GetOwnResModule(), GreyedImage);
    if (state.valuesLocked != 0) {
        DGSetItemImage(dialogId, WidthPicture, greyed);
        EnableItems(dialogId, false, {WidthItem, GaugeItem, TiesItem, 34, 35, 58, 60});
    } else if (state.valuesEditable != 0) {
        EnableItems(dialogId, true, {WidthItem, GaugeItem});
    } else {
        DGSetItemImage(dialogId, WidthPicture, greyed);
        EnableItems(dialogId, false, {WidthItem, GaugeItem});
    }
    FinishSettingsLayoutInit(dialogId, Layout, block.frame.head);
}

void Change(int16_t dialogId, int16_t item, RailwaySettingsBlock& block) {
    FollowMaterials(dialogId, item);
    if (item == Show2DCheck)
        EnableItems(dialogId, DGGetCheckBoxState(dialogId, Show2DCheck), {Pen2DItem, Pen2DControl});
    Frame::Change(dialogId, item, block.frame);
}

void Track(int16_t dialogId, int16_t item, RailwaySettingsBlock& block) { Frame::Track(dialogId, item, block.frame); }

int16_t Click(int16_t dialogId, int16_t item, RailwaySettingsBlock& block) {
    return Frame::Click(dialogId, item, block.frame);
}

void Close(int16_t dialogId, int16_t item, RailwaySettingsBlock& block) {
    block.frame.head.dialogId = 0;
    if (item != SettingsItemOK) return;
    RailwayDialogState& state = *block.state;
    if (state.valuesEditable != 0 && state.valuesLocked == 0) state.width = DGGetItemValDouble(dialogId, WidthItem);
    RailwaySettings& work = block.frame.work;
    const RailwaySettings& record = *block.frame.record;
    Frame::ReadValues(dialogId, block.frame);
    // A disabled item is no edit: its field stays as the record has it.
    for (const FieldItem& f : Items)
        if (!DGIsItemEnabled(dialogId, f.item) && f.item != SingleTrack) {
            RailwayAccess.setLong(work, f.field, RailwayAccess.getLong(record, f.field));
            RailwayAccess.setDouble(work, f.field, RailwayAccess.getDouble(record, f.field));
        }
    if (work.show2D == 0) work.pen2D = record.pen2D;
    const int16_t radio = DGGetCheckedRadio(dialogId, RadioGroup);
    state.referenceLine = radio == RadioRight ? 1 : radio == RadioAxis ? 2 : 3;
    Frame::Store(block.frame);
}

void Update(int16_t dialogId, int16_t item, RailwaySettingsBlock& block, DGMessageData data) {
    Frame::Update(dialogId, item, block.frame, data);
}

constexpr ModalDialog<RailwaySettingsBlock>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

}  // namespace

namespace RailwaySettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<RailwaySettingsBlock>::Dispatch(Layout.resourceId, Table, message, dialogId, item, userData,
                                                       messageData);
}
}  // namespace RailwaySettingsDlg

DialogAnswer OpenRailwaySettingsDialog(RailwayDialogState& state, SettingsMode mode) {
    RailwaySettingsBlock block;
    block.state = &state;
    block.frame.head.mode = mode;
    block.frame.record = &state.record;
    block.frame.work = state.record;
    block.frame.layout = &Layout;
    block.frame.access = &RailwayAccess;
    const bool ok = ModalDialog<RailwaySettingsBlock>::Run(Layout.resourceId, RailwaySettingsDlg::Callback, block) ==
        SettingsItemOK;
    if (ok)
        for (int32_t id = 0; id < RailwayFieldCount; ++id) state.changed[id] |= block.frame.changed[id];
    return ConfirmedIf(ok);
}
