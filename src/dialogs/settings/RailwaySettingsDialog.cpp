#include "dialogs/settings/RailwaySettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<RailwaySettings>;

const SettingsRecordAccess<RailwaySettings> RailwayAccess = {
    [](const RailwaySettings& r, int16_t id) { return r.GetShort(id); },
    [](RailwaySettings& r, int16_t id, int32_t v) { r.SetShort(id, int16_t(v)); },
    [](const RailwaySettings& r, int16_t id) { return id == 20 || id == 21 ? 0.0 : r.GetReal(id); },
    [](RailwaySettings& r, int16_t id, double v) { r.SetReal(id, v); },
    [](const RailwaySettings& r, int16_t id) { return id == 5 ? r.name : QV_String(); },
    [](RailwaySettings& r, int16_t id, const QV_String& v) {
        if (id == 5) r.name = v;
    },
};

constexpr FieldItemKind UC = FieldItemKind::UserControl;
constexpr FieldItemKind Angle = FieldItemKind::Angle;
constexpr FieldItemKind Real = FieldItemKind::Double;
constexpr FieldItemKind Check = FieldItemKind::Check;
constexpr uint32_t Material = APIUserControl_Material;
constexpr uint32_t LayerControl = APIUserControl_Layer;

constexpr int16_t GaugeItem = 10;
constexpr int16_t TiesItem = 12;

// Fields 14 to 17 are not shown; the gauge and the tie spacing show the record's own values.
const FieldItem Items[] = {
    {47, 0, UC, 0, LayerControl}, {19, 1, Angle, 0, 0},
    {21, 2, Angle, 0, 0},         {22, 3, Angle, 0, 0},
    {24, 4, Angle, 0, 0},         {49, 5, FieldItemKind::Text, 0, 0},
    {34, 6, UC, 0, Material},     {35, 7, UC, 0, Material},
    {36, 8, UC, 0, Material},     {38, 9, UC, 0, Material},
    {37, 10, UC, 0, Material},    {15, 11, FieldItemKind::Long, 0, 0},
    {41, 12, Check, 0, 0},        {43, 13, FieldItemKind::PenPair, 44, 0},
    {28, 18, Real, 0, 0},         {30, 19, Real, 0, 0},
    {56, 20, Check, 0, 0},        {58, 21, Check, 0, 0},
    {GaugeItem, 22, Real, 0, 0},  {TiesItem, 23, Real, 0, 0},
    {60, 24, Check, 0, 0},
};

constexpr int16_t RailwayTitle = 33;
const SettingsLayout Layout = {32580, true, RailwayTitle, 630, 450, 0, 47, Items, std::size(Items)};

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
