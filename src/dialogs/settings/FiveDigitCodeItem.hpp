#pragma once
// A point code shown and typed as exactly five digits, with an optional description of up to 20 characters.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct PointCodeRecord {
    QV_String description;
    uint32_t code = 0;
};

enum FiveDigitCodeMode : int16_t {
    FiveDigitShow = 0,    // the code into the code item, zero-padded to five digits
    FiveDigitFilter = 1,  // on a change of the code item: at most five characters, non-digits become '0'
    FiveDigitRead = 2,    // both items into the record
};

// `descriptionItem` 0: no description item.
void FiveDigitCodeItem(int16_t dialogId, int16_t codeItem, int16_t descriptionItem, int16_t mode,
                       PointCodeRecord& record);

// The text the code item shows for `code` ("00042"; six digits and more unchanged).
QV_String FormatFiveDigitCode(uint32_t code);
// The filtered text of a typed code; false when nothing had to be replaced (the item is then left alone).
bool FilterFiveDigitCode(const QV_String& typed, QV_String& filtered);
// The code of an item text: its first five characters, digit by digit from the right; empty gives 0.
uint32_t ParseFiveDigitCode(const QV_String& text);
