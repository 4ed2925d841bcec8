#include "project/AttributeCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
// The module asks for attributes by index or name to learn whether they exist: a missing one is an answer, not
// a refusal worth a line of the log (only a verbose log notes it).
GSErrCode T_Attribute_Get(API_Attribute* attribute) {
    return ServeCall("Attribute_Get", -1, [&](HostCalls& host) {
        ProjectDatabase& db = host.Database();
        db.ClearRefusal();
        const GSErrCode err = db.GetAttribute(attribute);
        if (err == NoError || db.LastRefusal().empty()) return err;
        if (err == APIERR_BADINDEX && db.LastRefusal().compare(0, 12, "no attribute") == 0)
            host.LogDetail("  host: Attribute_Get looked up: " + db.LastRefusal());
        else
            host.Log("  host: Attribute_Get refused (" + ErrorText(err) + "): " + db.LastRefusal());
        return err;
    });
}
GSErrCode T_Attribute_GetNum(int32_t typeID, int32_t* count) {
    return ServeDatabaseCall("Attribute_GetNum",
                             [&](HostCalls&, ProjectDatabase& db) { return db.GetAttributeNum(typeID, count); });
}
GSErrCode T_Attribute_Create(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Create",
                             [&](HostCalls&, ProjectDatabase& db) { return db.CreateAttribute(attribute); });
}
GSErrCode T_Attribute_Modify(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Modify",
                             [&](HostCalls&, ProjectDatabase& db) { return db.ModifyAttribute(attribute); });
}
GSErrCode T_Attribute_Delete(const API_Attr_Head* head) {
    return ServeDatabaseCall("Attribute_Delete", [&](HostCalls&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.DeleteAttribute(*head);
    });
}
}  // namespace

void InstallAttributeCalls(HostFunctionSet& set) {
    set.Put("Attribute_Get", &API_HostFunctionTable::Attribute_Get, T_Attribute_Get);
    set.Put("Attribute_Create", &API_HostFunctionTable::Attribute_Create, T_Attribute_Create);
    set.Put("Attribute_Modify", &API_HostFunctionTable::Attribute_Modify, T_Attribute_Modify);
    set.Put("Attribute_Delete", &API_HostFunctionTable::Attribute_Delete, T_Attribute_Delete);
    set.Put("Attribute_GetNum", &API_HostFunctionTable::Attribute_GetNum, T_Attribute_GetNum);
}
