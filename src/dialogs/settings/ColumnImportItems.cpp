#include "dialogs/settings/ColumnImportItems.hpp"

#include "dialogs/settings/FiveDigitCodeItem.hpp"

#include "DG.hpp"

void StoreColumnImportItems(int16_t dialogId, const ColumnImportItems& items, int32_t delimiter, char other,
                            ColumnFileCls& r) {
    r.delimiterChar = '\t';
    switch (delimiter) {
        case DelimiterTab: r.delimiterMode = DelimiterTab; break;
        case DelimiterSemicolon:
            r.delimiterMode = DelimiterSemicolon;
            r.delimiterChar = ';';
            break;
        case DelimiterSpaces:
            r.delimiterMode = DelimiterSpaces;
            r.minBlanks = DGGetItemValLong(dialogId, items.blanks);
            break;
        default:
            r.delimiterMode = DelimiterOther;
            r.delimiterChar = other;
            break;
    }
    r.tolerance = DGGetItemValDouble(dialogId, items.filter);
    r.overwriteCode = DGGetCheckBoxState(dialogId, items.overwrite) ? 1 : 0;
    r.options.layer = int16_t(DGGetItemValLong(dialogId, items.layer));
    r.options.pen = int16_t(DGGetItemValLong(dialogId, items.pen));
    if (r.overwriteCode) {
        PointCodeRecord code;
        FiveDigitCodeItem(dialogId, items.code, items.codeText, FiveDigitRead, code);
        r.options.codeNumber = int32_t(code.code);
        r.options.code = code.description;
    }
}
