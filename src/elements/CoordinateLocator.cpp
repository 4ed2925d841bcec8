#include "elements/CoordinateLocator.hpp"

#include "elements/CoordinateLocatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/OwnedMemo.hpp"

bool FindPlacedLocator(int32_t libInd, API_Element* element, bool* refused) {
    bool dummy = false;
    bool& refusal = refused != nullptr ? *refused : dummy;
    refusal = false;
    GS::Array<API_Guid> objects;
    if (ACAPI_Element_GetElemList(API_ObjectID, &objects) != NoError) return !(refusal = true);
    for (uint32_t i = 0; i < objects.GetSize(); ++i) {
        API_Element e = {};
        e.header.guid = objects[i];
        // An object the host lists but cannot read might be the locator: the search cannot tell.
        if (ACAPI_Element_Get(&e) != NoError) return !(refusal = true);
        if (e.object.libInd != libInd) continue;
        *element = e;
        return true;
    }
    return false;
}

bool GetCoordinateLocatorOffset(const API_Guid& worksheet, int32_t libInd, API_Coord* offset) {
    *offset = {0.0, 0.0};
    API_DatabaseInfo before = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &before) != NoError) return false;
    API_DatabaseInfo sheet = {};
    sheet.typeID = APIWind_WorksheetID;
    sheet.databaseUnId = worksheet;
    if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &sheet) != NoError) return false;

    API_Element locator = {};
    bool refused = false;
    if (FindPlacedLocator(libInd, &locator, &refused)) {
        OwnedMemo memo;
        if (memo.Read(locator.header.guid, APIMemoMask_AddPars) == NoError && memo->params != nullptr) {
            CoordinateLocatorLP view;
            view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
            double x = 0.0, y = 0.0;
            if (view.GetSetDouble(CoordinateLocatorParam::X, x, LPMode_Get) &&
                view.GetSetDouble(CoordinateLocatorParam::Y, y, LPMode_Get))
                *offset = CoordinateLocatorOffset(locator.object.pos, x, y);
            view.Detach();
        } else {
            refused = true;
        }
    }
    const bool back = ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &before) == NoError;
    return back && !refused;
}
