#include "dialogs/settings/OutlineSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
constexpr int16_t TitleIndex = 6;
// The search values are no fields of the record: their ids follow its own.
constexpr int16_t FieldWidth = OutlineSettings::FieldCount;
constexpr int16_t FieldAngle = OutlineSettings::FieldCount + 1;
constexpr int16_t SearchTypeGroup = 1;

struct SearchItems {
    int16_t polygonal, rectangular, width, angle;
};
constexpr SearchItems FirstSearch = {7, 8, 12, 14};
constexpr SearchItems SecondSearch = {7, 8, 11, 13};

constexpr FieldItemKind UC = FieldItemKind::UserControl;
// The record's own items come from its table; beside them the search values, and in the second layout the
// background pen's chooser beside its number.
constexpr FieldItem kFirstOwn[] = {
    {12, FieldWidth, FieldItemKind::Double, 0, 0},
    {14, FieldAngle, FieldItemKind::Angle, 0, 0},
};
constexpr FieldItem kSecondOwn[] = {
    {27, OutlineSettings::Id::backgroundPen, UC, 0, APIUserControl_PenWithZero},
    {11, FieldWidth, FieldItemKind::Double, 0, 0},
    {13, FieldAngle, FieldItemKind::Angle, 0, 0},
};
constexpr auto kFirst = TableFieldItems<OutlineSettings, 0>(kFirstOwn);
constexpr auto kSecond = TableFieldItems<OutlineSettings, 1>(kSecondOwn);
const SettingsLayout FirstLayout = {32546, true, TitleIndex, 350, 408, 25, 22, kFirst.data(), kFirst.size()};
const SettingsLayout SecondLayout = {32502, false, TitleIndex, 460, 515, 34, 33, kSecond.data(), kSecond.size()};

const SettingsRecordAccess<OutlineDialogRecord> Access = {
    [](const OutlineDialogRecord& r, int16_t id) { return r.settings.GetShort(id); },
    [](OutlineDialogRecord& r, int16_t id, int32_t v) { r.settings.SetShort(id, int16_t(v)); },
    [](const OutlineDialogRecord& r, int16_t id) {
        return id == FieldWidth ? r.corridorWidth : id == FieldAngle ? r.searchAngle : 0.0;
    },
    [](OutlineDialogRecord& r, int16_t id, double v) {
        if (id == FieldWidth) r.corridorWidth = v;
        if (id == FieldAngle) r.searchAngle = v;
    },
    [](const OutlineDialogRecord& r, int16_t id) {
        const QV_String* text = r.settings.Text(id);
        return text != nullptr ? *text : QV_String();
    },
    [](OutlineDialogRecord& r, int16_t id, const QV_String& v) {
        if (QV_String* text = r.settings.Text(id)) *text = v;
    },
};

using Frame = SettingsDialog<OutlineDialogRecord>;

const SearchItems& SearchOf(const OutlineSettingsBlock& block) {
    return block.layout == &SecondLayout ? SecondSearch : FirstSearch;
}

void SetLabel(int16_t dialogId, int16_t item, int32_t table, int32_t index) {
    QV_String text;
    GetResString(text, table + LanguageIndex, index);
    DGSetItemText(dialogId, item, GS::UniString(text.GetBuffer(), text.GetLength()));
}

void ReadAll(int16_t dialogId, OutlineSettingsBlock& block) {
    Frame::ReadValues(dialogId, block);
    block.work.searchType = DGGetCheckedRadio(dialogId, SearchTypeGroup) == SearchOf(block).polygonal ? 1 : 0;
}

void Init(int16_t dialogId, OutlineSettingsBlock& block) {
    block.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *block.layout, block.head.mode);
    const SearchItems& s = SearchOf(block);
    if (block.layout == &FirstLayout) {
        SetLabel(dialogId, 5, ImportTableBase, 2);
        SetLabel(dialogId, 9, GeneralTableBase, 57);
        SetLabel(dialogId, 15, ImportTableBase, 3);
    } else {
        SetLabel(dialogId, 6, GeneralTableBase, 58);
        SetLabel(dialogId, 9, GeneralTableBase, 57);
        SetLabel(dialogId, 14, GeneralTableBase, 56);
        SetLabel(dialogId, 28, GeneralTableBase, 39);
    }
    Frame::ShowValues(dialogId, block);
    DGSelectRadio(dialogId, block.work.searchType == 1 ? s.polygonal : s.rectangular);
    if (!block.work.typeSelectable) {
        DGDisableItem(dialogId, s.polygonal);
        DGDisableItem(dialogId, s.rectangular);
        if (block.work.corridorLocked) {
            DGDisableItem(dialogId, s.width);
            DGDisableItem(dialogId, s.angle);
        }
    }
    FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
}

// The search type is no field of the record's table: it goes in beside the store.
void Close(int16_t dialogId, int16_t item, OutlineSettingsBlock& block) {
    Frame::CloseReading<ReadAll>(dialogId, item, block);
    if (item == SettingsItemOK) block.record->searchType = block.work.searchType;
}

constexpr ModalDialog<OutlineSettingsBlock>::Handlers Handlers = {
    Frame::Usable, Init, Frame::ClickReading<ReadAll>, Frame::Change, Close, Frame::Track, Frame::Update};

int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<OutlineSettingsBlock>::Dispatch(FirstLayout.resourceId, Handlers, message, dialogId, item,
                                                       userData, data);
}
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<OutlineSettingsBlock>::Dispatch(SecondLayout.resourceId, Handlers, message, dialogId, item,
                                                       userData, data);
}

}  // namespace

DialogAnswer OpenOutlineSettingsDialog(OutlineSettingsBlock& block, OutlineDialogRecord& record, bool carryWork) {
    return Frame::Open(block, record, FirstLayout, Access, carryWork, Callback);
}

DialogAnswer OpenOutlineSettingsDialogTwin(OutlineSettingsBlock& block, OutlineDialogRecord& record, bool carryWork) {
    return Frame::Open(block, record, SecondLayout, Access, carryWork, CallbackTwin);
}

DialogAnswer RunOutlineSettingsDialog(OutlineDialogRecord& record, OutlineSettings::Changed& changed,
                                      SettingsMode mode) {
    OutlineSettingsBlock block;
    if (Frame::Run(block, record, FirstLayout, SecondLayout, Access, mode, Callback, CallbackTwin) ==
        DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    std::memcpy(changed, block.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}
