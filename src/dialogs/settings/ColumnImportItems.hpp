#pragma once
// The items the two column-import dialogs share below their format choices: the delimiter with its blanks and
// "other:" character, the duplicate filter, "Overwrite original code" with the code pair, the layer and the pen.
#include "fileio/ColumnFileCls.hpp"

#include <cstdint>

struct ColumnImportItems {
    int16_t blanks, filter, overwrite, layer, pen, code, codeText;
};

// Those items into the reader, as OK stores them. `delimiter` is the chosen DelimiterMode; `other` the
// "other:" item's character, used only with DelimiterOther.
void StoreColumnImportItems(int16_t dialogId, const ColumnImportItems& items, int32_t delimiter, char other,
                            ColumnFileCls& reader);
