#include "elements/FloorPlanDatabase.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"

GSErrCode MakeWindowDatabaseCurrent(int32_t windowType) {
    API_DatabaseInfo db = {};
    db.typeID = windowType;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

bool FloorPlanSwitchNeeded() { return IsCurrentWindow3D(); }
