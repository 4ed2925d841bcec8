#include "project/AttributeCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
GSErrCode T_Attribute_Get(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Get",
                             [&](HostCalls&, ProjectDatabase& db) { return db.GetAttribute(attribute); });
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
