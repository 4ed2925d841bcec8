#include "dialogs/tools/SectionSettingsDialog.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
using Frame = SettingsDialog<SectionSettings>;

constexpr int16_t FontPopup = 27;
constexpr int16_t MillimetreLabel = 30;
constexpr int16_t TitleIndex = 21;

// Ids 1 and 10 are the record's doubles, 9 its font; the others its 16-bit fields.
const SettingsRecordAccess<SectionSettings>& Access = TableRecordAccess<SectionSettings>;

constexpr auto FirstItems = TableFieldItems<SectionSettings, 0>();
constexpr auto SecondItems = TableFieldItems<SectionSettings, 1>();
const SettingsLayout First = {32556, true, TitleIndex, 565, 513, 48, 47, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32520, false, TitleIndex, 670, 435, 47, 46, SecondItems.data(), SecondItems.size()};

#define SECTION_LABELS                                                                                                 \
    {36, GeneralTableBase, 91}, {38, GeneralTableBase, 92}, {40, GeneralTableBase, 94}, {42, GeneralTableBase, 93}, {  \
        44, GeneralTableBase, 95                                                                                       \
    }
const SettingsLabel FirstLabels[] = {{5, GeneralTableBase, 90}, SECTION_LABELS};
const SettingsLabel SecondLabels[] = {{6, GeneralTableBase, 90}, SECTION_LABELS};

void Init(int16_t dialogId, Frame::Block& block) {
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    if (block.layout->first)
        SetSettingsLabels(dialogId, FirstLabels);
    else
        SetSettingsLabels(dialogId, SecondLabels);
    DGSetItemText(dialogId, MillimetreLabel, GS::UniString("mm"));
    Frame::ShowValues(dialogId, block);
    FillFontPopup(dialogId, FontPopup, block.work.font);
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

// The frame's items, then the font as the text of the chosen entry.
void ReadAll(int16_t dialogId, Frame::Block& block) {
    Frame::ReadValues(dialogId, block);
    ReadFontPopup(dialogId, FontPopup, block.work.font);
}

int16_t Click(int16_t dialogId, int16_t item, Frame::Block& block) {
    return Frame::ClickReading<ReadAll>(dialogId, item, block);
}

void Close(int16_t dialogId, int16_t item, Frame::Block& block) { Frame::CloseReading<ReadAll>(dialogId, item, block); }

constexpr ModalDialog<Frame::Block>::Handlers Handlers = {Frame::Usable, Init,         Click,        Frame::Change,
                                                          Close,         Frame::Track, Frame::Update};

constexpr DGDialCallBack Callback = Frame::CallbackWith<Handlers>;

DialogAnswer OpenLayout(Frame::Block& block, SectionSettings& record, const SettingsLayout& layout, bool carry,
                        uint8_t changed[SectionFieldCount], bool* switched, SettingsMode mode) {
    block.head.mode = mode;
    const DialogAnswer answer = Frame::Open(block, record, layout, Access, carry, Callback);
    if (switched != nullptr) *switched = block.head.layoutSwitch != 0;
    if (answer == DialogAnswer::Confirmed) std::memcpy(changed, block.changed, SectionFieldCount);
    return answer;
}
}  // namespace

DialogAnswer OpenSectionSettingsDialog(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                                       SettingsMode mode) {
    std::memset(changed, 0, SectionFieldCount);
    Frame::Block block;
    return OpenLayout(block, record, First, false, changed, switched, mode);
}

DialogAnswer OpenSectionSettingsDialogTwin(SectionSettings& record, uint8_t changed[SectionFieldCount], bool* switched,
                                           SettingsMode mode) {
    std::memset(changed, 0, SectionFieldCount);
    Frame::Block block;
    return OpenLayout(block, record, Second, false, changed, switched, mode);
}

DialogAnswer RunSectionSettingsDialog(SectionDialogState& state, SettingsMode mode) {
    std::memset(state.changed, 0, sizeof state.changed);
    Frame::Block block;
    return RunDialogLayouts([&](int32_t layout, bool switched) {
        const DialogAnswer answer =
            OpenLayout(block, state.record, layout == 0 ? First : Second, switched, state.changed, nullptr, mode);
        return Frame::Closed(block, answer);
    });
}
