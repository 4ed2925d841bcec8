#include "dialogs/settings/PlateauSettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<PlateauSettings>;

const SettingsRecordAccess<PlateauSettings>& PlateauAccess = TableRecordAccess<PlateauSettings>;

constexpr auto FirstItems = TableFieldItems<PlateauSettings, 0>();
constexpr auto SecondItems = TableFieldItems<PlateauSettings, 1>();
constexpr int32_t PlateauTitle = 10;
const SettingsLayout FirstLayout = {32553, true, PlateauTitle, 560, 513, 44, 41, FirstItems.data(), FirstItems.size()};
const SettingsLayout SecondLayout = {
    32505, false, PlateauTitle, 670, 495, 54, 53, SecondItems.data(), SecondItems.size()};

constexpr int16_t SlopedCheck = 9;
constexpr int16_t SlopePicture = 10;
constexpr int16_t SlopeItem = 11;
constexpr int16_t DirectionPicture = 12;
constexpr int16_t DirectionItem = 13;
constexpr int32_t SlopeImage = 32575;
constexpr int32_t SlopeGreyedImage = 32642;
constexpr int32_t DirectionGreyedImage = 32643;
constexpr double ToDegrees = 57.29577951308232;
constexpr double ToRadians = 0.017453292519943295;

// One layout's items that differ: the 2D view box with its pen pair, the materials and their link box, the
// obstacle box with its pen pair and line type (second layout only).
struct LayoutItems {
    int16_t show2D, pen2D, pen2DControl;
    int16_t top, cut, fill, link;
    int16_t obstacles, obstaclePen, obstaclePenControl, obstacleLineType;
};
constexpr LayoutItems FirstParts = {35, 37, 38, 30, 31, 32, 33, 0, 0, 0, 0};
constexpr LayoutItems SecondParts = {34, 36, 37, 28, 29, 30, 31, 43, 45, 46, 47};

void ShowImage(int16_t dialogId, int16_t item, int32_t image) {
    DGSetItemImage(dialogId, item, DG::Image(ACAPI_GetOwnResModule(), image));
}

// The other two material items follow the one changed while the link box is on (the box itself: the top's).
void FollowMaterials(int16_t dialogId, int16_t item, const LayoutItems& parts) {
    if (!DGGetCheckBoxState(dialogId, parts.link)) return;
    const int16_t source = item == parts.link ? parts.top : item;
    if (source != parts.top && source != parts.cut && source != parts.fill) return;
    const int32_t value = DGGetItemValLong(dialogId, source);
    for (int16_t target : {parts.top, parts.cut, parts.fill})
        if (target != source) DGSetItemValLong(dialogId, target, value);
}

// The direction item is edited only on placed plateaus that are all sloped.
bool DirectionEditable(const PlateauDialogState& state) { return state.kindFixed != 0 && state.slopeEditable != 0; }

// The direction as the item holds it against what it was shown: the degrees round trip alone is no change.
void TakeDirection(int16_t dialogId, PlateauSettingsBlock& block) {
    PlateauDialogState& state = *block.state;
    state.directionChanged = 0;
    if (!DirectionEditable(state)) return;
    const double shown = DGGetItemValDouble(dialogId, DirectionItem);
    if (shown != block.shownDirection) {
        state.direction = shown * ToRadians;
        block.shownDirection = shown;
        state.directionChanged = 1;
    }
}

template <bool First>
struct PlateauHandlers {
    static const SettingsLayout& Layout() { return First ? FirstLayout : SecondLayout; }
    static const LayoutItems& Parts() { return First ? FirstParts : SecondParts; }

    static bool Usable(const PlateauSettingsBlock& block) { return block.state != nullptr; }

    static void Init(int16_t dialogId, PlateauSettingsBlock& block) {
        block.frame.head.dialogId = uint16_t(dialogId);
        InitSettingsLayout(dialogId, Layout(), block.frame.head.mode);
        const PlateauDialogState& state = *block.state;
        const PlateauSettings& work = block.frame.work;
        if (First) {
            const int16_t items[] = {5, 9, 15, 21, 27};
            const int32_t entries[] = {61, 62, 63, 64, 66};
            for (size_t i = 0; i < std::size(items); ++i) SetLabel(dialogId, items[i], GeneralTableBase, entries[i]);
            DGSetItemText(dialogId, 42, GS::UniString("ID:"));
        } else {
            const int16_t items[] = {6, 9, 14, 19, 24, 32, 41, 48};
            const int32_t entries[] = {61, 62, 63, 64, 65, 66, 67, 39};
            for (size_t i = 0; i < std::size(items); ++i) SetLabel(dialogId, items[i], GeneralTableBase, entries[i]);
            DGSetItemText(dialogId, 49, GS::UniString("ID:"));
        }
        Frame::ShowValues(dialogId, block.frame);
        const LayoutItems& parts = Parts();
        EnableItems(dialogId, work.show2D != 0, {parts.pen2D, parts.pen2DControl});
        if (!First) {
            EnableItems(dialogId, work.obstacleShow2D != 0,
                        {parts.obstaclePen, parts.obstaclePenControl, parts.obstacleLineType});
            block.shownDirection = state.direction * ToDegrees;
            DGSetItemValDouble(dialogId, DirectionItem, block.shownDirection);
        }
        const bool slopeEnabled = state.kindFixed != 0 ? state.slopeEditable != 0 : work.sloped != 0;
        if (state.kindFixed != 0) DGDisableItem(dialogId, SlopedCheck);
        if (!slopeEnabled) ShowImage(dialogId, SlopePicture, SlopeGreyedImage);
        EnableItems(dialogId, slopeEnabled, {SlopeItem});
        if (!First) {
            if (!DirectionEditable(state)) ShowImage(dialogId, DirectionPicture, DirectionGreyedImage);
            EnableItems(dialogId, DirectionEditable(state), {DirectionItem});
        }
        FinishSettingsLayoutInit(dialogId, Layout(), block.frame.head);
    }

    static void Change(int16_t dialogId, int16_t item, PlateauSettingsBlock& block) {
        const LayoutItems& parts = Parts();
        if (item == SlopedCheck) {
            const bool on = DGGetCheckBoxState(dialogId, SlopedCheck);
            ShowImage(dialogId, SlopePicture, on ? SlopeImage : SlopeGreyedImage);
            EnableItems(dialogId, on, {SlopeItem});
        }
        FollowMaterials(dialogId, item, parts);
        if (item == parts.show2D)
            EnableItems(dialogId, DGGetCheckBoxState(dialogId, parts.show2D), {parts.pen2D, parts.pen2DControl});
        if (!First && item == parts.obstacles)
            EnableItems(dialogId, DGGetCheckBoxState(dialogId, parts.obstacles),
                        {parts.obstaclePen, parts.obstaclePenControl, parts.obstacleLineType});
        Frame::Change(dialogId, item, block.frame);
    }

    static void Track(int16_t dialogId, int16_t item, PlateauSettingsBlock& block) {
        Frame::Track(dialogId, item, block.frame);
    }

    static int16_t Click(int16_t dialogId, int16_t item, PlateauSettingsBlock& block) {
        if (!First && item == Layout().layoutButton) TakeDirection(dialogId, block);
        return Frame::Click(dialogId, item, block.frame);
    }

    static void Close(int16_t dialogId, int16_t item, PlateauSettingsBlock& block) {
        block.frame.head.dialogId = 0;
        if (item != SettingsItemOK) return;
        PlateauSettings& work = block.frame.work;
        const PlateauSettings& record = *block.frame.record;
        const LayoutItems& parts = Parts();
        Frame::ReadValues(dialogId, block.frame);
        if (!First) TakeDirection(dialogId, block);
        // Values under a box the user left off are no wish: those fields stay as the record has them.
        if (!DGGetCheckBoxState(dialogId, SlopedCheck)) work.slope = record.slope;
        if (!DGGetCheckBoxState(dialogId, parts.show2D)) work.pen2D = record.pen2D;
        if (!First && !DGGetCheckBoxState(dialogId, parts.obstacles)) {
            work.obstaclePen = record.obstaclePen;
            work.obstacleLineType = record.obstacleLineType;
        }
        Frame::Store(block.frame);
    }

    static void Update(int16_t dialogId, int16_t item, PlateauSettingsBlock& block, DGMessageData data) {
        Frame::Update(dialogId, item, block.frame, data);
    }

    static constexpr typename ModalDialog<PlateauSettingsBlock>::Handlers table = {Usable, Init,  Click, Change,
                                                                                   Close,  Track, Update};

    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                            DGMessageData messageData) {
        return ModalDialog<PlateauSettingsBlock>::Dispatch(Layout().resourceId, table, message, dialogId, item,
                                                           userData, messageData);
    }

    static DialogAnswer Open(PlateauDialogState& state, SettingsMode mode) {
        return OpenWrappedLayout<PlateauSettingsBlock>(state, Layout(), PlateauAccess, Callback, mode);
    }
};

}  // namespace

namespace PlateauSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return PlateauHandlers<true>::Callback(message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return PlateauHandlers<false>::Callback(message, dialogId, item, userData, messageData);
}
}  // namespace PlateauSettingsDlg

DialogAnswer OpenPlateauSettingsDialog(PlateauDialogState& state, SettingsMode mode) {
    return PlateauHandlers<true>::Open(state, mode);
}
DialogAnswer OpenPlateauSettingsDialogTwin(PlateauDialogState& state, SettingsMode mode) {
    return PlateauHandlers<false>::Open(state, mode);
}
DialogAnswer OpenPlateauSettingsLayout(PlateauDialogState& state, int32_t layout, SettingsMode mode) {
    return layout == 0 ? OpenPlateauSettingsDialog(state, mode) : OpenPlateauSettingsDialogTwin(state, mode);
}
