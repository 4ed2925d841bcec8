#include "sosi/SOSIOutputSteps.hpp"

#include "foundation/ACAPI.hpp"
#include "settings/MiscSettings.hpp"

#include <cstring>

namespace {

QV_String FromField(const char16_t* field, size_t units) {
    size_t n = 0;
    while (n < units && field[n] != 0) ++n;
    QV_String text;
    text.AppendWide(reinterpret_cast<const GS::UniChar*>(field), uint32_t(n));
    return text;
}

// Cut to the field, always ended.
void ToField(const QV_String& text, char16_t* field, size_t units) {
    std::memset(field, 0, units * sizeof(char16_t));
    uint32_t n = text.GetLength() < units - 1 ? text.GetLength() : uint32_t(units - 1);
    // A surrogate pair is not split.
    if (n > 0 && n < text.GetLength() && text.GetAt(n - 1) >= 0xD800 && text.GetAt(n - 1) <= 0xDBFF) --n;
    for (uint32_t i = 0; i < n; ++i) field[i] = char16_t(text.GetAt(i));
}

bool SameText(const QV_String& a, const QV_String& b) { return a.GetLength() == b.GetLength() && a.Compare(b) == 0; }

}  // namespace

bool CreateOrReuseWorksheet(const MiscSettings& misc, uint8_t namesFromSettings, uint8_t* existed) {
    *existed = 0;
    QV_String wantedRef, wantedName;
    if (namesFromSettings != 0) {
        wantedRef = misc.worksheetReference;
        wantedName = misc.worksheetName;
    } else {
        API_DatabaseInfo current = {};
        if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &current) != NoError) return false;
        wantedRef = FromField(current.ref, 32);
        wantedName = FromField(current.name, 128);
    }

    GSHandle ids = nullptr;
    if (ACAPI_Database(APIDb_GetWorksheetDatabasesID, &ids) != NoError) return false;
    API_DatabaseInfo target = {};
    const size_t count = ids != nullptr ? size_t(BMGetHandleSize(ids)) / sizeof(API_Guid) : 0;
    for (size_t i = 0; i < count && *existed == 0; ++i) {
        API_DatabaseInfo info = {};
        info.typeID = APIWind_WorksheetID;
        info.databaseUnId = reinterpret_cast<const API_Guid*>(*ids)[i];
        // A worksheet the host would not describe may be the one wanted: a second one of its id would be made.
        if (ACAPI_Database(APIDb_GetDatabaseInfoID, &info) != NoError) {
            BMKillHandle(&ids);
            return false;
        }
        if (!SameText(FromField(info.ref, 32), wantedRef)) continue;
        target = info;
        *existed = 1;
    }
    BMKillHandle(&ids);

    if (*existed != 0) {
        if (!SameText(FromField(target.name, 128), wantedName)) {
            ToField(wantedName, target.name, 128);
            if (ACAPI_Database(APIDb_ModifyDatabaseID, &target) != NoError) return false;
        }
    } else {
        target = API_DatabaseInfo();
        target.typeID = APIWind_WorksheetID;
        ToField(wantedName, target.name, 128);
        ToField(wantedRef, target.ref, 32);
        if (ACAPI_Database(APIDb_NewDatabaseID, &target) != NoError) return false;
    }

    API_WindowInfo window = {};
    window.typeID = APIWind_WorksheetID;
    window.databaseUnId = target.databaseUnId;
    return ACAPI_Automate(APIDo_ChangeWindowID, &window) == NoError;
}
