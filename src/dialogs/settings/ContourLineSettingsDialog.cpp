#include "dialogs/settings/ContourLineSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/Language.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
using Frame = SettingsDialog<ContourLineSettings>;
using Block = Frame::Block;
constexpr FieldItemKind UC = FieldItemKind::UserControl;
constexpr FieldItemKind Dbl = FieldItemKind::Double;
constexpr FieldItemKind Chk = FieldItemKind::Check;
constexpr FieldItemKind Lng = FieldItemKind::Long;
constexpr FieldItemKind Pen = FieldItemKind::PenPair;
constexpr uint32_t LayerControl = 18;
constexpr uint32_t LineTypeControl = 21;
constexpr int16_t TitleIndex = 8;
constexpr int16_t LayoutButton = 36;
constexpr int16_t LayerItem = 35;

using Id = ContourLineSettings::Id;
constexpr int16_t MainStep = ContourLineSettings::MainStepId;

const SettingsRecordAccess<ContourLineSettings> Access = {
    [](const ContourLineSettings& r, int16_t id) { return id == MainStep ? r.mainStep : r.GetShort(id); },
    [](ContourLineSettings& r, int16_t id, int32_t v) {
        if (id == MainStep)
            r.mainStep = v;
        else
            r.SetLong(id, v);
    },
    [](const ContourLineSettings& r, int16_t id) { return r.GetReal(id); },
    [](ContourLineSettings& r, int16_t id, double v) { r.SetReal(id, v); },
    [](const ContourLineSettings&, int16_t) { return QV_String(); },
    [](ContourLineSettings&, int16_t, const QV_String&) {},
};

// Each layout twice: every item, and without the items that stay disabled while several objects are edited (so
// that what they show never reaches the store).
#define FIRST_SHARED                                                                                                   \
    {35, Id::layer, UC, 0, LayerControl}, {20, Id::show2D, Chk, 0, 0}, {22, Id::show3D, Chk, 0, 0},                    \
        {15, Id::lineType, UC, 0, LineTypeControl}, {17, Id::secondPen, Pen, 18, 0}, {                                 \
        29, Id::firstPen, Pen, 30, 0                                                                                   \
    }
const FieldItem FirstItems[] = {{10, Id::firstAltitude, Dbl, 0, 0}, {12, Id::lastAltitude, Dbl, 0, 0},
                                {14, Id::interval, Dbl, 0, 0},      {32, Id::mainSecondary, Chk, 0, 0},
                                {26, MainStep, Lng, 0, 0},          FIRST_SHARED};
const FieldItem FirstItemsMulti[] = {FIRST_SHARED};
#define SECOND_SHARED                                                                                                  \
    {35, Id::layer, UC, 0, LayerControl}, {24, Id::show2D, Chk, 0, 0}, {28, Id::show3D, Chk, 0, 0},                    \
        {26, Id::showSection, Chk, 0, 0}, {32, Id::lineType, UC, 0, LineTypeControl}, {30, Id::secondPen, Pen, 31, 0}, \
    {                                                                                                                  \
        17, Id::firstPen, Pen, 18, 0                                                                                   \
    }
const FieldItem SecondItems[] = {{8, Id::firstAltitude, Dbl, 0, 0}, {10, Id::lastAltitude, Dbl, 0, 0},
                                 {12, Id::interval, Dbl, 0, 0},     {15, Id::mainSecondary, Chk, 0, 0},
                                 {20, MainStep, Lng, 0, 0},         SECOND_SHARED};
const FieldItem SecondItemsMulti[] = {SECOND_SHARED};

template <size_t N>
SettingsLayout Layout(int16_t id, bool first, int32_t w, int32_t h, const FieldItem (&items)[N]) {
    return SettingsLayout{id, first, TitleIndex, w, h, LayoutButton, LayerItem, items, N};
}
const SettingsLayout First = Layout(32549, true, 360, 458, FirstItems);
const SettingsLayout FirstMulti = Layout(32549, true, 360, 458, FirstItemsMulti);
const SettingsLayout Second = Layout(32506, false, 460, 460, SecondItems);
const SettingsLayout SecondMulti = Layout(32506, false, 460, 460, SecondItemsMulti);

// The items a layout names for the altitudes and the second class.
struct LayoutItems {
    int16_t firstAltitude, lastAltitude, interval, secondClass, stepLabel, step, stepSpin, firstClassItem,
        lastClassItem;
};
const LayoutItems FirstNames = {10, 12, 14, 32, 25, 26, 27, 25, 30};
const LayoutItems SecondNames = {8, 10, 12, 15, 19, 20, 21, 16, 21};

// The terrain's range, for the one dialog open at a time.
struct Range {
    double lowest = 0.0;
    double highest = 0.0;
    bool use = false;
} TerrainRange;

const SettingsLabel FirstLabels[] = {{7, ImportTableBase, 11},   {9, GeneralTableBase, 41}, {11, GeneralTableBase, 42},
                                     {13, GeneralTableBase, 44}, {23, ImportTableBase, 12}, {25, GeneralTableBase, 46}};
const SettingsLabel SecondLabels[] = {
    {6, GeneralTableBase, 40},  {7, GeneralTableBase, 41},  {9, GeneralTableBase, 42}, {11, GeneralTableBase, 44},
    {13, GeneralTableBase, 45}, {19, GeneralTableBase, 46}, {22, GeneralTableBase, 56}};

bool Several(SettingsMode mode) { return mode.editedCount() > 1; }
const LayoutItems& NamesOf(const Block& block) { return block.layout->first ? FirstNames : SecondNames; }

std::string Shortest(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

void EnableSecondClass(int16_t dialogId, const LayoutItems& n, bool on) {
    for (int16_t item = n.firstClassItem; item <= n.lastClassItem; ++item) DGSetItemEnable(dialogId, item, on);
}

void Init(int16_t dialogId, Block& block) {
    const LayoutItems& n = NamesOf(block);
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    if (block.layout->first)
        SetSettingsLabels(dialogId, FirstLabels);
    else
        SetSettingsLabels(dialogId, SecondLabels);
    Frame::ShowValues(dialogId, block);
    const double shownFirst = TerrainRange.use ? TerrainRange.lowest : block.work.firstAltitude;
    const double shownLast = TerrainRange.use ? TerrainRange.highest : block.work.lastAltitude;
    if (block.layout->first) {
        QV_String terrain;
        GetResString(terrain, ImportTableBase + LanguageIndex, 13);
        const std::string line = " min: " + Shortest(shownFirst) + "     max: " + Shortest(shownLast);
        QV_String text = terrain;
        text += QV_String(line.c_str());
        DGSetItemText(dialogId, 6, Uni(text));
    }
    for (int16_t item : {n.firstAltitude, n.lastAltitude}) {
        DGSetItemMinDouble(dialogId, item, TerrainRange.lowest);
        DGSetItemMaxDouble(dialogId, item, TerrainRange.highest);
    }
    // Shown whether or not they can be edited; the multi-object layout table does not read them back.
    DGSetItemValDouble(dialogId, n.firstAltitude, shownFirst);
    DGSetItemValDouble(dialogId, n.lastAltitude, shownLast);
    DGSetItemValDouble(dialogId, n.interval, block.work.interval);
    DGSetCheckBoxState(dialogId, n.secondClass, block.work.mainSecondary != 0);
    DGSetItemValLong(dialogId, n.step, block.work.mainStep);
    DGSetItemMinLong(dialogId, n.step, 1);
    DGSetItemMaxLong(dialogId, n.step, 100);
    EnableSecondClass(dialogId, n, block.work.mainSecondary != 0);
    if (Several(block.head.mode)) {
        for (int16_t item :
             {n.firstAltitude, n.lastAltitude, n.interval, n.secondClass, n.stepLabel, n.step, n.stepSpin})
            DGDisableItem(dialogId, item);
    }
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

void Change(int16_t dialogId, int16_t item, Block& block) {
    const LayoutItems& n = NamesOf(block);
    if (item == n.firstAltitude || item == n.lastAltitude) {
        const double a = DGGetItemValDouble(dialogId, n.firstAltitude);
        const double b = DGGetItemValDouble(dialogId, n.lastAltitude);
        if (a > b) {
            DGSetItemValDouble(dialogId, n.firstAltitude, b);
            DGSetItemValDouble(dialogId, n.lastAltitude, a);
        }
    } else if (item == n.secondClass) {
        EnableSecondClass(dialogId, n, DGGetCheckBoxState(dialogId, n.secondClass));
    }
    Frame::Change(dialogId, item, block);
}

constexpr ModalDialog<Block>::Handlers Handlers = {Frame::Usable, Init,         Frame::Click, Change,
                                                   Frame::Close,  Frame::Track, Frame::Update};

constexpr DGDialCallBack Callback = Frame::CallbackWith<Handlers>;

DialogAnswer OpenLayout(Block& block, ContourLineSettings& record, bool first,
                        uint8_t changed[ContourLineSettings::FieldCount], bool carry, bool* switched,
                        SettingsMode mode) {
    block.head.mode = mode;
    const SettingsLayout& layout =
        first ? (Several(mode) ? FirstMulti : First) : (Several(mode) ? SecondMulti : Second);
    const DialogAnswer answer = Frame::Open(block, record, layout, Access, carry, Callback);
    if (switched != nullptr) *switched = block.head.layoutSwitch != 0;
    if (answer == DialogAnswer::Confirmed) std::memcpy(changed, block.changed, 27);
    return answer;
}

DialogAnswer OpenWith(ContourLineSettings& record, uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                      double highest, bool useRange, bool* switched, bool first, SettingsMode mode) {
    TerrainRange = {lowest, highest, useRange};
    std::memset(changed, 0, 27);
    Block block;
    return OpenLayout(block, record, first, changed, false, switched, mode);
}
}  // namespace

DialogAnswer OpenContourLineSettingsDialog(ContourLineSettings& record,
                                           uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                                           double highest, bool useRange, bool* switched, SettingsMode mode) {
    return OpenWith(record, changed, lowest, highest, useRange, switched, true, mode);
}

DialogAnswer OpenContourLineSettingsDialogTwin(ContourLineSettings& record,
                                               uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                                               double highest, bool useRange, bool* switched, SettingsMode mode) {
    return OpenWith(record, changed, lowest, highest, useRange, switched, false, mode);
}

DialogAnswer RunContourLineSettingsDialog(ContourLineSettings& record, uint8_t changed[ContourLineSettings::FieldCount],
                                          double lowest, double highest, bool useRange, SettingsMode mode) {
    TerrainRange = {lowest, highest, useRange};
    std::memset(changed, 0, 27);
    Block block;
    return RunDialogLayouts([&](int32_t layout, bool switched) {
        return Frame::Closed(block, OpenLayout(block, record, layout == 0, changed, switched, nullptr, mode));
    });
}
