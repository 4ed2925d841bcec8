#include "dialogs/settings/BuildingSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

using Frame = SettingsDialog<BuildingSettings>;
using Block = BuildingSettingsBlock;

const SettingsRecordAccess<BuildingSettings>& Access = TableRecordAccess<BuildingSettings>;

// The fill control shows the colours of the three pens beside its pattern.
constexpr FieldItem FirstColours[] = {
    {30, BuildingSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {30, BuildingSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {30, BuildingSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr FieldItem SecondColours[] = {
    {29, BuildingSettings::Id::pen2D, FieldItemKind::PenColour, 0, 0},
    {29, BuildingSettings::Id::fillPen, FieldItemKind::PenColour, 0, 1},
    {29, BuildingSettings::Id::fillBackgroundPen, FieldItemKind::PenColour, 0, 2},
};
constexpr auto FirstItems = TableFieldItems<BuildingSettings, 0>(FirstColours);
constexpr auto SecondItems = TableFieldItems<BuildingSettings, 1>(SecondColours);

constexpr int16_t TitleIndex = 14;
const SettingsLayout First = {32561, true, TitleIndex, 350, 574, 36, 33, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32513, false, TitleIndex, 460, 485, 42, 41, SecondItems.data(), SecondItems.size()};

// What differs between the layouts beyond the frame's items.
struct LayoutItems {
    int16_t roofCheck;
    int16_t roofAngle;
    int16_t roofMaterial;
    int16_t roofIcons[3];
    int16_t backgroundPenControl;  // 0: not shown
};
constexpr LayoutItems FirstLayout = {16, 18, 20, {15, 17, 19}, 0};
constexpr LayoutItems SecondLayout = {12, 14, 20, {11, 13, 19}, 32};
constexpr int32_t RoofOnIcons[3] = {32591, 32592, 32594};
constexpr int32_t RoofOffIcons[3] = {32638, 32640, 32639};

constexpr int16_t HeightItem = 8;
constexpr int16_t RadioTopographical = 9;
constexpr int16_t RadioRelative = 10;
constexpr int16_t HeightRadioGroup = 1;
constexpr double HeightMargin = 0.001;

const LayoutItems& ItemsOf(const Block& block) { return block.frame.layout->first ? FirstLayout : SecondLayout; }

void Enable(int16_t dialogId, int16_t item, bool on) {
    on ? DGEnableItem(dialogId, item) : DGDisableItem(dialogId, item);
}

void ShowRoof(int16_t dialogId, const LayoutItems& items, bool on) {
    for (int k = 0; k < 3; ++k)
        SetItemImageFromResource(dialogId, items.roofIcons[k], on ? RoofOnIcons[k] : RoofOffIcons[k]);
    Enable(dialogId, items.roofAngle, on);
    Enable(dialogId, items.roofMaterial, on);
}

double MinimumHeight(const BuildingDialogState& state) { return state.minHeight + HeightMargin; }

void InitHeight(int16_t dialogId, Block& block) {
    const BuildingDialogState& s = *block.state;
    const bool second = !block.frame.layout->first;
    const bool heightLocked = s.defaultMode != 0 || (s.editing != 0 && (s.several != 0 || s.unlinked != 0));
    if (second) DGSelectRadio(dialogId, RadioRelative);
    if (heightLocked) {
        block.keptHeight = 0.0;
        if (s.defaultMode != 0) DGSetItemValDouble(dialogId, HeightItem, block.keptHeight);
        DGDisableItem(dialogId, HeightItem);
        if (second) {
            DGDisableItem(dialogId, RadioTopographical);
            DGDisableItem(dialogId, RadioRelative);
        }
        return;
    }
    // Editing, or a layout switch that carries the user's height: the top level the record holds, but never
    // below the outline's highest point.
    const double minimumTop = s.baseLevel + MinimumHeight(s);
    if (s.editing != 0 || block.carried != 0)
        block.keptHeight = std::max(block.frame.work.topLevel, minimumTop) - s.baseLevel;
    else
        block.keptHeight = minimumTop - s.baseLevel;
    DGSetItemValDouble(dialogId, HeightItem, block.keptHeight);
    if (second) DGDisableItem(dialogId, RadioTopographical);
}

// Every item into the working copy; what the user cannot see or edit keeps the record's value.
void ReadItems(int16_t dialogId, Block& block) {
    Frame::ReadValues(dialogId, block.frame);
    BuildingSettings& work = block.frame.work;
    const BuildingSettings& record = *block.frame.record;
    if (work.showRoof == 0) {
        work.roofAngle = record.roofAngle;
        work.roofMaterial = record.roofMaterial;
    }
    if (!DGIsItemEnabled(dialogId, HeightItem)) {
        work.topLevel = record.topLevel;
        work.height = record.height;
        return;
    }
    const double base = block.state->baseLevel;
    block.topographical =
        !block.frame.layout->first && DGGetCheckedRadio(dialogId, HeightRadioGroup) == RadioTopographical ? 1 : 0;
    double kept = DGGetItemValDouble(dialogId, HeightItem);
    if (block.topographical == 0) kept += base;
    block.keptHeight = kept;
    work.topLevel = kept;
    work.height = kept - base;
}

bool Usable(const Block& block) { return block.state != nullptr && Frame::Usable(block.frame); }

void Init(int16_t dialogId, Block& block) {
    block.frame.head.dialogId = uint16_t(dialogId);
    const SettingsLayout& layout = *block.frame.layout;
    const LayoutItems& items = ItemsOf(block);
    InitSettingsLayout(dialogId, layout, block.frame.head.mode);
    if (items.backgroundPenControl != 0) {
        // A fill's background may be pen 0.
        API_UserControlBinding binding = {APIUserControl_PenWithZero, dialogId, items.backgroundPenControl};
        ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
    }
    if (layout.first) {
        SetSettingsLabels(dialogId,
                          {SettingsLabel{5, ImportTableBase, 22}, SettingsLabel{13, ImportTableBase, 23},
                           SettingsLabel{21, GeneralTableBase, 66}});
        DGSetItemText(dialogId, 34, GS::UniString("ID:"));
    } else {
        SetSettingsLabels(dialogId,
                          {SettingsLabel{6, GeneralTableBase, 70}, SettingsLabel{9, GeneralTableBase, 54},
                           SettingsLabel{10, GeneralTableBase, 55}, SettingsLabel{21, GeneralTableBase, 66},
                           SettingsLabel{36, GeneralTableBase, 39}});
        DGSetItemText(dialogId, 37, GS::UniString("ID:"));
    }
    Frame::ShowValues(dialogId, block.frame);
    ShowRoof(dialogId, items, block.frame.work.showRoof != 0);
    InitHeight(dialogId, block);
    FinishSettingsLayoutInit(dialogId, layout, block.frame.head);
}

void Change(int16_t dialogId, int16_t item, Block& block) {
    const LayoutItems& items = ItemsOf(block);
    if (item == HeightItem) {
        block.keptHeight = DGGetItemValDouble(dialogId, HeightItem);
        const double minimum = MinimumHeight(*block.state);
        // A building reaches above the highest point of its outline.
        if (minimum >= block.keptHeight) {
            block.keptHeight = minimum;
            DGSetItemValDouble(dialogId, HeightItem, minimum);
        }
        DGSetFocus(dialogId, DG_DIALOG_WINDOW);
    }
    if (item == items.roofCheck) ShowRoof(dialogId, items, DGGetCheckBoxState(dialogId, items.roofCheck));
    Frame::Change(dialogId, item, block.frame);
}

int16_t Click(int16_t dialogId, int16_t item, Block& block) {
    const LayoutItems& items = ItemsOf(block);
    if (item == items.roofCheck) ShowRoof(dialogId, items, DGGetCheckBoxState(dialogId, items.roofCheck));
    if (item != block.frame.layout->layoutButton) return Frame::Click(dialogId, item, block.frame);
    return SwitchWrappedLayout(dialogId, block, ReadItems);
}

constexpr ModalDialog<Block>::Handlers Table = {
    Usable, Init, Click, Change, CloseWrappedBy<Block, ReadItems>, TrackWrapped<Block>, UpdateWrapped<Block>};

}  // namespace

namespace BuildingSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, messageData);
}
}  // namespace BuildingSettingsDlg

DialogAnswer OpenBuildingSettingsDialog(BuildingDialogState& state, SettingsMode mode) {
    Block block;
    return RunWrappedLayouts(block, state, First, Second, Access, BuildingSettingsDlg::Callback,
                             BuildingSettingsDlg::CallbackTwin, mode, &block.carried);
}
