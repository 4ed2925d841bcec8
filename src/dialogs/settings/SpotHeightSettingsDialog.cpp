#include "dialogs/settings/SpotHeightSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/settings/WrappedSettingsDialog.hpp"

#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<SpotHeightSettings>;
using Block = SpotHeightSettingsBlock;

const SettingsRecordAccess<SpotHeightSettings>& Access = TableRecordAccess<SpotHeightSettings>;

constexpr auto FirstItems = TableFieldItems<SpotHeightSettings, 0>();
constexpr auto SecondItems = TableFieldItems<SpotHeightSettings, 1>();

constexpr int16_t TitleIndex = 19;
const SettingsLayout First = {32551, true, TitleIndex, 350, 403, 39, 38, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32518, false, TitleIndex, 460, 522, 47, 46, SecondItems.data(), SecondItems.size()};

constexpr int16_t TypeGroup = 1;
constexpr int16_t FirstType = 7;
constexpr int32_t TypeIcons[8] = {32617, 32616, 32615, 32614, 32613, 32612, 32611, 32505};
constexpr int16_t FontPopup1 = 30, FontPopup2 = 26;
constexpr int16_t ContentPopup = 35;
constexpr int16_t ContentGroup = 2;
constexpr int16_t FirstContentRadio = 31;
constexpr int16_t ShownCheck = 25, ShownIcon = 26;
constexpr int16_t MapCheck = 39, MapIconX = 40, StepXItem = 41, MapIconY = 42, StepYItem = 43;
constexpr int32_t MapIconsOn[2] = {32606, 32605};
constexpr int32_t MapIconsOff[2] = {32645, 32644};
constexpr int32_t ContentTexts[7] = {81, 82, 211, 83, 212, 213, 214};
// Altitude, code and comment flags of each text content entry.
constexpr int16_t ContentFlags[7][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};

bool IsFirst(const Block& b) { return b.frame.layout->first; }

// Whether the text content is the user's to change: not while editing a selection with level markers in it.
bool ContentEditable(const Block& b) { return b.state->editing == 0 || b.state->pointMarkersOnly != 0; }

void ShowMap(int16_t dialogId, bool on) {
    SetItemImageFromResource(dialogId, MapIconX, on ? MapIconsOn[0] : MapIconsOff[0]);
    SetItemImageFromResource(dialogId, MapIconY, on ? MapIconsOn[1] : MapIconsOff[1]);
    on ? DGEnableItem(dialogId, StepXItem) : DGDisableItem(dialogId, StepXItem);
    on ? DGEnableItem(dialogId, StepYItem) : DGDisableItem(dialogId, StepYItem);
}

void InitTypes(int16_t dialogId, Block& block) {
    const int16_t type = block.frame.work.symbol;
    const int16_t count = IsFirst(block) ? 8 : 7;
    for (int16_t k = 0; k < count; ++k) SetItemImageFromResource(dialogId, FirstType + k, TypeIcons[k]);
    const int16_t shown = type >= 1 && type < count ? type : count;
    DGSelectRadio(dialogId, int16_t(FirstType - 1 + shown));
    block.typePicked = 0;
}

int16_t ReadType(int16_t dialogId, const Block& block) {
    const int16_t radio = DGGetCheckedRadio(dialogId, TypeGroup);
    const int16_t count = IsFirst(block) ? 8 : 7;
    const int16_t type = radio >= FirstType && radio < FirstType + count ? int16_t(radio - FirstType + 1) : count;
    // The second layout has no eighth type: a marker of that type keeps it unless the user picks another.
    if (!IsFirst(block) && block.typePicked == 0 && block.frame.work.symbol == 8 && type == 7) return 8;
    return type;
}

void ReadItems(int16_t dialogId, Block& block) {
    SpotHeightSettings& work = block.frame.work;
    Frame::ReadValues(dialogId, block.frame);
    work.symbol = ReadType(dialogId, block);
    ReadFontPopup(dialogId, IsFirst(block) ? FontPopup1 : FontPopup2, work.font);
    if (ContentEditable(block)) {
        const int32_t entry = IsFirst(block) ? DGPopUpGetSelected(dialogId, ContentPopup)
                                             : DGGetCheckedRadio(dialogId, ContentGroup) - FirstContentRadio + 1;
        const int32_t row = entry >= 1 && entry <= 7 ? entry - 1 : 6;
        work.showLevel = ContentFlags[row][0];
        work.showCode = ContentFlags[row][1];
        work.showComment = ContentFlags[row][2];
    }
    if (!IsFirst(block) && block.state->levelMarker != 0 && block.state->editing == 0) {
        work.mode = DGGetCheckBoxState(dialogId, MapCheck) ? 1 : 0;
        if (work.mode != 0) {
            work.stepX = DGGetItemValDouble(dialogId, StepXItem);
            work.stepY = DGGetItemValDouble(dialogId, StepYItem);
        }
    }
}

bool Usable(const Block& block) { return block.state != nullptr && Frame::Usable(block.frame); }

void Init(int16_t dialogId, Block& block) {
    block.frame.head.dialogId = uint16_t(dialogId);
    const SettingsLayout& layout = *block.frame.layout;
    const MarkerDialogState& s = *block.state;
    const SpotHeightSettings& work = block.frame.work;
    InitSettingsLayout(dialogId, layout, block.frame.head.mode);
    const bool first = layout.first;
    if (first) {
        SetSettingsLabels(dialogId, {SettingsLabel{5, GeneralTableBase, 56}, SettingsLabel{27, GeneralTableBase, 78}});
        DGSetItemText(dialogId, 33, GS::UniString("mm"));
        DGSetItemText(dialogId, ShownCheck, Text(GeneralTableBase, 56));
        for (int k = 0; k < 7; ++k) {
            DGPopUpInsertItem(dialogId, ContentPopup, DG_POPUP_BOTTOM);
            DGPopUpSetItemText(dialogId, ContentPopup, k + 1, Text(GeneralTableBase, ContentTexts[k]));
        }
    } else {
        SetSettingsLabels(dialogId,
                          {SettingsLabel{6, GeneralTableBase, 56}, SettingsLabel{24, GeneralTableBase, 78},
                           SettingsLabel{38, GeneralTableBase, 79}, SettingsLabel{39, GeneralTableBase, 80}});
        DGSetItemText(dialogId, 29, GS::UniString("mm"));
        for (int k = 0; k < 7; ++k)
            DGSetItemText(dialogId, int16_t(FirstContentRadio + k), Text(GeneralTableBase, ContentTexts[k]));
    }
    FillFontPopup(dialogId, first ? FontPopup1 : FontPopup2, work.font);
    Frame::ShowValues(dialogId, block.frame);
    InitTypes(dialogId, block);

    // The text content: "code" unless the altitude or the comment says otherwise.
    const bool a = work.showLevel == 1, c = work.showCode == 1, m = work.showComment == 1;
    const int32_t entry = !m ? (a ? (c ? 4 : 1) : 2) : (a ? (c ? 7 : 5) : (c ? 6 : 3));
    if (first)
        DGPopUpSelectItem(dialogId, ContentPopup, entry);
    else
        DGSelectRadio(dialogId, int16_t(FirstContentRadio + entry - 1));
    const bool placingLevel = s.editing == 0 && s.levelMarker != 0;
    if (first) {
        if (s.editing != 0 && s.pointMarkersOnly == 0) DGDisableItem(dialogId, ContentPopup);
        if (placingLevel) {
            DGPopUpSelectItem(dialogId, ContentPopup, 1);
            for (int32_t k = 2; k <= 7; ++k) DGPopUpSetItemStatus(dialogId, ContentPopup, k, DG_IS_DISABLE);
        }
    } else if (placingLevel) {
        DGSetCheckBoxState(dialogId, MapCheck, work.mode != 0);
        DGSetItemValDouble(dialogId, StepXItem, work.stepX);
        DGSetItemValDouble(dialogId, StepYItem, work.stepY);
        ShowMap(dialogId, work.mode != 0);
        DGSelectRadio(dialogId, FirstContentRadio);
        for (int16_t k = 0; k < 7; ++k) DGDisableItem(dialogId, int16_t(FirstContentRadio + k));
    } else {
        DGSetCheckBoxState(dialogId, MapCheck, false);
        DGSetItemValDouble(dialogId, StepXItem, 0.0);
        DGSetItemValDouble(dialogId, StepYItem, 0.0);
        DGDisableItem(dialogId, MapCheck);
        ShowMap(dialogId, false);
        if (s.editing != 0 && s.pointMarkersOnly == 0)
            for (int16_t k = 0; k < 7; ++k) DGDisableItem(dialogId, int16_t(FirstContentRadio + k));
    }
    FinishSettingsLayoutInit(dialogId, layout, block.frame.head);
}

void Change(int16_t dialogId, int16_t item, Block& block) {
    if (!IsFirst(block) && item == MapCheck) ShowMap(dialogId, DGGetCheckBoxState(dialogId, MapCheck));
    Frame::Change(dialogId, item, block.frame);
}

int16_t Click(int16_t dialogId, int16_t item, Block& block) {
    if (item >= FirstType && item < FirstType + (IsFirst(block) ? 8 : 7)) block.typePicked = 1;
    if (IsFirst(block) && item == ShownIcon)
        DGSetCheckBoxState(dialogId, ShownCheck, !DGGetCheckBoxState(dialogId, ShownCheck));
    if (!IsFirst(block) && item == MapCheck) ShowMap(dialogId, DGGetCheckBoxState(dialogId, MapCheck));
    if (item != block.frame.layout->layoutButton) return Frame::Click(dialogId, item, block.frame);
    return SwitchWrappedLayout(dialogId, block, ReadItems);
}

constexpr ModalDialog<Block>::Handlers Table = {
    Usable, Init, Click, Change, CloseWrappedBy<Block, ReadItems>, TrackWrapped<Block>, UpdateWrapped<Block>};

}  // namespace

namespace SpotHeightSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, messageData);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData) {
    return ModalDialog<Block>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, messageData);
}
}  // namespace SpotHeightSettingsDlg

DialogAnswer OpenSpotHeightSettingsDialog(MarkerDialogState& state, SettingsMode mode) {
    Block block;
    return RunWrappedLayouts(block, state, First, Second, Access, SpotHeightSettingsDlg::Callback,
                             SpotHeightSettingsDlg::CallbackTwin, mode);
}

bool ConfirmSpotHeightGrid(int32_t nodeCount) {
    QV_String text, number, tail, yes, no;
    GetResString(text, GeneralTableBase + LanguageIndex, 96);
    GetResString(tail, GeneralTableBase + LanguageIndex, 97);
    GetResString(yes, GeneralTableBase + LanguageIndex, 98);
    GetResString(no, GeneralTableBase + LanguageIndex, 99);
    number.FromLong(nodeCount);
    // Half a question is no question: the whole counts as unread when a part is.
    if (IsResText(text) && IsResText(tail)) {
        text += number;
        text += tail;
    } else if (IsResText(text)) {
        text = tail;
    }
    // Not asked (its words unread): no grid the user did not agree to.
    const int16_t answer = ShowAlert(AlertKind::Question, text, QV_String(), QV_String(), yes, no, QV_String());
    return answer != 0 && answer != 2;
}
