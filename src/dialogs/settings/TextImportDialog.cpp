#include "dialogs/settings/TextImportDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/ColumnImportItems.hpp"
#include "dialogs/settings/FiveDigitCodeItem.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/settings/TextImportPreview.hpp"
#include "fileio/UnitFactor.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "DG.hpp"
#include "TE.hpp"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace {

enum : int16_t { ItemOK = 1, ItemCancel = 2 };

// The items of one layout; the first chooses by pop-ups, the second by radio buttons.
struct TextItems {
    int16_t dialogId;
    bool twin;
    int32_t width, height;
    int16_t raw, data, skip, swap, unit, layout, decimal, delimiter, blanks, other, filter;
    int16_t overwrite, codeLabel, codeText, code, pen, penControl, layer, layoutButton;
};

const TextItems First = {
    TextImportDialogId, false, 480, 612, 4, 6, 9, 10, 12, 14, 16, 18, 19, 20, 22, 26, 27, 28, 29, 31, 32, 34, 35};
const TextItems Twin = {
    TextImportTwinDialogId, true, 590, 744, 40, 7, 25, 13, 43, 0, 0, 0, 22, 24, 27, 30, 31, 32, 33, 35, 36, 38, 48};

// Layout radios of the second layout and the layout each stands for.
const std::pair<int16_t, int32_t> LayoutRadios[] = {{10, 3}, {11, 1}, {12, 2}, {44, 4}, {45, 5}, {46, 6}, {47, 7}};
// Delimiter radios and their modes.
const std::pair<int16_t, int32_t> DelimiterRadios[] = {{19, 1}, {20, 2}, {21, 3}, {23, 4}};

const TextItems& ItemsOf(int16_t dialogId) { return dialogId == Twin.dialogId ? Twin : First; }

void BindControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

int32_t UnitEntry(int16_t unit) { return unit == 0 ? 1 : unit == 1 ? 2 : unit == 2 ? 3 : unit == 3 ? 5 : 6; }
int16_t UnitFromEntry(int32_t entry) { return entry == 1 ? 0 : entry == 2 ? 1 : entry == 3 ? 2 : entry == 5 ? 3 : 4; }

void FillPopUp(int16_t dialogId, int16_t item, std::initializer_list<int32_t> texts) {
    DGPopUpDeleteItem(dialogId, item, DG_ALL_ITEMS);
    for (int32_t index : texts) {
        if (index == 0) {
            DGPopUpInsertSeparator(dialogId, item, DG_POPUP_BOTTOM);
            continue;
        }
        DGPopUpInsertItem(dialogId, item, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, item, DGPopUpGetItemCount(dialogId, item), Text(GeneralTableBase, index));
    }
}

int32_t SelectedDelimiter(int16_t dialogId, const TextItems& it) {
    if (!it.twin) return DGPopUpGetSelected(dialogId, it.delimiter);
    const int16_t checked = DGGetCheckedRadio(dialogId, 3);
    for (const auto& [item, mode] : DelimiterRadios)
        if (item == checked) return mode;
    return DelimiterOther;
}

int32_t SelectedLayout(int16_t dialogId, const TextItems& it) {
    if (!it.twin) return LayoutFromFormatEntry(DGPopUpGetSelected(dialogId, it.layout));
    const int16_t checked = DGGetCheckedRadio(dialogId, 1);
    for (const auto& [item, layout] : LayoutRadios)
        if (item == checked) return layout;
    return 3;
}

int32_t SelectedDecimal(int16_t dialogId, const TextItems& it) {
    if (!it.twin) return DGPopUpGetSelected(dialogId, it.decimal) == 1 ? 1 : 2;
    return DGGetCheckedRadio(dialogId, 2) == 15 ? 1 : 2;
}

char OtherCharacter(int16_t dialogId, const TextItems& it) {
    const std::string utf8 = DGGetItemText(dialogId, it.other).ToUtf8();
    const std::string text = QV_String(utf8.c_str(), Encoding_UTF8).ToStdString(Encoding_System);
    return text.empty() ? 0 : text[0];
}

void FillDataPreview(int16_t dialogId, const TextItems& it, TextFileCls& r, const std::vector<QV_String>& lines,
                     bool fromReader) {
    int32_t mode = r.delimiterMode;
    char delimiter = r.delimiterChar;
    if (!fromReader) {
        mode = SelectedDelimiter(dialogId, it);
        delimiter = mode == DelimiterSemicolon ? ';' : mode == DelimiterOther ? OtherCharacter(dialogId, it) : '\t';
        if (mode == DelimiterSpaces) r.minBlanks = DGGetItemValLong(dialogId, it.blanks);
    }
    std::vector<QV_String> rows;
    bool delimited = false;
    for (const QV_String& line : lines) {
        std::string text = line.ToStdString(Encoding_System);
        if (mode == DelimiterSpaces) text = ConvertSpaceRuns(text, r.minBlanks);
        delimited = delimited || (delimiter != 0 && text.find(delimiter) != std::string::npos);
        rows.push_back(QV_String(text.c_str(), Encoding_System));
    }
    const int16_t list = it.data;
    DGListDisableDraw(dialogId, list);
    DGListDeleteItem(dialogId, list, DG_ALL_ITEMS);
    if (!delimited) {
        DGListSetTabFieldCount(dialogId, list, 1);
        DGListSetTabFieldData(dialogId, list, 1, 0, DGGetItemWidth(dialogId, list) - 30);
    } else {
        const int32_t layout = SelectedLayout(dialogId, it);
        const bool swap = DGGetCheckBoxState(dialogId, it.swap);
        const double factor = GetUnitFactor(r.unitCode);
        for (QV_String& row : rows) row = FormatPreviewRow(layout, delimiter, swap, factor, row);
        DGListSetTabFieldCount(dialogId, list, 5);
        for (int16_t k = 0; k < 5; ++k) DGListSetTabFieldData(dialogId, list, k + 1, 1 + 80 * k, 80 * (k + 1), 0, 4096);
    }
    for (const QV_String& row : rows) {
        DGListInsertItem(dialogId, list, DG_LIST_BOTTOM);
        DGListSetItemText(dialogId, list, DGListGetItemCount(dialogId, list), Uni(row));
    }
    DGListEnableDraw(dialogId, list);
}

void FillPreviews(int16_t dialogId, const TextItems& it, TextFileCls& r, bool fromReader, bool withRaw) {
    const std::vector<QV_String> lines = ReadPreviewLines(r, DGGetCheckBoxState(dialogId, it.skip));
    if (withRaw) DGRichEditSetText(dialogId, it.raw, Uni(RawPreviewText(lines)));
    FillDataPreview(dialogId, it, r, lines, fromReader);
}

bool HasReader(const TextImportBlock& block) { return block.reader != nullptr; }

void SetLabels(int16_t dialogId, std::initializer_list<std::pair<int16_t, int32_t>> labels) {
    for (const auto& [item, index] : labels) DGSetItemText(dialogId, item, Text(GeneralTableBase, index));
}

void EnableCodeItems(int16_t dialogId, const TextItems& it, bool on) {
    for (int16_t item : {it.codeLabel, it.codeText, it.code}) DGSetItemEnable(dialogId, item, on);
}

void Init(int16_t dialogId, TextImportBlock& block) {
    const TextItems& it = ItemsOf(dialogId);
    TextFileCls& r = *block.reader;
    block.head.dialogId = uint16_t(dialogId);
    if (it.twin) {
        const bool variant = HostLanguageNOR != 0 || HostLanguageAUT != 0;
        DGSetItemImage(dialogId, 5, DG::Image(ACAPI_GetOwnResModule(), variant ? 32524 : 32501));
    }
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 1));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    if (!it.twin)
        SetLabels(dialogId,
                  {{3, 5},
                   {5, 208},
                   {7, 6},
                   {9, 20},
                   {10, 11},
                   {11, 218},
                   {13, 7},
                   {15, 12},
                   {17, 15},
                   {21, 21},
                   {23, 25},
                   {26, 23},
                   {27, 24}});
    else
        SetLabels(dialogId,
                  {{6, 208},  {8, 6},   {9, 7},   {10, 10}, {11, 8},  {12, 9},  {44, 204}, {45, 205}, {46, 206},
                   {47, 209}, {13, 11}, {14, 12}, {15, 13}, {16, 14}, {18, 15}, {19, 16},  {20, 17},  {21, 18},
                   {23, 19},  {25, 20}, {26, 21}, {28, 25}, {30, 23}, {31, 24}, {39, 5},   {42, 218}});
    BindControl(dialogId, it.penControl, APIUserControl_Pen);
    BindControl(dialogId, it.layer, APIUserControl_Layer);
    DGRichEditSetFont(dialogId, it.raw, TE::Font(TE::FontFamily(GS::UniString("Courier New")), 12));
    DGListSetItemHeight(dialogId, it.data, 15);
    DGSetCheckBoxState(dialogId, it.skip, r.skipFirstRow != 0);
    DGSetCheckBoxState(dialogId, it.swap, r.swapXY != 0);
    FillPopUp(dialogId, it.unit, {219, 220, 221, 0, 222, 223});
    DGPopUpSelectItem(dialogId, it.unit, UnitEntry(r.unitCode));
    // Both N and the other character hold the reader's values, so a refresh never takes an item never set.
    DGSetItemValLong(dialogId, it.blanks, r.minBlanks);
    const char other[2] = {r.delimiterMode == DelimiterOther ? r.delimiterChar : char(0), 0};
    DGSetItemText(dialogId, it.other, Uni(QV_String(other, Encoding_System)));
    if (!it.twin) {
        FillPopUp(dialogId, it.layout, {10, 8, 9, 204, 205, 206, 209});
        if (r.layout >= 1 && r.layout <= 7) DGPopUpSelectItem(dialogId, it.layout, FormatEntryFromLayout(r.layout));
        FillPopUp(dialogId, it.decimal, {13, 14});
        if (r.decimalSeparator == 1 || r.decimalSeparator == 2)
            DGPopUpSelectItem(dialogId, it.decimal, r.decimalSeparator);
        FillPopUp(dialogId, it.delimiter, {16, 17, 18, 19});
        if (r.delimiterMode >= DelimiterTab && r.delimiterMode <= DelimiterOther)
            DGPopUpSelectItem(dialogId, it.delimiter, r.delimiterMode);
        DGSetItemVisible(dialogId, it.blanks, r.delimiterMode == DelimiterSpaces);
        DGSetItemVisible(dialogId, it.other, r.delimiterMode == DelimiterOther);
    } else {
        for (const auto& [item, layout] : LayoutRadios)
            if (layout == r.layout) DGSelectRadio(dialogId, item);
        if (r.decimalSeparator == 1 || r.decimalSeparator == 2)
            DGSelectRadio(dialogId, r.decimalSeparator == 1 ? 15 : 16);
        for (const auto& [item, mode] : DelimiterRadios)
            if (mode == r.delimiterMode) DGSelectRadio(dialogId, item);
        DGSetItemEnable(dialogId, it.blanks, r.delimiterMode == DelimiterSpaces);
        DGSetItemEnable(dialogId, it.other, r.delimiterMode == DelimiterOther);
    }
    DGSetItemValDouble(dialogId, it.filter, r.tolerance);
    DGSetItemText(dialogId, it.codeText, Uni(r.options.code));
    DGSetItemValLong(dialogId, it.pen, r.options.pen);
    DGSetItemValLong(dialogId, it.penControl, r.options.pen);
    DGSetItemValLong(dialogId, it.layer, r.options.layer);
    PointCodeRecord code;
    code.description = r.options.code;
    code.code = uint32_t(r.options.codeNumber < 0 ? 0 : r.options.codeNumber);
    FiveDigitCodeItem(dialogId, it.code, 0, FiveDigitShow, code);
    DGSetCheckBoxState(dialogId, it.overwrite, r.overwriteCode != 0);
    EnableCodeItems(dialogId, it, r.overwriteCode != 0);
    FillPreviews(dialogId, it, r, true, true);
    DGSetDialogClientSize(dialogId, it.width, it.height);
    if (block.head.savedX != 0 || block.head.savedY != 0)
        DGSetDialogClientPosition(dialogId, block.head.savedX, block.head.savedY);
    DGSetFocus(dialogId, -1);
}

void Change(int16_t dialogId, int16_t item, TextImportBlock& block) {
    const TextItems& it = ItemsOf(dialogId);
    TextFileCls& r = *block.reader;
    PointCodeRecord code;
    const bool layoutRadio = it.twin &&
        std::any_of(std::begin(LayoutRadios), std::end(LayoutRadios),
                    [&](const auto& radio) { return radio.first == item; });
    const bool delimiterRadio = it.twin &&
        std::any_of(std::begin(DelimiterRadios), std::end(DelimiterRadios),
                    [&](const auto& radio) { return radio.first == item; });
    if (item == it.skip || (item == it.layout && !it.twin) || layoutRadio || item == it.blanks || item == it.other) {
        FillPreviews(dialogId, it, r, false, false);
    } else if (item == it.swap) {
        FillPreviews(dialogId, it, r, false, false);
        DGSetFocus(dialogId, -1);
    } else if (item == it.unit) {
        r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, it.unit));
        FillPreviews(dialogId, it, r, false, false);
    } else if ((item == it.delimiter && !it.twin) || delimiterRadio) {
        const int32_t mode = SelectedDelimiter(dialogId, it);
        if (!it.twin) {
            DGSetItemVisible(dialogId, it.blanks, mode == DelimiterSpaces);
            DGSetItemVisible(dialogId, it.other, mode == DelimiterOther);
        } else {
            DGSetItemEnable(dialogId, it.blanks, mode == DelimiterSpaces);
            DGSetItemEnable(dialogId, it.other, mode == DelimiterOther);
        }
        FillPreviews(dialogId, it, r, false, false);
    } else if (item == it.overwrite) {
        EnableCodeItems(dialogId, it, DGGetCheckBoxState(dialogId, it.overwrite));
    } else if (item == it.code) {
        FiveDigitCodeItem(dialogId, it.code, 0, FiveDigitFilter, code);
    } else if (item == it.pen) {
        DGSetItemValLong(dialogId, it.penControl, DGGetItemValLong(dialogId, it.pen));
    }
}

void Track(int16_t dialogId, int16_t item, TextImportBlock&) {
    const TextItems& it = ItemsOf(dialogId);
    if (item == it.penControl) DGSetItemValLong(dialogId, it.pen, DGGetItemValLong(dialogId, it.penControl));
}

// Every item into the reader, as OK and the layout button store them.
void Store(int16_t dialogId, const TextItems& it, TextFileCls& r) {
    r.skipFirstRow = DGGetCheckBoxState(dialogId, it.skip) ? 1 : 0;
    r.swapXY = DGGetCheckBoxState(dialogId, it.swap) ? 1 : 0;
    // The second layout wrote its unit as it changed.
    if (!it.twin) r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, it.unit));
    r.layout = SelectedLayout(dialogId, it);
    r.decimalSeparator = SelectedDecimal(dialogId, it);
    const int32_t delimiter = SelectedDelimiter(dialogId, it);
    const char other = delimiter == DelimiterTab || delimiter == DelimiterSemicolon || delimiter == DelimiterSpaces
        ? 0
        : OtherCharacter(dialogId, it);
    StoreColumnImportItems(dialogId, {it.blanks, it.filter, it.overwrite, it.layer, it.pen, it.code, it.codeText},
                           delimiter, other, r);
}

int16_t Click(int16_t dialogId, int16_t item, TextImportBlock& block) {
    const TextItems& it = ItemsOf(dialogId);
    if (item == ItemOK) return CheckToolLayer(int16_t(DGGetItemValLong(dialogId, it.layer))) ? ItemOK : 0;
    if (item == ItemCancel) {
        block.head.layoutSwitch = 0;
        return ItemCancel;
    }
    if (item == it.data) {
        DGListDeselectItem(dialogId, it.data, DGListGetSelected(dialogId, it.data));
        DGRedrawItem(dialogId, it.data);
        DGSetFocus(dialogId, -1);
    }
    if (item == it.layoutButton) {
        Store(dialogId, it, *block.reader);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return ItemCancel;
    }
    return 0;
}

void Close(int16_t dialogId, int16_t item, TextImportBlock& block) {
    block.head.dialogId = 0;
    if (item == ItemOK) Store(dialogId, ItemsOf(dialogId), *block.reader);
}

void Update(int16_t dialogId, int16_t item, TextImportBlock&, DGMessageData update) {
    if (dialogId == Twin.dialogId && item == 3) DrawSettingsPicture(update);
}

using TextDialog = ModalDialog<TextImportBlock>;
const TextDialog::Handlers Handlers = {HasReader, Init, Click, Change, Close, Track, Update};

}  // namespace

bool OpenTextImportDialog(TextImportBlock& block, TextFileCls& reader) {
    block.reader = &reader;
    return TextDialog::Run(TextImportDialogId, TextImportDialogCallback, block) == ItemOK;
}

bool OpenTextImportDialogTwin(TextImportBlock& block, TextFileCls& reader) {
    block.reader = &reader;
    return TextDialog::Run(TextImportTwinDialogId, TextImportDialogCallbackTwin, block) == ItemOK;
}

bool AskTextImportOptions(TextFileCls& reader) {
    // The two layouts take turns while the user switches; the position goes along.
    TextImportBlock first, twin;
    return RunDialogLayouts([&](int32_t layout, bool) {
               const bool inTwin = layout == 1;
               TextImportBlock& block = inTwin ? twin : first;
               if (inTwin ? OpenTextImportDialogTwin(block, reader) : OpenTextImportDialog(block, reader))
                   return LayoutClose::Confirmed;
               if (!block.head.layoutSwitch) return LayoutClose::Cancelled;
               block.head.layoutSwitch = 0;
               TextImportBlock& other = inTwin ? first : twin;
               other.head.savedX = block.head.savedX;
               other.head.savedY = block.head.savedY;
               return LayoutClose::OtherLayout;
           }) == DialogAnswer::Confirmed;
}

int16_t TextImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                 intptr_t messageData) {
    return TextDialog::Dispatch(TextImportDialogId, Handlers, message, dialogId, item, userData, messageData);
}

int16_t TextImportDialogCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                     intptr_t messageData) {
    return TextDialog::Dispatch(TextImportTwinDialogId, Handlers, message, dialogId, item, userData, messageData);
}
