#include "dialogs/settings/SidewalkSettingsDialog.hpp"

#include "dialogs/settings/SettingsLabelSteps.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<SidewalkSettings>;
using Block = SettingsDialogBlock<SidewalkSettings>;

const SettingsRecordAccess<SidewalkSettings>& SidewalkAccess = TableRecordAccess<SidewalkSettings>;

constexpr auto FirstItems = TableFieldItems<SidewalkSettings, 0>();
constexpr auto SecondItems = TableFieldItems<SidewalkSettings, 1>();
constexpr int32_t SidewalkTitle = 16;
const SettingsLayout FirstLayout = {32552, true, SidewalkTitle, 370, 460, 28, 25, FirstItems.data(), FirstItems.size()};
const SettingsLayout SecondLayout = {
    32515, false, SidewalkTitle, 460, 475, 34, 33, SecondItems.data(), SecondItems.size()};

constexpr int16_t WidthPicture = 7;
constexpr int16_t WidthItem = 8;
constexpr int32_t WidthGreyedImage = 32637;
constexpr int16_t Show2DCheck = 21;  // second layout
constexpr int16_t Pen2DItem = 23;
constexpr int16_t Pen2DControl = 24;
constexpr int16_t LinkBox = 18;  // second layout: the three surfaces follow each other
constexpr int16_t TopMaterial = 15;
constexpr int16_t CutMaterial = 16;
constexpr int16_t FillMaterial = 17;

// The compact layout shows one side material and always draws in 2D.
void ReadFirst(int16_t dialogId, Block& block) {
    Frame::ReadValues(dialogId, block);
    block.work.cutMaterial = block.work.fillMaterial;
    block.work.show2D = 1;
}

void FollowMaterials(int16_t dialogId, int16_t item) {
    if (!DGGetCheckBoxState(dialogId, LinkBox)) return;
    const int16_t source = item == LinkBox ? TopMaterial : item;
    if (source != TopMaterial && source != CutMaterial && source != FillMaterial) return;
    const int32_t value = DGGetItemValLong(dialogId, source);
    for (int16_t target : {TopMaterial, CutMaterial, FillMaterial})
        if (target != source) DGSetItemValLong(dialogId, target, value);
}

template <bool First>
struct SidewalkHandlers {
    static const SettingsLayout& Layout() { return First ? FirstLayout : SecondLayout; }

    static bool Usable(const SidewalkSettingsBlock& block) { return block.state != nullptr; }

    static void Init(int16_t dialogId, SidewalkSettingsBlock& block) {
        block.frame.head.dialogId = uint16_t(dialogId);
        InitSettingsLayout(dialogId, Layout(), block.frame.head.mode);
        const SidewalkDialogState& state = *block.state;
        if (First) {
            SetLabel(dialogId, 5, ImportTableBase, 15);
            SetLabel(dialogId, 15, GeneralTableBase, 66);
            DGSetItemText(dialogId, 26, GS::UniString("ID:"));
        } else {
            const int16_t items[] = {6, 11, 19, 28};
            const int32_t entries[] = {76, 65, 66, 39};
            for (size_t i = 0; i < std::size(items); ++i) SetLabel(dialogId, items[i], GeneralTableBase, entries[i]);
            DGSetItemText(dialogId, 29, GS::UniString("ID:"));
        }
        Frame::ShowValues(dialogId, block.frame);
        if (!First) {
            EnableItems(dialogId, block.frame.work.show2D != 0, {Pen2DItem, Pen2DControl});
            DGSetItemValDouble(dialogId, WidthItem, state.width);
            const bool editable = state.widthLocked == 0 && state.widthEditable != 0;
            if (!editable) DGSetItemImage(dialogId, WidthPicture, DG::Image(ACAPI_GetOwnResModule(), WidthGreyedImage));
            EnableItems(dialogId, editable, {WidthItem});
        }
        FinishSettingsLayoutInit(dialogId, Layout(), block.frame.head);
    }

    static void Change(int16_t dialogId, int16_t item, SidewalkSettingsBlock& block) {
        if (!First) {
            FollowMaterials(dialogId, item);
            if (item == Show2DCheck)
                EnableItems(dialogId, DGGetCheckBoxState(dialogId, Show2DCheck), {Pen2DItem, Pen2DControl});
        }
        Frame::Change(dialogId, item, block.frame);
    }

    static void Track(int16_t dialogId, int16_t item, SidewalkSettingsBlock& block) {
        Frame::Track(dialogId, item, block.frame);
    }

    static int16_t Click(int16_t dialogId, int16_t item, SidewalkSettingsBlock& block) {
        if (First) return Frame::ClickReading<ReadFirst>(dialogId, item, block.frame);
        if (item == Layout().layoutButton) block.state->width = DGGetItemValDouble(dialogId, WidthItem);
        return Frame::Click(dialogId, item, block.frame);
    }

    static void Close(int16_t dialogId, int16_t item, SidewalkSettingsBlock& block) {
        block.frame.head.dialogId = 0;
        if (item != SettingsItemOK) return;
        if (First) {
            ReadFirst(dialogId, block.frame);
        } else {
            SidewalkDialogState& state = *block.state;
            if (state.widthEditable != 0 && state.widthLocked == 0)
                state.width = DGGetItemValDouble(dialogId, WidthItem);
            Frame::ReadValues(dialogId, block.frame);
            // A pen edited under the 2D box the user then cleared is no wish.
            if (!DGGetCheckBoxState(dialogId, Show2DCheck)) block.frame.work.pen2D = block.frame.record->pen2D;
        }
        Frame::Store(block.frame);
    }

    static void Update(int16_t dialogId, int16_t item, SidewalkSettingsBlock& block, DGMessageData data) {
        Frame::Update(dialogId, item, block.frame, data);
    }

    static constexpr typename ModalDialog<SidewalkSettingsBlock>::Handlers table = {Usable, Init,  Click, Change,
                                                                                    Close,  Track, Update};

    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                            DGMessageData messageData) {
        return ModalDialog<SidewalkSettingsBlock>::Dispatch(Layout().resourceId, table, message, dialogId, item,
                                                            userData, messageData);
    }

    static DialogAnswer Open(SidewalkDialogState& state, SettingsMode mode) {
        return OpenWrappedLayout<SidewalkSettingsBlock>(state, Layout(), SidewalkAccess, Callback, mode);
    }
};

}  // namespace

namespace SidewalkSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return SidewalkHandlers<true>::Callback(message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return SidewalkHandlers<false>::Callback(message, dialogId, item, userData, messageData);
}
}  // namespace SidewalkSettingsDlg

DialogAnswer OpenSidewalkSettingsDialog(SidewalkDialogState& state, SettingsMode mode) {
    return SidewalkHandlers<true>::Open(state, mode);
}
DialogAnswer OpenSidewalkSettingsDialogTwin(SidewalkDialogState& state, SettingsMode mode) {
    return SidewalkHandlers<false>::Open(state, mode);
}
DialogAnswer OpenSidewalkSettingsLayout(SidewalkDialogState& state, int32_t layout, SettingsMode mode) {
    return layout == 0 ? OpenSidewalkSettingsDialog(state, mode) : OpenSidewalkSettingsDialogTwin(state, mode);
}
