#include "foundation/GuidText.hpp"

#include "GSGuid.hpp"
#include "UniString.hpp"

#include <cstring>

void GuidToText(QV_String& text, const API_Guid& guid) {
    GS::Guid g;
    std::memcpy(static_cast<void*>(&g), &guid, sizeof g);
    char buffer[GS::Guid::TextLength + 1] = {};
    if (g.ConvertToString(buffer, sizeof buffer) != NoError) {
        text = QV_String("");
        return;
    }
    text = QV_String(buffer, Encoding_System);
}

void StringToGuid(API_Guid& outGuid, const QV_String& text) {
    outGuid = APINULLGuid;
    if (!text.HasBuffer()) return;
    GS::Guid guid;
    if (guid.ConvertFromString(GS::UniString(text.GetBuffer(), text.GetLength())) != NoError) return;
    static_assert(sizeof(GS::Guid) == sizeof(API_Guid), "the two GUID records have one layout");
    std::memcpy(&outGuid, &guid, sizeof outGuid);
}
