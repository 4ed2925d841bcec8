#include "dialogs/settings/AscImportDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/ColumnImportItems.hpp"
#include "dialogs/settings/FiveDigitCodeItem.hpp"
#include "fileio/UnitFactor.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "DG.hpp"
#include "TE.hpp"

#include <string>

namespace {

enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemRawLabel = 3,
    ItemRaw = 4,
    ItemDataLabel = 5,
    ItemData = 6,
    ItemOptionsLabel = 7,
    ItemSwap = 9,
    ItemUnitLabel = 10,
    ItemUnit = 11,
    ItemDecimalLabel = 12,
    ItemDecimal = 13,
    ItemDelimiterLabel = 14,
    ItemDelimiter = 15,
    ItemBlanks = 16,
    ItemOther = 17,
    ItemFilterLabel = 18,
    ItemFilter = 19,
    ItemPointsLabel = 20,
    ItemOverwrite = 23,
    ItemCodeLabel = 24,
    ItemCodeText = 25,
    ItemCode = 26,
    ItemPen = 28,
    ItemPenControl = 29,
    ItemLayer = 31,
};

QV_String FromUni(const GS::UniString& text) {
    const std::string utf8 = text.ToUtf8();
    return QV_String(utf8.c_str(), Encoding_UTF8);
}

void BindControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

int32_t UnitEntry(int16_t unit) {
    switch (unit) {
        case 0: return 1;
        case 1: return 2;
        case 2: return 3;
        case 3: return 5;
        default: return 6;
    }
}

int16_t UnitFromEntry(int32_t entry) {
    switch (entry) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        case 5: return 3;
        default: return 4;
    }
}

// The first character of the "other:" item (of at most its first three), 0 when it is empty.
char OtherCharacter(int16_t dialogId) {
    const std::string text = FromUni(DGGetItemText(dialogId, ItemOther)).ToStdString(Encoding_System);
    return text.empty() ? 0 : text[0];
}

void ShowDelimiterItems(int16_t dialogId) {
    const int32_t mode = DGPopUpGetSelected(dialogId, ItemDelimiter);
    DGSetItemVisible(dialogId, ItemBlanks, mode == DelimiterSpaces);
    DGSetItemVisible(dialogId, ItemOther, mode == DelimiterOther);
}

QV_String General(double value) {
    QV_String text;
    text.FromDouble(value, 0, 0);
    return text;
}

void FillDataPreview(int16_t dialogId, ASCFile::ASCFileCls& r, bool fromReader) {
    char delimiter = r.delimiterChar;
    int32_t mode = r.delimiterMode;
    if (!fromReader) {
        mode = DGPopUpGetSelected(dialogId, ItemDelimiter);
        switch (mode) {
            case DelimiterTab: delimiter = '\t'; break;
            case DelimiterSemicolon: delimiter = ';'; break;
            case DelimiterSpaces:
                delimiter = ' ';
                r.minBlanks = DGGetItemValLong(dialogId, ItemBlanks);
                break;
            default: delimiter = OtherCharacter(dialogId); break;
        }
    }
    const std::vector<QV_String> lines = ReadAscPreviewLines(r);
    std::vector<std::string> texts;
    bool delimited = false;
    for (const QV_String& line : lines) {
        texts.push_back(line.ToStdString(Encoding_System));
        delimited = delimited || (delimiter != 0 && texts.back().find(delimiter) != std::string::npos);
    }
    DGListDisableDraw(dialogId, ItemData);
    DGListDeleteItem(dialogId, ItemData, DG_ALL_ITEMS);
    if (!delimited) {
        DGListSetTabFieldCount(dialogId, ItemData, 1);
        DGListSetTabFieldData(dialogId, ItemData, 1, 0, DGGetItemWidth(dialogId, ItemData) - 30);
        for (const QV_String& line : lines) {
            DGListInsertItem(dialogId, ItemData, DG_LIST_BOTTOM);
            DGListSetItemText(dialogId, ItemData, DGListGetItemCount(dialogId, ItemData), Uni(line));
        }
    } else {
        DGListSetTabFieldCount(dialogId, ItemData, 3);
        DGListSetTabFieldData(dialogId, ItemData, 1, 1, 130);
        DGListSetTabFieldData(dialogId, ItemData, 2, 131, 260);
        DGListSetTabFieldData(dialogId, ItemData, 3, 261, 400);
        const double f = GetUnitFactor(r.unitCode);
        const bool swap = DGGetCheckBoxState(dialogId, ItemSwap);
        for (size_t i = 0; i < texts.size(); ++i) {
            // Row i shows its first cell where the reader puts it.
            const std::string first = texts[i].substr(0, texts[i].find(delimiter));
            double x = f * r.header.CellX(0);
            double y = f * r.header.CellY(i);
            const double z = f * StrToDouble(first.c_str());
            if (swap) std::swap(x, y);
            DGListInsertItem(dialogId, ItemData, DG_LIST_BOTTOM);
            DGListSetItemText(dialogId, ItemData, DGListGetItemCount(dialogId, ItemData),
                              Uni(General(x) + "\t" + General(y) + "\t" + General(z)));
        }
    }
    DGListEnableDraw(dialogId, ItemData);
}

void FillPreviews(int16_t dialogId, ASCFile::ASCFileCls& r, bool withText, bool fromReader) {
    if (withText) DGRichEditSetText(dialogId, ItemRaw, Uni(RawPreviewText(ReadAscPreviewLines(r))));
    FillDataPreview(dialogId, r, fromReader);
}

bool HasReader(const AscImportBlock& block) { return block.reader != nullptr; }

void Init(int16_t dialogId, AscImportBlock& block) {
    ASCFile::ASCFileCls& r = *block.reader;
    DGSetDialogTitle(dialogId, Text(ImportTableBase + 10, 1));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    const std::pair<int16_t, int32_t> labels[] = {
        {ItemRawLabel, 5},     {ItemDataLabel, 208},   {ItemOptionsLabel, 6},    {ItemSwap, 11},
        {ItemUnitLabel, 218},  {ItemDecimalLabel, 12}, {ItemDelimiterLabel, 15}, {ItemFilterLabel, 21},
        {ItemPointsLabel, 25}, {ItemOverwrite, 23},    {ItemCodeLabel, 24}};
    for (const auto& [item, index] : labels) DGSetItemText(dialogId, item, Text(GeneralTableBase, index));
    BindControl(dialogId, ItemPenControl, APIUserControl_Pen);
    BindControl(dialogId, ItemLayer, APIUserControl_Layer);
    DGRichEditSetFont(dialogId, ItemRaw, TE::Font(TE::FontFamily(GS::UniString("Courier New")), 12));
    DGListSetItemHeight(dialogId, ItemData, 15);
    DGSetCheckBoxState(dialogId, ItemSwap, r.swapXY != 0);

    DGPopUpDeleteItem(dialogId, ItemUnit, DG_ALL_ITEMS);
    for (int32_t index : {219, 220, 221, 0, 222, 223}) {
        if (index == 0) {
            DGPopUpInsertSeparator(dialogId, ItemUnit, DG_POPUP_BOTTOM);
            continue;
        }
        DGPopUpInsertItem(dialogId, ItemUnit, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, ItemUnit, DGPopUpGetItemCount(dialogId, ItemUnit), Text(GeneralTableBase, index));
    }
    DGPopUpSelectItem(dialogId, ItemUnit, UnitEntry(r.unitCode));
    DGPopUpDeleteItem(dialogId, ItemDecimal, DG_ALL_ITEMS);
    for (int32_t index : {13, 14}) {
        DGPopUpInsertItem(dialogId, ItemDecimal, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, ItemDecimal, DGPopUpGetItemCount(dialogId, ItemDecimal),
                           Text(GeneralTableBase, index));
    }
    if (r.decimalSeparator == 1 || r.decimalSeparator == 2)
        DGPopUpSelectItem(dialogId, ItemDecimal, r.decimalSeparator);

    DGHideItem(dialogId, ItemBlanks);
    DGHideItem(dialogId, ItemOther);
    DGPopUpDeleteItem(dialogId, ItemDelimiter, DG_ALL_ITEMS);
    for (int32_t index : {16, 17, 18, 19}) {
        DGPopUpInsertItem(dialogId, ItemDelimiter, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, ItemDelimiter, DGPopUpGetItemCount(dialogId, ItemDelimiter),
                           Text(GeneralTableBase, index));
    }
    if (r.delimiterMode >= DelimiterTab && r.delimiterMode <= DelimiterOther)
        DGPopUpSelectItem(dialogId, ItemDelimiter, r.delimiterMode);
    if (r.delimiterMode == DelimiterSpaces) {
        DGSetItemValLong(dialogId, ItemBlanks, r.minBlanks);
        DGShowItem(dialogId, ItemBlanks);
    } else if (r.delimiterMode == DelimiterOther) {
        const char other[2] = {r.delimiterChar, 0};
        DGSetItemText(dialogId, ItemOther, Uni(QV_String(other, Encoding_System)));
        DGShowItem(dialogId, ItemOther);
    }

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
    FillPreviews(dialogId, r, true, true);
    DGSetDialogClientSize(dialogId, 480, 582);
}

void Change(int16_t dialogId, int16_t item, AscImportBlock& block) {
    ASCFile::ASCFileCls& r = *block.reader;
    PointCodeRecord code;
    switch (item) {
        case ItemSwap:
            FillDataPreview(dialogId, r, false);
            DGSetFocus(dialogId, -1);
            break;
        case ItemUnit:
            r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, ItemUnit));
            FillDataPreview(dialogId, r, false);
            break;
        case ItemDelimiter:
            ShowDelimiterItems(dialogId);
            FillDataPreview(dialogId, r, false);
            break;
        case ItemBlanks:
        case ItemOther: FillDataPreview(dialogId, r, false); break;
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

void Track(int16_t dialogId, int16_t item, AscImportBlock&) {
    if (item == ItemPenControl) DGSetItemValLong(dialogId, ItemPen, DGGetItemValLong(dialogId, ItemPenControl));
}

int16_t Click(int16_t dialogId, int16_t item, AscImportBlock&) {
    if (item == ItemOK) return CheckToolLayer(int16_t(DGGetItemValLong(dialogId, ItemLayer))) ? ItemOK : 0;
    if (item == ItemCancel) return ItemCancel;
    if (item == ItemData) {
        // The preview is for reading only.
        DGListDeselectItem(dialogId, ItemData, DGListGetSelected(dialogId, ItemData));
        DGRedrawItem(dialogId, ItemData);
        DGSetFocus(dialogId, -1);
    }
    return 0;
}

const ColumnImportItems ColumnItems = {ItemBlanks, ItemFilter, ItemOverwrite, ItemLayer,
                                       ItemPen,    ItemCode,   ItemCodeText};

void Close(int16_t dialogId, int16_t item, AscImportBlock& block) {
    if (item != ItemOK) return;
    ASCFile::ASCFileCls& r = *block.reader;
    r.swapXY = DGGetCheckBoxState(dialogId, ItemSwap) ? 1 : 0;
    r.unitCode = UnitFromEntry(DGPopUpGetSelected(dialogId, ItemUnit));
    r.decimalSeparator = DGPopUpGetSelected(dialogId, ItemDecimal) == 1 ? 1 : 2;
    const int32_t delimiter = DGPopUpGetSelected(dialogId, ItemDelimiter);
    const char other = delimiter == DelimiterTab || delimiter == DelimiterSemicolon || delimiter == DelimiterSpaces
        ? 0
        : OtherCharacter(dialogId);
    StoreColumnImportItems(dialogId, ColumnItems, delimiter, other, r);
}

using AscDialog = ModalDialog<AscImportBlock>;
const AscDialog::Handlers Handlers = {HasReader, Init, Click, Change, Close, Track, nullptr};

}  // namespace

std::vector<QV_String> ReadAscPreviewLines(ASCFile::ASCFileCls& reader) {
    ReadAscHeaderValues(reader);
    std::vector<QV_String> lines;
    QV_String line;
    while (lines.size() < 5 && reader.readPosition < reader.fileLength) {
        reader.ReadLine(line, SampleCharacters);
        if (!line.IsEmpty()) lines.push_back(line);
    }
    return lines;
}

QV_String RawPreviewText(const std::vector<QV_String>& lines) {
    // Grows with the lines: no fixed room that a long first row would overrun.
    QV_String text;
    const QV_String blank(" "), tab("\t"), crlf("\r\n");
    const QV_String dot("\xE2\x80\xA2", Encoding_UTF8), tabMark("\xC2\xBB   ", Encoding_UTF8);
    for (const QV_String& line : lines) {
        QV_String dotted, marked;
        line.Replace(dotted, blank, dot);
        dotted.Replace(marked, tab, tabMark);
        text += marked;
        text += crlf;
    }
    return text;
}

bool OpenAscImportDialog(AscImportBlock& block, ASCFile::ASCFileCls& reader) {
    block.reader = &reader;
    return AscDialog::Run(AscImportDialogId, AscImportDialogCallback, block) == ItemOK;
}

bool AskAscImportOptions(ASCFile::ASCFileCls& reader) {
    AscImportBlock block;
    return OpenAscImportDialog(block, reader);
}

int16_t AscImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData) {
    return AscDialog::Dispatch(AscImportDialogId, Handlers, message, dialogId, item, userData, messageData);
}
