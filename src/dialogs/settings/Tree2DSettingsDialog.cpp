#include "dialogs/settings/Tree2DSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/TableFieldItems.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include "APIDefs.hpp"

#include <iterator>

namespace {

using Frame = SettingsDialog<TreeSettings>;
using Block = SettingsDialogBlock<TreeSettings>;

const SettingsRecordAccess<TreeSettings>& Access = TableRecordAccess<TreeSettings, true>;

constexpr FieldItemKind Long = FieldItemKind::Long;
constexpr FieldItemKind Real = FieldItemKind::Double;
constexpr FieldItemKind Check = FieldItemKind::Check;
constexpr FieldItemKind UC = FieldItemKind::UserControl;
constexpr uint32_t Pen = APIUserControl_PenWithZero;
constexpr uint32_t PenOnly = APIUserControl_Pen;

// Each pen shows two fields: the control the pen, the edit beside it its companion.
const FieldItem FirstItems[] = {
    {12, TreeSettings::Id::crownPen, UC, 0, Pen},         {11, TreeSettings::Id::crownPen2, Long, 0, 0},
    {15, TreeSettings::Id::crownPen + 1, UC, 0, PenOnly}, {14, TreeSettings::Id::crownPen2 + 1, Long, 0, 0},
    {17, TreeSettings::Id::crownPen + 2, UC, 0, Pen},     {16, TreeSettings::Id::crownPen2 + 2, Long, 0, 0},
    {19, TreeSettings::Id::crownPen + 3, UC, 0, Pen},     {18, TreeSettings::Id::crownPen2 + 3, Long, 0, 0},
    {23, TreeSettings::Id::shadow, Check, 0, 0},          {25, TreeSettings::Id::shadowDirection, Real, 0, 0},
    {28, TreeSettings::Id::showText, Check, 0, 0},        {29, TreeSettings::Id::text, FieldItemKind::Text, 0, 0},
    {32, TreeSettings::Id::textSize, Real, 0, 0},         {36, TreeSettings::Id::textPen, UC, 0, Pen},
    {35, TreeSettings::Id::textPen2, Long, 0, 0},
};
const FieldItem SecondItems[] = {
    {11, TreeSettings::Id::crownPen, UC, 0, Pen},         {10, TreeSettings::Id::crownPen2, Long, 0, 0},
    {14, TreeSettings::Id::crownPen + 1, UC, 0, PenOnly}, {13, TreeSettings::Id::crownPen2 + 1, Long, 0, 0},
    {16, TreeSettings::Id::crownPen + 2, UC, 0, Pen},     {15, TreeSettings::Id::crownPen2 + 2, Long, 0, 0},
    {18, TreeSettings::Id::crownPen + 3, UC, 0, Pen},     {17, TreeSettings::Id::crownPen2 + 3, Long, 0, 0},
    {21, TreeSettings::Id::shadow, Check, 0, 0},          {23, TreeSettings::Id::shadowDirection, Real, 0, 0},
    {25, TreeSettings::Id::showText, Check, 0, 0},        {26, TreeSettings::Id::text, FieldItemKind::Text, 0, 0},
    {29, TreeSettings::Id::textSize, Real, 0, 0},         {33, TreeSettings::Id::textPen, UC, 0, Pen},
    {32, TreeSettings::Id::textPen2, Long, 0, 0},
};

constexpr int16_t Title2D = 25;
const SettingsLayout First = {32565, true, Title2D, 350, 430, 37, 0, FirstItems, std::size(FirstItems)};
const SettingsLayout Second = {32526, false, Title2D, 350, 428, 34, 0, SecondItems, std::size(SecondItems)};

// Edit and pen control of each pair, per layout.
struct PenPairItems {
    int16_t edit;
    int16_t control;
};
const PenPairItems FirstPairs[] = {{11, 12}, {14, 15}, {16, 17}, {18, 19}, {35, 36}};
const PenPairItems SecondPairs[] = {{10, 11}, {13, 14}, {15, 16}, {17, 18}, {32, 33}};

struct LayoutItems {
    int16_t fontPopup;
    const PenPairItems* pairs;
    SettingsLabel labels[4];
};
const LayoutItems FirstExtra = {30,
                                FirstPairs,
                                {{9, GeneralTableBase, 124},
                                 {20, GeneralTableBase, 125},
                                 {26, GeneralTableBase, 126},
                                 {28, GeneralTableBase, 127}}};
const LayoutItems SecondExtra = {27,
                                 SecondPairs,
                                 {{9, GeneralTableBase, 124},
                                  {19, GeneralTableBase, 125},
                                  {24, GeneralTableBase, 126},
                                  {25, GeneralTableBase, 127}}};

const LayoutItems& Extra(const Block& block) { return block.layout->first ? FirstExtra : SecondExtra; }

constexpr int16_t RadioGroup = 1;
constexpr int16_t FirstRadio = 3;

// Neither layout has a mode header or a picture: items 3 on are the symbol kinds.
void Init(int16_t dialogId, Block& block) {
    block.head.dialogId = uint16_t(dialogId);
    DGSetDialogTitle(dialogId, Text(TitleTableBase, Title2D));
    DGSetItemText(dialogId, SettingsItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, SettingsItemCancel, Text(CommonTableBase, 5));
    for (size_t i = 0; i < block.layout->itemCount; ++i) {
        const FieldItem& f = block.layout->items[i];
        if (f.kind != FieldItemKind::UserControl) continue;
        API_UserControlBinding binding = {f.control, dialogId, f.item};
        ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
    }
    const LayoutItems& extra = Extra(block);
    SetSettingsLabels(dialogId, extra.labels);
    Frame::ShowValues(dialogId, block);
    DGSelectRadio(dialogId, int16_t(block.work.symbolType + 2));
    FillFontPopup(dialogId, extra.fontPopup, block.work.font);
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

void ReadItems(int16_t dialogId, Block& block) {
    Frame::ReadValues(dialogId, block);
    const int16_t radio = DGGetCheckedRadio(dialogId, RadioGroup);
    if (radio >= FirstRadio) block.work.symbolType = radio - 2;
    ReadFontPopup(dialogId, Extra(block).fontPopup, block.work.font);
}

void Sync(int16_t dialogId, int16_t item, const Block& block, bool fromControl) {
    for (int i = 0; i < 5; ++i) {
        const PenPairItems& p = Extra(block).pairs[i];
        if (!fromControl && item == p.edit) DGSetItemValLong(dialogId, p.control, DGGetItemValLong(dialogId, p.edit));
        if (fromControl && item == p.control) DGSetItemValLong(dialogId, p.edit, DGGetItemValLong(dialogId, p.control));
    }
}

void Change(int16_t dialogId, int16_t item, Block& block) { Sync(dialogId, item, block, false); }
void Track(int16_t dialogId, int16_t item, Block& block) { Sync(dialogId, item, block, true); }

int16_t Click(int16_t dialogId, int16_t item, Block& block) {
    return Frame::ClickReading<ReadItems>(dialogId, item, block);
}
void Close(int16_t dialogId, int16_t item, Block& block) { Frame::CloseReading<ReadItems>(dialogId, item, block); }

constexpr ModalDialog<Block>::Handlers Table = {Frame::Usable, Init, Click, Change, Close, Track, nullptr};

int16_t FirstCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<Block>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, data);
}
int16_t SecondCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<Block>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, data);
}

}  // namespace

DialogAnswer EditTree2DSettings(TreeSettings& work, uint8_t (&flags)[64], SettingsMode mode) {
    Block block;
    if (Frame::Run(block, work, First, Second, Access, mode, FirstCallback, SecondCallback) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    for (size_t i = 0; i < SettingsChangedFlagCount; ++i) flags[i] |= block.changed[i];
    return DialogAnswer::Confirmed;
}
