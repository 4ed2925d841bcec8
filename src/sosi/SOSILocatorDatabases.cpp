#include "sosi/SOSILocatorDatabases.hpp"

#include "elements/CoordinateLocator.hpp"
#include "elements/CoordinateLocatorLP.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "sosi/SOSIFileCls.hpp"

#include "GSRoot.hpp"

#include <vector>

namespace {

// The reader's locator part, or the one of that name when the command did not look it up (`refused` set when the
// host refused the search).
int32_t LocatorPart(const SOSIFileCls& reader, bool& refused) {
    if (reader.output.locatorLibPartIndex > 0) return reader.output.locatorLibPartIndex;
    int32_t index = -1;
    refused = LookUpLibPart(QV_String(CoordinateLocatorPartName), APILib_ObjectID, index) == LibPartLookup::Refused;
    return index;
}

bool WorksheetDatabases(std::vector<API_Guid>& ids) {
    GSHandle h = nullptr;
    if (ACAPI_Database(APIDb_GetWorksheetDatabasesID, &h) != NoError) return false;
    if (h == nullptr) return true;
    const size_t n = size_t(BMGetHandleSize(h)) / sizeof(API_Guid);
    const API_Guid* g = reinterpret_cast<const API_Guid*>(*h);
    ids.assign(g, g + n);
    BMKillHandle(&h);
    return true;
}

// A placed object of part `libInd` in the current database. With no filter bits every listed element passes the
// host's filter, so one that does not, like one that cannot be read, is a refusal (`refused` set).
bool HoldsLocator(int32_t libInd, bool& refused) {
    GS::Array<API_Guid> objects;
    if (ACAPI_Element_GetElemList(API_ObjectID, &objects) != NoError) return !(refused = true);
    for (uint32_t i = 0; i < objects.GetSize(); ++i) {
        API_Element e = {};
        e.header.guid = objects[i];
        if (!ACAPI_Element_Filter(objects[i], 0) || ACAPI_Element_Get(&e) != NoError) return !(refused = true);
        if (e.object.libInd == libInd) return true;
    }
    return false;
}

}  // namespace

void FindSOSILocatorDatabases(SOSIFileCls& reader) {
    QV_List<API_DatabaseInfo>& locatorDatabases = reader.output.locatorDatabases;
    locatorDatabases.Clear();
    reader.output.locatorRefused = 0;
    if (reader.importMode == SOSIModeWorksheet) return;
    bool refused = false;
    const int32_t libInd = LocatorPart(reader, refused);
    if (refused) reader.output.locatorRefused = 1;
    if (libInd <= 0) return;
    API_DatabaseInfo before = {};
    std::vector<API_Guid> sheets;
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &before) != NoError || !WorksheetDatabases(sheets)) {
        reader.output.locatorRefused = 1;
        return;
    }
    for (const API_Guid& id : sheets) {
        API_DatabaseInfo sheet = {};
        sheet.typeID = APIWind_WorksheetID;
        sheet.databaseUnId = id;
        // Its name and reference id label the results dialog's choice.
        API_DatabaseInfo target = sheet;
        if (ACAPI_Database(APIDb_GetDatabaseInfoID, &sheet) != NoError ||
            ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &target) != NoError) {
            refused = true;
            break;
        }
        if (HoldsLocator(libInd, refused)) locatorDatabases.Insert(sheet);
        if (refused) break;
    }
    if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &before) != NoError) refused = true;
    reader.output.locatorRefused = refused ? 1 : 0;
}

bool GetCoordinateLocatorOrigin(SOSIFileCls& reader, int32_t index, double* x, double* y) {
    if (x == nullptr || y == nullptr) return false;
    *x = *y = 0.0;
    if (index < 0 || index >= reader.output.locatorDatabases.GetCount()) return false;
    API_Coord offset = {0.0, 0.0};
    bool refused = false;
    const int32_t part = LocatorPart(reader, refused);
    if (refused || !GetCoordinateLocatorOffset(reader.output.locatorDatabases[index].databaseUnId, part, &offset)) {
        reader.output.locatorRefused = 1;
        return false;
    }
    *x = offset.x;
    *y = offset.y;
    return true;
}
