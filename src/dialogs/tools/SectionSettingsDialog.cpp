#include "dialogs/tools/SectionSettingsDialog.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
using Frame = SettingsDialog<SectionSettings>;

constexpr int16_t FontPopup = 27;
constexpr int16_t MillimetreLabel = 30;
constexpr int16_t TitleIndex = 21;

// Ids 1 and 10 are the record's doubles, 9 its font; the others its 16-bit fields.
const SettingsRecordAccess<SectionSettings> Access = {
    [](const SectionSettings& r, int16_t id) { return r.GetByItem(id); },
    [](SectionSettings& r, int16_t id, int32_t v) { r.SetByItem(id, int16_t(v)); },
    [](const SectionSettings& r, int16_t id) { return id == 1 ? r.bottomLevel
                                                   : id == 10 ? r.textSize
                                                              : 0.0; },
    [](SectionSettings& r, int16_t id, double v) {
        if (id == 1) r.bottomLevel = v;
        if (id == 10) r.textSize = v;
    },
    [](const SectionSettings& r, int16_t id) { return id == 9 ? r.font : QV_String(); },
    [](SectionSettings& r, int16_t id, const QV_String& v) {
        if (id == 9) r.font = v;
    },
};

constexpr FieldItemKind P = FieldItemKind::PenPair;
constexpr FieldItemKind C = FieldItemKind::Check;
constexpr FieldItemKind D = FieldItemKind::Double;
constexpr FieldItemKind U = FieldItemKind::UserControl;
constexpr uint32_t LineTypeControl = 21;
constexpr uint32_t LayerControl = 18;
#define SECTION_ITEMS                                                                                                  \
    {7, 1, D, 0, 0}, {9, 2, P, 10, 0}, {12, 3, P, 13, 0}, {18, 4, P, 19, 0}, {20, 5, U, 0, LineTypeControl},           \
        {21, 6, P, 22, 0}, {23, 7, U, 0, LineTypeControl}, {24, 8, P, 25, 0}, {29, 10, D, 0, 0}, {32, 11, P, 33, 0},   \
        {36, 12, C, 0, 0}, {38, 13, C, 0, 0}, {40, 14, C, 0, 0}, {42, 15, C, 0, 0}, {                                  \
        44, 16, C, 0, 0                                                                                                \
    }
const FieldItem FirstItems[] = {SECTION_ITEMS, {47, 0, U, 0, LayerControl}};
const FieldItem SecondItems[] = {SECTION_ITEMS, {46, 0, U, 0, LayerControl}};
const SettingsLayout First = {
    32556, true, TitleIndex, 565, 513, 48, 47, FirstItems, sizeof FirstItems / sizeof FirstItems[0]};
const SettingsLayout Second = {
    32520, false, TitleIndex, 670, 435, 47, 46, SecondItems, sizeof SecondItems / sizeof SecondItems[0]};

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
