#include "dialogs/settings/TextImportDialog.hpp"

#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/FiveDigitCodeItem.hpp"
#include "dialogs/settings/TextImportPreview.hpp"
#include "fileio/UnitFactor.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "DG.hpp"
#include "TE.hpp"

#include <string>
#include <utility>

namespace {

enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemRaw = 4,
    ItemData = 6,
    ItemSkip = 9,
    ItemSwap = 10,
    ItemUnit = 12,
    ItemLayout = 14,
    ItemDecimal = 16,
    ItemDelimiter = 18,
    ItemBlanks = 19,
    ItemOther = 20,
    ItemFilter = 22,
    ItemOverwrite = 26,
    ItemCodeLabel = 27,
    ItemCodeText = 28,
    ItemCode = 29,
    ItemPen = 31,
    ItemPenControl = 32,
    ItemLayer = 34,
    ItemLayoutButton = 35,
};

GS::UniString Text(int32_t tableBase, int32_t index) {
    QV_String text;
    GetResString(text, tableBase + LanguageIndex, index);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

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

char OtherCharacter(int16_t dialogId) {
    const std::string utf8 = DGGetItemText(dialogId, ItemOther).ToUtf8();
    const std::string text = QV_String(utf8.c_str(), Encoding_UTF8).ToStdString(Encoding_System);
    return text.empty() ? 0 : text[0];
}

void FillDataPreview(int16_t dialogId, TextFileCls& r, const std::vector<QV_String>& lines, bool fromReader) {
    int32_t mode = r.delimiterMode;
    char delimiter = r.delimiterChar;
    if (!fromReader) {
        mode = DGPopUpGetSelected(dialogId, ItemDelimiter);
        delimiter = mode == DelimiterSemicolon ? ';' : mode == DelimiterOther ? OtherCharacter(dialogId) : '\t';
        if (mode == DelimiterSpaces) r.minBlanks = DGGetItemValLong(dialogId, ItemBlanks);
    }
    std::vector<QV_String> rows;
    bool delimited = false;
    for (const QV_String& line : lines) {
        std::string text = line.ToStdString(Encoding_System);
        if (mode == DelimiterSpaces) text = ConvertSpaceRuns(text, r.minBlanks);
        delimited = delimited || (delimiter != 0 && text.find(delimiter) != std::string::npos);
        rows.push_back(QV_String(text.c_str(), Encoding_System));
    }
    DGListDisableDraw(dialogId, ItemData);
    DGListDeleteItem(dialogId, ItemData, DG_ALL_ITEMS);
    if (!delimited) {
        DGListSetTabFieldCount(dialogId, ItemData, 1);
        DGListSetTabFieldData(dialogId, ItemData, 1, 0, DGGetItemWidth(dialogId, ItemData) - 30);
    } else {
        const int32_t layout = LayoutFromFormatEntry(DGPopUpGetSelected(dialogId, ItemLayout));
        const bool swap = DGGetCheckBoxState(dialogId, ItemSwap);
        const double factor = GetUnitFactor(r.unitCode);
        for (QV_String& row : rows) row = FormatPreviewRow(layout, delimiter, swap, factor, row);
        DGListSetTabFieldCount(dialogId, ItemData, 5);
        for (int16_t k = 0; k < 5; ++k)
            DGListSetTabFieldData(dialogId, ItemData, k + 1, 1 + 80 * k, 80 * (k + 1), 0, 4096);
    }
    for (const QV_String& row : rows) {
        DGListInsertItem(dialogId, ItemData, DG_LIST_BOTTOM);
        DGListSetItemText(dialogId, ItemData, DGListGetItemCount(dialogId, ItemData), Uni(row));
    }
    DGListEnableDraw(dialogId, ItemData);
}

void FillPreviews(int16_t dialogId, TextFileCls& r, bool fromReader, bool withRaw) {
    const std::vector<QV_String> lines = ReadPreviewLines(r, DGGetCheckBoxState(dialogId, ItemSkip));
    if (withRaw) DGRichEditSetText(dialogId, ItemRaw, Uni(RawPreviewText(lines)));
    FillDataPreview(dialogId, r, lines, fromReader);
}

bool HasReader(const TextImportBlock& block) { return block.reader != nullptr; }

void Init(int16_t dialogId, TextImportBlock& block) {
    TextFileCls& r = *block.reader;
    block.dialogId = uint16_t(dialogId);
    DetectTextFileFormat(r);
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 1));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    const std::pair<int16_t, int32_t> labels[] = {
        {3, 5},   {5, 208}, {7, 6},   {ItemSkip, 20}, {ItemSwap, 11},      {11, 218},          {13, 7},
        {15, 12}, {17, 15}, {21, 21}, {23, 25},       {ItemOverwrite, 23}, {ItemCodeLabel, 24}};
    for (const auto& [item, index] : labels) DGSetItemText(dialogId, item, Text(GeneralTableBase, index));
    BindControl(dialogId, ItemPenControl, APIUserControl_Pen);
    BindControl(dialogId, ItemLayer, APIUserControl_Layer);
    DGRichEditSetFont(dialogId, ItemRaw, TE::Font(TE::FontFamily(GS::UniString("Courier New")), 12));
    DGListSetItemHeight(dialogId, ItemData, 15);
    DGSetCheckBoxState(dialogId, ItemSkip, r.skipFirstRow != 0);
    DGSetCheckBoxState(dialogId, ItemSwap, r.swapXY != 0);
    FillPopUp(dialogId, ItemUnit, {219, 220, 221, 0, 222, 223});
    DGPopUpSelectItem(dialogId, ItemUnit, UnitEntry(r.unitCode));
    FillPopUp(dialogId, ItemLayout, {10, 8, 9, 204, 205, 206, 209});
    if (r.layout >= 1 && r.layout <= 7) DGPopUpSelectItem(dialogId, ItemLayout, FormatEntryFromLayout(r.layout));
    FillPopUp(dialogId, ItemDecimal, {13, 14});
    if (r.decimalSeparator == 1 || r.decimalSeparator == 2)
        DGPopUpSelectItem(dialogId, ItemDecimal, r.decimalSeparator);
    FillPopUp(dialogId, ItemDelimiter, {16, 17, 18, 19});
    if (r.delimiterMode >= DelimiterTab && r.delimiterMode <= DelimiterOther)
        DGPopUpSelectItem(dialogId, ItemDelimiter, r.delimiterMode);
    // Both hidden items hold the reader's values, so a refresh never takes N from an item never set.
    DGSetItemValLong(dialogId, ItemBlanks, r.minBlanks);
    const char other[2] = {r.delimiterMode == DelimiterOther ? r.delimiterChar : char(0), 0};
    DGSetItemText(dialogId, ItemOther, Uni(QV_String(other, Encoding_System)));
    DGSetItemVisible(dialogId, ItemBlanks, r.delimiterMode == DelimiterSpaces);
    DGSetItemVisible(dialogId, ItemOther, r.delimiterMode == DelimiterOther);
    DGSetItemValDouble(dialogId, ItemFilter, r.tolerance);
    DGSetItemText(dialogId, ItemCodeText, Uni(r.options.code));
    DGSetItemValLong(dialogId, ItemPen, r.options.pen);
    DGSetItemValLong(dialogId, ItemPenControl, r.options.pen);
    DGSetItemValLong(dialogId, ItemLayer, r.options.layer);
    PointCodeRecord code;
    code.description = r.options.code;
    code.code = uint32_t(r.options.codeNumber < 0 ? 0 : r.options.codeNumber);
    FiveDigitCodeItem(dialogId, ItemCode, 0, FiveDigitShow, code);
    DGSetCheckBoxState(dialogId, ItemOverwrite, r.overwriteCode != 0);
    for (int16_t item : {ItemCodeLabel, ItemCodeText, ItemCode}) DGSetItemEnable(dialogId, item, r.overwriteCode != 0);
    DGHideItem(dialogId, ItemLayoutButton);
    FillPreviews(dialogId, r, true, true);
    DGSetDialogClientSize(dialogId, 480, 612);
    DGSetFocus(dialogId, -1);
}

void Change(int16_t dialogId, int16_t item, TextImportBlock& block) {
    TextFileCls& r = *block.reader;
    PointCodeRecord code;
    switch (item) {
        case ItemSkip:
        case ItemLayout:
        case ItemBlanks:
        case ItemOther: FillPreviews(dialogId, r, false, false); break;
        case ItemSwap:
            FillPreviews(dialogId, r, false, false);
            DGSetFocus(dialogId, -1);
            break;
        case ItemUnit:
            r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, ItemUnit));
            FillPreviews(dialogId, r, false, false);
            break;
        case ItemDelimiter: {
            const int32_t mode = DGPopUpGetSelected(dialogId, ItemDelimiter);
            DGSetItemVisible(dialogId, ItemBlanks, mode == DelimiterSpaces);
            DGSetItemVisible(dialogId, ItemOther, mode == DelimiterOther);
            FillPreviews(dialogId, r, false, false);
            break;
        }
        case ItemOverwrite: {
            const bool on = DGGetCheckBoxState(dialogId, ItemOverwrite);
            for (int16_t i : {ItemCodeLabel, ItemCodeText, ItemCode}) DGSetItemEnable(dialogId, i, on);
            break;
        }
        case ItemCode: FiveDigitCodeItem(dialogId, ItemCode, 0, FiveDigitFilter, code); break;
        case ItemPen: DGSetItemValLong(dialogId, ItemPenControl, DGGetItemValLong(dialogId, ItemPen)); break;
        default: break;
    }
}

void Track(int16_t dialogId, int16_t item, TextImportBlock&) {
    if (item == ItemPenControl) DGSetItemValLong(dialogId, ItemPen, DGGetItemValLong(dialogId, ItemPenControl));
}

int16_t Click(int16_t dialogId, int16_t item, TextImportBlock&) {
    if (item == ItemOK) return CheckToolLayer(int16_t(DGGetItemValLong(dialogId, ItemLayer))) ? ItemOK : 0;
    if (item == ItemCancel) return ItemCancel;
    if (item == ItemData) {
        DGListDeselectItem(dialogId, ItemData, DGListGetSelected(dialogId, ItemData));
        DGRedrawItem(dialogId, ItemData);
        DGSetFocus(dialogId, -1);
    }
    return 0;
}

void Close(int16_t dialogId, int16_t item, TextImportBlock& block) {
    block.dialogId = 0;
    if (item != ItemOK) return;
    TextFileCls& r = *block.reader;
    r.skipFirstRow = DGGetCheckBoxState(dialogId, ItemSkip) ? 1 : 0;
    r.swapXY = DGGetCheckBoxState(dialogId, ItemSwap) ? 1 : 0;
    r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, ItemUnit));
    r.layout = LayoutFromFormatEntry(DGPopUpGetSelected(dialogId, ItemLayout));
    r.decimalSeparator = DGPopUpGetSelected(dialogId, ItemDecimal) == 1 ? 1 : 2;
    r.delimiterChar = '\t';
    switch (DGPopUpGetSelected(dialogId, ItemDelimiter)) {
        case DelimiterTab: r.delimiterMode = DelimiterTab; break;
        case DelimiterSemicolon:
            r.delimiterMode = DelimiterSemicolon;
            r.delimiterChar = ';';
            break;
        case DelimiterSpaces:
            r.delimiterMode = DelimiterSpaces;
            r.minBlanks = DGGetItemValLong(dialogId, ItemBlanks);
            break;
        default:
            r.delimiterMode = DelimiterOther;
            r.delimiterChar = OtherCharacter(dialogId);
            break;
    }
    r.tolerance = DGGetItemValDouble(dialogId, ItemFilter);
    r.overwriteCode = DGGetCheckBoxState(dialogId, ItemOverwrite) ? 1 : 0;
    r.options.layer = int16_t(DGGetItemValLong(dialogId, ItemLayer));
    r.options.pen = int16_t(DGGetItemValLong(dialogId, ItemPen));
    if (r.overwriteCode) {
        PointCodeRecord code;
        FiveDigitCodeItem(dialogId, ItemCode, ItemCodeText, FiveDigitRead, code);
        r.options.codeNumber = int32_t(code.code);
        r.options.code = code.description;
    }
}

using TextDialog = ModalDialog<TextImportBlock>;
const TextDialog::Handlers Handlers = {HasReader, Init, Click, Change, Close, Track, nullptr};

}  // namespace

bool OpenTextImportDialog(TextImportBlock& block, TextFileCls& reader) {
    block.reader = &reader;
    return TextDialog::Run(TextImportDialogId, TextImportDialogCallback, block) == ItemOK;
}

bool AskTextImportOptions(TextFileCls& reader) {
    TextImportBlock block;
    return OpenTextImportDialog(block, reader);
}

int16_t TextImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                 intptr_t messageData) {
    return TextDialog::Dispatch(TextImportDialogId, Handlers, message, dialogId, item, userData, messageData);
}
