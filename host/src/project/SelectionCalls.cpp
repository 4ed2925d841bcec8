#include "project/SelectionCalls.hpp"

#include "project/ActionAccount.hpp"
#include "project/ProjectCalls.hpp"

#include <map>

namespace {
GSErrCode T_Element_Select(const API_Neig* neigs, int32_t count, bool add) {
    return ServeDatabaseCall("Element_Select",
                             [&](HostCalls&, ProjectDatabase& db) { return db.Select(neigs, count, add); });
}
GSErrCode T_Element_DeselectAll() {
    return ServeDatabaseCall("Element_DeselectAll", [&](HostCalls&, ProjectDatabase& db) {
        db.DeselectAll();
        return NoError;
    });
}
GSErrCode T_Selection_Get(API_SelectionInfo* info, GSHandle* neigs, bool onlyEditable) {
    return ServeDatabaseCall("Selection_Get", [&](HostCalls& host, ProjectDatabase& db) {
        if (info == nullptr || neigs == nullptr) return APIERR_BADPARS;
        *neigs = nullptr;
        std::vector<API_Neig> list;
        const GSErrCode err = db.GetSelection(info, &list, onlyEditable);
        if (err != NoError && err != APIERR_NOSEL) return err;
        const GSErrCode handErr = HandOut(list, neigs);
        if (handErr != NoError) return handErr;
        // What the module was handed, by element type, for the account of its action.
        std::map<API_ElemTypeID, int32_t> types;
        for (const API_Neig& n : list) {
            API_Element e = {};
            e.header.guid = n.guid;
            if (db.GetElement(&e) == NoError) ++types[e.header.typeID];
        }
        db.ClearRefusal();  // an element of another database is not counted, and no fault of this call
        host.NoteSelectionRead(ActionAccount::SelectionText(types));
        return err;
    });
}
}  // namespace

void InstallSelectionCalls(HostFunctionSet& set) {
    set.Put("Element_Select", &API_HostFunctionTable::Element_Select, T_Element_Select);
    set.Put("Element_DeselectAll", &API_HostFunctionTable::Element_DeselectAll, T_Element_DeselectAll);
    set.Put("Selection_Get", &API_HostFunctionTable::Selection_Get, T_Selection_Get);
}
