#include "project/ElementCalls.hpp"

#include "APIInteraction.hpp"
#include "project/ProjectCalls.hpp"
#include "UniString.hpp"

namespace {
GSErrCode T_Element_Get(API_Element* element) {
    return ServeDatabaseCall("Element_Get", [&](HostCalls&, ProjectDatabase& db) { return db.GetElement(element); });
}
GSErrCode T_Element_GetDefaults(API_Element* element, API_ElementMemo* memo) {
    return ServeDatabaseCall("Element_GetDefaults",
                             [&](HostCalls&, ProjectDatabase& db) { return db.GetDefaults(element, memo); });
}
GSErrCode T_Element_ChangeDefaults(const API_Element* element, const API_ElementMemo* memo, const API_Element* mask) {
    return ServeDatabaseCall("Element_ChangeDefaults", [&](HostCalls&, ProjectDatabase& db) {
        return element == nullptr ? APIERR_BADPARS : db.ChangeDefaults(*element, memo, mask);
    });
}
GSErrCode T_Element_Create(API_Element* element, const API_ElementMemo* memo) {
    return ServeDatabaseCall("Element_Create",
                             [&](HostCalls&, ProjectDatabase& db) { return db.CreateElement(element, memo); });
}
GSErrCode T_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                           uint64_t memoMask) {
    return ServeDatabaseCall("Element_Change", [&](HostCalls&, ProjectDatabase& db) {
        return db.ChangeElement(element, mask, memo, memoMask);
    });
}
GSErrCode T_Element_ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                                     const API_ElementMemo* defMemo, const API_Element* mask) {
    return ServeDatabaseCall("Element_ChangeParameters", [&](HostCalls&, ProjectDatabase& db) {
        return db.ChangeParameters(guids, count, defPars, defMemo, mask);
    });
}
GSErrCode T_Element_Delete(const API_Guid* guids, uint32_t count) {
    return ServeDatabaseCall("Element_Delete",
                             [&](HostCalls&, ProjectDatabase& db) { return db.DeleteElements(guids, count); });
}
GSErrCode T_Element_GetElemList(API_ElemTypeID typeID, GSHandle* guids) {
    return ServeDatabaseCall("Element_GetElemList", [&](HostCalls&, ProjectDatabase& db) {
        if (guids == nullptr) return APIERR_BADPARS;
        *guids = nullptr;
        std::vector<API_Guid> list;
        const GSErrCode err = db.GetElemList(typeID, &list);
        return err != NoError ? err : HandOut(list, guids);
    });
}
bool T_Element_Filter(const API_Guid* guid, uint32_t filterBits) {
    bool result = false;
    ServeDatabaseCall("Element_Filter", [&](HostCalls&, ProjectDatabase& db) {
        result = guid != nullptr && db.Filter(*guid, filterBits);
        return NoError;
    });
    return result;
}

GSErrCode CalcBounds(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Database", call, sizeof(API_Element), sizeof(API_Box3D))) return APIERR_BADPARS;
    // Elements with a 3D model are bounded by it; the others by their plan record.
    const API_Guid& guid = static_cast<const API_Element*>(call->par1)->header.guid;
    ProjectDatabase& db = host.Database();
    if (db.Find(guid) != nullptr && db.modelBounds && db.modelBounds(guid, static_cast<API_Box3D*>(call->par2)))
        return NoError;
    return host.Database().CalcBounds(guid, static_cast<API_Box3D*>(call->par2));
}

GSErrCode ElementInfoString(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Database", call, sizeof(API_Guid), sizeof(GS::UniString))) return APIERR_BADPARS;
    const StoredElement* e = host.Database().Find(*static_cast<const API_Guid*>(call->par1));
    if (e == nullptr) return APIERR_BADID;
    *static_cast<GS::UniString*>(call->par2) =
        e->memo->elemInfoString ? GS::UniString(*e->memo->elemInfoString) : GS::UniString();
    return NoError;
}
}  // namespace

void InstallElementCalls(HostFunctionSet& set) {
    set.Put("Element_Get", &API_HostFunctionTable::Element_Get, T_Element_Get);
    set.Put("Element_GetDefaults", &API_HostFunctionTable::Element_GetDefaults, T_Element_GetDefaults);
    set.Put("Element_ChangeDefaults", &API_HostFunctionTable::Element_ChangeDefaults, T_Element_ChangeDefaults);
    set.Put("Element_Create", &API_HostFunctionTable::Element_Create, T_Element_Create);
    set.Put("Element_Change", &API_HostFunctionTable::Element_Change, T_Element_Change);
    set.Put("Element_ChangeParameters", &API_HostFunctionTable::Element_ChangeParameters, T_Element_ChangeParameters);
    set.Put("Element_Delete", &API_HostFunctionTable::Element_Delete, T_Element_Delete);
    set.Put("Element_GetElemList", &API_HostFunctionTable::Element_GetElemList, T_Element_GetElemList);
    set.Put("Element_Filter", &API_HostFunctionTable::Element_Filter, T_Element_Filter);
    set.AddSelector(SelectorFamily::Database, APIDb_CalcBoundsID.code, ProjectSelector<kDatabaseFamily, CalcBounds>);
    set.AddSelector(SelectorFamily::Database, APIDb_GetElementInfoStringID.code,
                    ProjectSelector<kDatabaseFamily, ElementInfoString>);
}
