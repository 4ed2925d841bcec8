#include "dialogs/settings/SOSIWorksheetScan.hpp"

#include "foundation/ACAPI.hpp"

#include "APIElements.hpp"
#include "GSRoot.hpp"

#include <string>

namespace {

std::u16string Units(const QV_String& text) {
    const GS::UniChar* buffer = text.GetBuffer();
    return buffer != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(buffer), text.GetLength())
                             : std::u16string();
}

std::u16string Field(const char16_t* field, size_t capacity) {
    size_t n = 0;
    while (n < capacity && field[n] != 0) ++n;
    return std::u16string(field, n);
}

// Frees the host's list on every exit.
struct HandleGuard {
    GSHandle handle = nullptr;
    ~HandleGuard() {
        if (handle != nullptr) BMKillHandle(&handle);
    }
};

}  // namespace

int32_t ScanIndependentWorksheets(const QV_String& referenceId, const QV_String& name) {
    HandleGuard list;
    if (ACAPI_Database(APIDb_GetWorksheetDatabasesID, &list.handle) != NoError || list.handle == nullptr) return -1;
    const size_t count = size_t(BMGetHandleSize(list.handle)) / sizeof(API_Guid);
    const std::u16string wantedName = Units(name), wantedRef = Units(referenceId);
    for (size_t i = 0; i < count; ++i) {
        API_DatabaseInfo info = {};
        info.typeID = APIWind_WorksheetID;
        info.databaseUnId = reinterpret_cast<const API_Guid*>(*list.handle)[i];
        if (ACAPI_Database(APIDb_GetDatabaseInfoID, &info) != NoError) continue;
        if (Field(info.name, 128) == wantedName && Field(info.ref, 32) == wantedRef) return 1;
    }
    return 0;
}

QV_String NextWorksheetReference(const QV_String& referenceId) {
    std::u16string text = Units(referenceId);
    size_t first = text.size();
    while (first > 0 && text[first - 1] >= u'0' && text[first - 1] <= u'9') --first;
    if (first == text.size()) {
        text += u"-01";
    } else {
        // Decimal increment on the digits themselves; a carry out of the first digit widens the number.
        size_t k = text.size();
        while (k > first) {
            --k;
            if (text[k] != u'9') {
                ++text[k];
                break;
            }
            text[k] = u'0';
            if (k == first) text.insert(first, 1, u'1');
        }
    }
    QV_String out;
    out.AppendWide(reinterpret_cast<const GS::UniChar*>(text.data()), uint32_t(text.size()));
    return out;
}

void ProposeFreeWorksheetReference(QV_String& referenceId, const QV_String& name) {
    // Each step makes the id longer or larger, so the loop ends once the project's worksheets are passed.
    while (ScanIndependentWorksheets(referenceId, name) == 1) referenceId = NextWorksheetReference(referenceId);
}
