#pragma once
// Text between the module's strings and the dialog items: a string as an item text, a table entry in the
// current language, and an item's text back.
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

#include "DG.hpp"

#include <cstdint>

inline GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

inline GS::UniString Text(int32_t tableBase, int32_t index) {
    QV_String text;
    GetResString(text, tableBase + LanguageIndex, index);
    return Uni(text);
}

inline QV_String FromUni(const GS::UniString& text) {
    QV_String out;
    out.AppendWide(text.ToUStr(), text.GetLength());
    return out;
}
