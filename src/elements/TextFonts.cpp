#include "elements/TextFonts.hpp"

#include "foundation/ACAPI.hpp"
#include "elements/HostFonts.hpp"

#include <cstring>

namespace {
bool DefaultText(API_Element& text) {
    text = API_Element{};
    text.header.typeID = API_TextID;
    return ACAPI_Element_GetDefaults(&text, nullptr) == NoError;
}
}  // namespace

bool FontExistsInDefaultSet(const QV_String& name) {
    API_Element text;
    if (!DefaultText(text)) return false;
    for (const API_FontType& font : HostFontList) {
        if (font.familyType != text.text.fontSetCode) continue;
        const QV_String fontName(font.head.name, uint32_t(strnlen(font.head.name, sizeof font.head.name)),
                                 Encoding_UTF8);
        if (fontName.CompareNoCase(name) == 0) return true;
    }
    return false;
}

bool GetTextDefaultRecord(API_FontType* out) {
    API_Element text;
    if (!DefaultText(text)) return false;
    API_Attribute attribute = {};
    attribute.header.typeID = API_FontID;
    attribute.header.index = text.text.font;
    if (ACAPI_Attribute_Get(&attribute) != NoError) return false;
    if (out != nullptr) *out = attribute.font;
    return true;
}
