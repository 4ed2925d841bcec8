#pragma once
// The project's elements as the host functions see them: records read, made, changed and deleted, the tools'
// default records, lists and filters. Elements on a locked layer cannot be changed or deleted and none can be
// created there; element changes are model changes (inside an undoable command, not in the 3D model's
// database); element reads and lists in the 3D model's database see the floor plan's elements.
#include "project/ProjectCore.hpp"

class ProjectElements : public virtual ProjectCore {
public:
    GSErrCode GetElement(API_Element* element) const;
    GSErrCode GetDefaults(API_Element* element, API_ElementMemo* memo) const;
    GSErrCode ChangeDefaults(const API_Element& element, const API_ElementMemo* memo, const API_Element* mask);
    GSErrCode CreateElement(API_Element* element, const API_ElementMemo* memo);
    GSErrCode ChangeElement(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                            uint64_t memoMask);
    GSErrCode ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                               const API_ElementMemo* defMemo, const API_Element* mask);
    // A marker takes its database and the elements in it along.
    GSErrCode DeleteElements(const API_Guid* guids, uint32_t count);
    GSErrCode GetElemList(API_ElemTypeID typeID, std::vector<API_Guid>* guids) const;
    bool Filter(const API_Guid& guid, uint32_t filterBits) const;

private:
    GSErrCode CheckRecord(const API_Element& record, const StoredMemo& memo) const;
};
