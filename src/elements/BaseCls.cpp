#include "elements/BaseCls.hpp"

#include "GSGuid.hpp"

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
