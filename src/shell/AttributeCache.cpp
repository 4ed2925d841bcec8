#include "shell/AttributeCache.hpp"

#include "foundation/ACAPI.hpp"

#include <algorithm>
#include <vector>

QV_List<API_FontType> AttributeCache;
int32_t DefaultTextAttribute = -1;

namespace {
QV_String NameOf(const API_FontType& font) { return QV_String(font.head.name, Encoding_UTF8); }

bool SameName(const API_FontType& a, const API_FontType& b) { return NameOf(a).CompareNoCase(NameOf(b)) == 0; }
}  // namespace

bool CompareAttributeNames(const API_FontType& a, const API_FontType& b) {
    return NameOf(a).CompareNoCase(NameOf(b)) < 0;
}

bool RebuildAttributeCache() {
    int32_t count = 0;
    if (ACAPI_Attribute_GetNum(API_FontID, &count) != NoError) count = -1;
    std::vector<API_FontType> fonts;
    for (int32_t index = 1; index <= count; ++index) {
        API_Attribute attribute = {};
        attribute.header.typeID = API_FontID;
        attribute.header.index = index;
        // A deleted font leaves its index unreadable; the fonts after it are still the project's.
        if (ACAPI_Attribute_Get(&attribute) != NoError) continue;
        // The walk ends at the first attribute whose 16-bit flag word is positive.
        if (static_cast<int16_t>(attribute.header.flags & 0xFFFF) > 0) break;
        fonts.push_back(attribute.font);
    }
    AttributeCache.Clear();
    if (count < 1) {
        // An index into a cache that is now empty would point at nothing.
        DefaultTextAttribute = -1;
        return true;
    }
    std::stable_sort(fonts.begin(), fonts.end(), CompareAttributeNames);
    fonts.erase(std::unique(fonts.begin(), fonts.end(), SameName), fonts.end());
    for (const API_FontType& font : fonts)
        if (!AttributeCache.Insert(font)) {
            AttributeCache.Clear();
            DefaultTextAttribute = -1;
            return false;
        }
    return FindDefaultTextAttribute();
}

bool FindDefaultTextAttribute() {
    DefaultTextAttribute = -1;
    API_Element text = {};
    text.header.typeID = API_TextID;
    if (ACAPI_Element_GetDefaults(&text, nullptr) != NoError) return false;
    API_Attribute font = {};
    font.header.typeID = API_FontID;
    font.header.index = text.text.font;
    if (ACAPI_Attribute_Get(&font) != NoError) return false;
    for (int32_t i = 0; i < AttributeCache.GetCount(); ++i)
        if (SameName(AttributeCache[i], font.font)) {
            DefaultTextAttribute = i;
            break;
        }
    return true;
}
