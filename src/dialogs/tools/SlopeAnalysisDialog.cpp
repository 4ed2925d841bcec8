#include "dialogs/tools/SlopeAnalysisDialog.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
// The block of the frame with the last bounds that rose strictly, which the edits snap back to.
struct SlopeBlock : SettingsDialogBlock<SlopeRangeSettings> {
    int16_t lastBounds[6] = {};
};
using Frame = SettingsDialog<SlopeRangeSettings>;

constexpr int16_t FirstBoundItem = 19;
constexpr int16_t SixthBoundShown = 25;
constexpr int16_t FirstLowerShown = 7;
constexpr int16_t LayoutButton = 67;
constexpr int16_t LayerItem = 66;
constexpr int16_t TitleIndex = 31;

const SettingsRecordAccess<SlopeRangeSettings>& Access = TableRecordAccess<SlopeRangeSettings>;

// The font popup is read and shown apart: its value is the entry's text.
constexpr auto FirstItems = TableFieldItems<SlopeRangeSettings, 0>();
constexpr auto SecondItems = TableFieldItems<SlopeRangeSettings, 1>();
const SettingsLayout First = {
    32548, true, TitleIndex, 700, 403, LayoutButton, LayerItem, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {
    32537, false, TitleIndex, 480, 741, LayoutButton, LayerItem, SecondItems.data(), SecondItems.size()};

const SettingsLabel FirstLabels[] = {{5, ImportTableBase, 9},     {40, GeneralTableBase, 56},
                                     {48, ImportTableBase, 10},   {50, GeneralTableBase, 199},
                                     {52, GeneralTableBase, 200}, {54, GeneralTableBase, 201}};
const SettingsLabel SecondLabels[] = {
    {6, GeneralTableBase, 196},  {40, GeneralTableBase, 197}, {45, GeneralTableBase, 198}, {46, GeneralTableBase, 199},
    {48, GeneralTableBase, 200}, {50, GeneralTableBase, 201}, {60, GeneralTableBase, 202}, {63, GeneralTableBase, 203}};

struct Names {
    int16_t show3D, lift, font;
};
Names NamesOf(const SlopeBlock& b) { return b.layout->first ? Names{45, 47, 57} : Names{42, 44, 53}; }

SlopeBlock& Of(Frame::Block& block) { return static_cast<SlopeBlock&>(block); }

void ShowBounds(int16_t dialogId, const int16_t bounds[6]) {
    for (int16_t k = 0; k < 6; ++k) DGSetItemValLong(dialogId, int16_t(FirstBoundItem + k), bounds[k]);
    for (int16_t k = 0; k < 5; ++k) {
        QV_String text;
        text.FromLong(bounds[k]);
        DGSetItemText(dialogId, int16_t(FirstLowerShown + k), GS::UniString(text.GetBuffer(), text.GetLength()));
    }
    DGSetItemValLong(dialogId, SixthBoundShown, bounds[5]);
}

void Init(int16_t dialogId, Frame::Block& frameBlock) {
    SlopeBlock& block = Of(frameBlock);
    const Names n = NamesOf(block);
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    if (block.layout->first)
        SetSettingsLabels(dialogId, FirstLabels);
    else
        SetSettingsLabels(dialogId, SecondLabels);
    DGSetItemText(dialogId, block.layout->first ? 60 : 56, GS::UniString("mm"));
    Frame::ShowValues(dialogId, block);
    int16_t bounds[6];
    for (int16_t k = 0; k < 6; ++k) bounds[k] = int16_t(block.work.GetShort(SlopeRangeSettings::Id::limit1 + k));
    std::memcpy(block.lastBounds, bounds, sizeof bounds);
    ShowBounds(dialogId, bounds);
    FillFontPopup(dialogId, n.font, block.work.font);
    DGDisableItem(dialogId, SixthBoundShown);
    DGSetItemEnable(dialogId, n.lift, block.work.show3D != 0);
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

// The font is the text of the chosen entry.
void ReadFont(int16_t dialogId, SlopeBlock& block) { ReadFontPopup(dialogId, NamesOf(block).font, block.work.font); }

void Change(int16_t dialogId, int16_t item, Frame::Block& frameBlock) {
    SlopeBlock& block = Of(frameBlock);
    const Names n = NamesOf(block);
    if (item >= FirstBoundItem && item < FirstBoundItem + 6) {
        int16_t bounds[6];
        for (int16_t k = 0; k < 6; ++k) bounds[k] = int16_t(DGGetItemValLong(dialogId, int16_t(FirstBoundItem + k)));
        if (SlopeBoundsIncrease(bounds)) {
            std::memcpy(block.lastBounds, bounds, sizeof bounds);
            ShowBounds(dialogId, bounds);
        } else {
            ShowBounds(dialogId, block.lastBounds);
            ShowAlert(Alert(AlertKind::Error, ErrorTitleText, AlertText{ErrorTableBase, IntervalsText}));
        }
        return;
    }
    if (item == n.show3D) DGSetItemEnable(dialogId, n.lift, DGGetCheckBoxState(dialogId, n.show3D));
    Frame::Change(dialogId, item, block);
}

int16_t Click(int16_t dialogId, int16_t item, Frame::Block& frameBlock) {
    SlopeBlock& block = Of(frameBlock);
    if (item == LayoutButton) ReadFont(dialogId, block);
    return Frame::Click(dialogId, item, block);
}

void Close(int16_t dialogId, int16_t item, Frame::Block& frameBlock) {
    SlopeBlock& block = Of(frameBlock);
    if (item == SettingsItemOK) ReadFont(dialogId, block);
    Frame::Close(dialogId, item, block);
}

constexpr ModalDialog<Frame::Block>::Handlers Handlers = {Frame::Usable, Init,         Click,        Change,
                                                          Close,         Frame::Track, Frame::Update};

constexpr DGDialCallBack Callback = Frame::CallbackWith<Handlers>;

DialogAnswer OpenLayout(SlopeBlock& block, SlopeRangeSettings& record, const SettingsLayout& layout, bool carry,
                        uint8_t changed[SlopeRangeSettings::FieldCount], bool* switched, SettingsMode mode) {
    block.head.mode = mode;
    const DialogAnswer answer = Frame::Open(block, record, layout, Access, carry, Callback);
    if (switched != nullptr) *switched = block.head.layoutSwitch != 0;
    if (answer == DialogAnswer::Confirmed) std::memcpy(changed, block.changed, 25);
    return answer;
}
}  // namespace

bool SlopeBoundsIncrease(const int16_t bounds[6]) {
    for (int k = 1; k < 6; ++k)
        if (bounds[k - 1] >= bounds[k]) return false;
    return true;
}

DialogAnswer OpenSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                     bool* switched, SettingsMode mode) {
    std::memset(changed, 0, 25);
    SlopeBlock block;
    return OpenLayout(block, record, First, false, changed, switched, mode);
}

DialogAnswer OpenSlopeAnalysisDialogTwin(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                         bool* switched, SettingsMode mode) {
    std::memset(changed, 0, 25);
    SlopeBlock block;
    return OpenLayout(block, record, Second, false, changed, switched, mode);
}

DialogAnswer RunSlopeAnalysisDialog(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                    SettingsMode mode) {
    std::memset(changed, 0, 25);
    SlopeBlock block;
    return RunDialogLayouts([&](int32_t layout, bool switched) {
        const DialogAnswer answer =
            OpenLayout(block, record, layout == 0 ? First : Second, switched, changed, nullptr, mode);
        return Frame::Closed(block, answer);
    });
}
