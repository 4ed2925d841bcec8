#include "dialogs/settings/FiveDigitCodeItem.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "DG.hpp"

namespace {
constexpr uint32_t CodeLength = 5;
constexpr uint32_t DescriptionLength = 20;

GS::UniString ToUni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

}  // namespace

QV_String FormatFiveDigitCode(uint32_t code) {
    QV_String digits;
    // The record keeps the code unsigned; the text is its decimal form.
    digits.FromLong(int32_t(code > 0x7fffffffu ? 0x7fffffffu : code));
    static const char* const pads[] = {"", "0000", "000", "00", "0"};
    if (digits.GetLength() >= 1 && digits.GetLength() < CodeLength) return pads[digits.GetLength()] + digits;
    return digits;
}

bool FilterFiveDigitCode(const QV_String& typed, QV_String& filtered) {
    QV_String kept;
    typed.Left(kept, CodeLength);
    bool replaced = false;
    filtered.Clear();
    for (uint32_t i = 0; i < kept.GetLength(); ++i) {
        const GS::UniChar c = kept.GetAt(i);
        const bool digit = c >= u'0' && c <= u'9';
        replaced = replaced || !digit;
        const GS::UniChar unit = digit ? c : GS::UniChar(u'0');
        filtered.AppendWide(&unit, 1);
    }
    return replaced;
}

uint32_t ParseFiveDigitCode(const QV_String& text) {
    const uint32_t n = text.GetLength() < CodeLength ? text.GetLength() : CodeLength;
    uint32_t code = 0;
    uint32_t scale = 1;
    for (uint32_t i = n; i-- > 0; scale *= 10) code += uint32_t(int32_t(text.GetAt(i)) - int32_t(u'0')) * scale;
    return code;
}

void FiveDigitCodeItem(int16_t dialogId, int16_t codeItem, int16_t descriptionItem, int16_t mode,
                       PointCodeRecord& record) {
    switch (mode) {
        case FiveDigitShow: DGSetItemText(dialogId, codeItem, ToUni(FormatFiveDigitCode(record.code))); break;
        case FiveDigitFilter: {
            QV_String filtered;
            if (FilterFiveDigitCode(FromUni(DGGetItemText(dialogId, codeItem)), filtered))
                DGSetItemText(dialogId, codeItem, ToUni(filtered));
            break;
        }
        case FiveDigitRead:
            if (descriptionItem != 0)
                FromUni(DGGetItemText(dialogId, descriptionItem)).Left(record.description, DescriptionLength);
            record.code = ParseFiveDigitCode(FromUni(DGGetItemText(dialogId, codeItem)));
            break;
        default: break;
    }
}
