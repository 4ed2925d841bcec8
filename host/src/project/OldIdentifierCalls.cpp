#include "project/OldIdentifierCalls.hpp"

#include "APIOldIdentifiers.hpp"
#include "project/ProjectRecords.hpp"
#include "project/ProjectCalls.hpp"

namespace {
GSErrCode OldIdToGuid(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Database", call, sizeof(API_OldIdentifier), sizeof(API_DatabaseInfo)))
        return APIERR_BADPARS;
    API_OldIdentifier& id = *static_cast<API_OldIdentifier*>(call->par1);
    const API_DatabaseInfo& info = *static_cast<const API_DatabaseInfo*>(call->par2);
    // The 3D model shows the floor plan's elements; every other database is named by its identity.
    const bool floorPlan = info.typeID == APIWind_FloorPlanID || info.typeID == APIWind_3DModelID;
    const API_Guid database = floorPlan ? ProjectCore::FloorPlanDatabase() : info.databaseUnId;
    API_Guid element;
    if (!host.Records().oldIds.Find(database, id.oldId, &element)) return APIERR_BADID;
    // An element deleted since the project was saved has no GUID to give.
    const StoredElement* e = host.Database().Find(element);
    if (e == nullptr || !(e->database == database)) return APIERR_BADID;
    id.guid = element;
    return NoError;
}
}  // namespace

void InstallOldIdentifierCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Database, APIDb_OldIdToGuidID.code, ProjectSelector<kDatabaseFamily, OldIdToGuid>);
}
