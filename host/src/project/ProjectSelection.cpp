#include "project/ProjectSelection.hpp"

#include "GSRoot.hpp"
#include "project/ElementTypes.hpp"

#include <algorithm>
#include <cstring>

GSErrCode ProjectSelection::Select(const API_Neig* neigs, int32_t count, bool add) {
    if (count < 0 || (count > 0 && neigs == nullptr)) return APIERR_BADPARS;
    for (int32_t i = 0; i < count; ++i) {
        const StoredElement* e = Find(neigs[i].guid);
        if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(neigs[i].guid));
        if (neigs[i].neigID != APINeigIDOfElemType(e->record.header.typeID) || neigs[i].neigID == APINeig_None)
            return Refuse(APIERR_BADNEIG,
                          "selection record " + std::to_string(neigs[i].neigID) + " for a " +
                              ElementTypeName(e->record.header.typeID));
    }
    if (!add) selection_.clear();
    for (int32_t i = 0; i < count; ++i) {
        const StoredElement* e = Find(neigs[i].guid);
        if (LayerFlags(e->record.header.layer) & APILay_Hidden) continue;  // not selectable
        if (std::find(selection_.begin(), selection_.end(), neigs[i].guid) == selection_.end())
            selection_.push_back(neigs[i].guid);
    }
    return NoError;
}

void ProjectSelection::DeselectAll() { selection_.clear(); }

std::vector<API_Guid> ProjectSelection::Selection() const {
    std::vector<API_Guid> out;
    for (const API_Guid& g : selection_) {
        const StoredElement* e = Find(g);
        if (e != nullptr && (LayerFlags(e->record.header.layer) & APILay_Hidden) == 0) out.push_back(g);
    }
    return out;
}

GSErrCode ProjectSelection::GetSelection(API_SelectionInfo* info, std::vector<API_Neig>* neigs,
                                         bool onlyEditable) const {
    if (info == nullptr || neigs == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    neigs->clear();
    int32_t editable = 0;
    const std::vector<API_Guid> selected = Selection();
    for (const API_Guid& g : selected) {
        const StoredElement& e = *Find(g);
        const bool canEdit = (LayerFlags(e.record.header.layer) & APILay_Locked) == 0;
        editable += canEdit ? 1 : 0;
        if (onlyEditable && !canEdit) continue;
        API_Neig n = {};
        n.neigID = APINeigIDOfElemType(e.record.header.typeID);
        n.guid = g;
        neigs->push_back(n);
    }
    info->typeID = selected.empty() ? API_SelEmpty : API_SelElems;
    info->sel_nElem = int32_t(selected.size());
    info->sel_nElemEdit = editable;
    info->marquee = reinterpret_cast<API_Coord**>(BMAllocateHandle(0, 0, 0));
    if (info->marquee == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the marquee");
    if (selected.empty() && emptySelectionIsError) return APIERR_NOSEL;
    return NoError;
}
