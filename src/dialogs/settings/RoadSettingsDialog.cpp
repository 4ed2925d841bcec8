#include "dialogs/settings/RoadSettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include "APIDefs.hpp"

#include <cstring>
#include <iterator>

namespace {

using Frame = SettingsDialog<RoadData>;

const SettingsRecordAccess<RoadData>& RoadAccess = TableRecordAccess<RoadData>;

constexpr auto FirstItems = TableFieldItems<RoadData, 0>();
constexpr auto SecondItems = TableFieldItems<RoadData, 1>();
constexpr int32_t RoadTitle = 11;
const SettingsLayout FirstLayout = {32554, true, RoadTitle, 630, 450, 44, 41, FirstItems.data(), FirstItems.size()};
const SettingsLayout SecondLayout = {32504, false, RoadTitle, 670, 495, 55, 54, SecondItems.data(), SecondItems.size()};

constexpr int16_t WidthPicture = 7;
constexpr int16_t WidthItem = 8;
constexpr int32_t WidthImage = 32595;
constexpr int32_t WidthGreyedImage = 32641;
constexpr int16_t Show2DCheck = 35;
constexpr int16_t Pen2DItem = 37;
constexpr int16_t Pen2DControl = 38;
constexpr int16_t RadioRight = 46;  // first layout: the road right of the line, on it, left of it
constexpr int16_t RadioAxis = 47;
constexpr int16_t RadioLeft = 48;
constexpr int16_t RadioGroup = 1;
constexpr int16_t ObstacleCheck = 44;  // second layout: obstacle lines, their pen pair and line type
constexpr int16_t ObstaclePen = 46;
constexpr int16_t ObstaclePenControl = 47;
constexpr int16_t ObstacleLineType = 48;

// One layout's material items: the road top, then the two slopes, and the box linking them.
struct MaterialLink {
    int16_t top;
    int16_t a;
    int16_t b;
    int16_t box;
};
constexpr MaterialLink FirstMaterials = {30, 31, 32, 33};
constexpr MaterialLink SecondMaterials = {29, 30, 31, 32};

void ShowWidth(int16_t dialogId, const RoadDialogState& state) {
    DGSetItemValDouble(dialogId, WidthItem, state.width);
    const bool editable = state.widthLocked == 0 && state.widthEditable != 0;
    if (!editable) DGSetItemImage(dialogId, WidthPicture, DG::Image(ACAPI_GetOwnResModule(), WidthGreyedImage));
    EnableItems(dialogId, editable, {WidthItem});
}

int16_t CheckedReferenceLine(int16_t dialogId) {
    const int16_t radio = DGGetCheckedRadio(dialogId, RadioGroup);
    return radio == RadioRight ? 1 : radio == RadioAxis ? 2 : 3;
}

// The other two material items follow the one changed while the link box is on.
void FollowMaterials(int16_t dialogId, int16_t item, const MaterialLink& link) {
    if (!DGGetCheckBoxState(dialogId, link.box)) return;
    const int16_t source = item == link.box ? link.top : item;
    if (source != link.top && source != link.a && source != link.b) return;
    const int32_t value = DGGetItemValLong(dialogId, source);
    for (int16_t target : {link.top, link.a, link.b})
        if (target != source) DGSetItemValLong(dialogId, target, value);
}

template <bool First>
struct RoadHandlers {
    static const SettingsLayout& Layout() { return First ? FirstLayout : SecondLayout; }

    static bool Usable(const RoadSettingsBlock& block) { return block.state != nullptr; }

    static void Init(int16_t dialogId, RoadSettingsBlock& block) {
        block.frame.head.dialogId = uint16_t(dialogId);
        InitSettingsLayout(dialogId, Layout(), block.frame.head.mode);
        const RoadData& work = block.frame.work;
        if (First) {
            SetLabel(dialogId, 5, ImportTableBase, 16);  // "Highway"
            SetLabel(dialogId, 12, GeneralTableBase, 63);
            SetLabel(dialogId, 14, ImportTableBase, 17);
            SetLabel(dialogId, 21, GeneralTableBase, 64);
            SetLabel(dialogId, 27, GeneralTableBase, 66);
            DGSetItemText(dialogId, 42, GS::UniString("ID:"));
        } else {
            const int16_t items[] = {6, 9, 10, 15, 20, 25, 33, 42, 49};
            const int32_t entries[] = {71, 63, 74, 75, 64, 65, 66, 67, 39};
            for (size_t i = 0; i < std::size(items); ++i) SetLabel(dialogId, items[i], GeneralTableBase, entries[i]);
            DGSetItemText(dialogId, 50, GS::UniString("ID:"));
        }
        Frame::ShowValues(dialogId, block.frame);
        if (First) {
            const int16_t line = block.state->referenceLine;
            DGSelectRadio(dialogId, line == 1 ? RadioRight : line == 2 ? RadioAxis : RadioLeft);
            EnableItems(dialogId, block.state->radiosEnabled != 0, {RadioRight, RadioAxis, RadioLeft});
        }
        EnableItems(dialogId, work.show2D != 0, {Pen2DItem, Pen2DControl});
        if (!First)
            EnableItems(dialogId, work.obstacleShow2D != 0, {ObstaclePen, ObstaclePenControl, ObstacleLineType});
        ShowWidth(dialogId, *block.state);
        FinishSettingsLayoutInit(dialogId, Layout(), block.frame.head);
    }

    static void Change(int16_t dialogId, int16_t item, RoadSettingsBlock& block) {
        FollowMaterials(dialogId, item, First ? FirstMaterials : SecondMaterials);
        if (item == Show2DCheck)
            EnableItems(dialogId, DGGetCheckBoxState(dialogId, Show2DCheck), {Pen2DItem, Pen2DControl});
        if (!First && item == ObstacleCheck)
            EnableItems(dialogId, DGGetCheckBoxState(dialogId, ObstacleCheck),
                        {ObstaclePen, ObstaclePenControl, ObstacleLineType});
        Frame::Change(dialogId, item, block.frame);
    }

    static void Track(int16_t dialogId, int16_t item, RoadSettingsBlock& block) {
        Frame::Track(dialogId, item, block.frame);
    }

    static int16_t Click(int16_t dialogId, int16_t item, RoadSettingsBlock& block) {
        if (item == Layout().layoutButton) {
            block.state->width = DGGetItemValDouble(dialogId, WidthItem);
            if (First) block.state->referenceLine = CheckedReferenceLine(dialogId);
        }
        return Frame::Click(dialogId, item, block.frame);
    }

    static void Close(int16_t dialogId, int16_t item, RoadSettingsBlock& block) {
        block.frame.head.dialogId = 0;
        if (item != SettingsItemOK) return;
        RoadDialogState& state = *block.state;
        if (state.widthEditable != 0) state.width = DGGetItemValDouble(dialogId, WidthItem);
        RoadData& work = block.frame.work;
        const RoadData& record = *block.frame.record;
        Frame::ReadValues(dialogId, block.frame);
        // A pen edited under a box the user then cleared is no wish: those fields stay as the record has them,
        // also when the edit came across a layout switch.
        if (work.show2D == 0) work.pen2D = record.pen2D;
        if (!First && work.obstacleShow2D == 0) {
            work.obstaclePen = record.obstaclePen;
            work.obstacleLineType = record.obstacleLineType;
        }
        // The second layout has no radios: it writes the choice the first layout left in the state, so a line
        // chosen there and confirmed here is not lost.
        if (First) state.referenceLine = CheckedReferenceLine(dialogId);
        Frame::Store(block.frame);
    }

    static void Update(int16_t dialogId, int16_t item, RoadSettingsBlock& block, DGMessageData data) {
        Frame::Update(dialogId, item, block.frame, data);
    }

    static constexpr
        typename ModalDialog<RoadSettingsBlock>::Handlers table = {Usable, Init, Click, Change, Close, Track, Update};

    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                            DGMessageData messageData) {
        return ModalDialog<RoadSettingsBlock>::Dispatch(Layout().resourceId, table, message, dialogId, item, userData,
                                                        messageData);
    }

    static DialogAnswer Open(RoadDialogState& state, SettingsMode mode) {
        return OpenWrappedLayout<RoadSettingsBlock>(state, Layout(), RoadAccess, Callback, mode);
    }
};

}  // namespace

namespace RoadSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return RoadHandlers<true>::Callback(message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return RoadHandlers<false>::Callback(message, dialogId, item, userData, messageData);
}
}  // namespace RoadSettingsDlg

DialogAnswer OpenRoadSettingsDialog(RoadDialogState& state, SettingsMode mode) {
    return RoadHandlers<true>::Open(state, mode);
}
DialogAnswer OpenRoadSettingsDialogTwin(RoadDialogState& state, SettingsMode mode) {
    return RoadHandlers<false>::Open(state, mode);
}
DialogAnswer OpenRoadSettingsLayout(RoadDialogState& state, int32_t layout, SettingsMode mode) {
    return layout == 0 ? OpenRoadSettingsDialog(state, mode) : OpenRoadSettingsDialogTwin(state, mode);
}
