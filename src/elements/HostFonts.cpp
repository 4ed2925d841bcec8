#include "elements/HostFonts.hpp"

#include "foundation/ACAPI.hpp"

QV_List<API_FontType> HostFontList;

namespace {
// More font attributes than any project holds: the walk stops here whatever the host answers.
constexpr int32_t MaxFontIndex = 100000;
}  // namespace

bool FillHostFontList() {
    HostFontList.Clear();
    for (int32_t index = 1; index <= MaxFontIndex; ++index) {
        API_Attribute attribute = {};
        attribute.header.typeID = API_FontID;
        attribute.header.index = index;
        if (ACAPI_Attribute_Get(&attribute) != NoError) break;
        if (!HostFontList.Insert(attribute.font)) {
            HostFontList.Clear();
            return false;
        }
    }
    return true;
}
