// Solid links between the project's elements: made, listed and removed. Their effect on the bodies of the 3D
// model is not computed here.
#include "project/ProjectLinks.hpp"

#include "APIInteraction.hpp"
#include "project/ElementTypes.hpp"

#include <algorithm>

namespace {
bool LinkableType(API_ElemTypeID t) {
    return t == API_WallID || t == API_ColumnID || t == API_BeamID || t == API_ObjectID || t == API_LampID ||
        t == API_SlabID || t == API_RoofID || t == API_MeshID;
}

bool KnownOperation(uint32_t operation) {
    return operation == APISolid_SubtractUpwards || operation == APISolid_SubtractDownwards ||
        operation == APISolid_Add;
}
}  // namespace

const StoredSolidLink* ProjectLinks::FindSolidLink(const API_Guid& target, const API_Guid& operatorGuid) const {
    for (const StoredSolidLink& l : model_.solidLinks)
        if (l.target == target && l.operatorGuid == operatorGuid) return &l;
    return nullptr;
}

GSErrCode ProjectLinks::CreateSolidLink(const API_Guid& target, const API_Guid& operatorGuid, uint32_t operation,
                                        uint32_t flags) {
    const GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    const StoredElement* t = FindHere(target);
    const StoredElement* o = FindHere(operatorGuid);
    if (t == nullptr) return Refuse(APIERR_BADID, "no link target " + GuidText(target) + " here");
    if (o == nullptr) return Refuse(APIERR_BADID, "no link operator " + GuidText(operatorGuid) + " here");
    if (target == operatorGuid) return Refuse(APIERR_BADPARS, "an element cannot be linked to itself");
    if (!LinkableType(t->record.header.typeID) || !LinkableType(o->record.header.typeID))
        return Refuse(APIERR_BADELEMTYPE,
                      "a " + ElementTypeName(t->record.header.typeID) + " and a " +
                          ElementTypeName(o->record.header.typeID) + " cannot be solid-linked");
    if (!KnownOperation(operation))
        return Refuse(APIERR_BADPARS, "unknown solid operation " + std::to_string(operation));
    if (FindSolidLink(target, operatorGuid) != nullptr || FindSolidLink(operatorGuid, target) != nullptr)
        return Refuse(APIERR_LINKEXIST, "the two elements are linked already");
    StoredSolidLink link;
    link.target = target;
    link.operatorGuid = operatorGuid;
    link.operation = operation;
    link.flags = flags;
    link.time = ++linkClock_;
    link.subTime = 0;
    model_.solidLinks.push_back(link);
    Changed();
    return NoError;
}

GSErrCode ProjectLinks::RemoveSolidLink(const API_Guid& target, const API_Guid& operatorGuid) {
    const GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    std::vector<StoredSolidLink>& links = model_.solidLinks;
    const auto it = std::find_if(links.begin(), links.end(), [&](const StoredSolidLink& l) {
        return l.target == target && l.operatorGuid == operatorGuid;
    });
    if (it == links.end()) return Refuse(APIERR_LINKNOTEXIST, "no solid link between the two elements");
    links.erase(it);
    Changed();
    return NoError;
}

GSErrCode ProjectLinks::SolidLinkOperators(const API_Guid& target, std::vector<API_Guid>* operators) const {
    return LinkedTo(target, &StoredSolidLink::target, &StoredSolidLink::operatorGuid, operators);
}

GSErrCode ProjectLinks::SolidLinkTargets(const API_Guid& operatorGuid, std::vector<API_Guid>* targets) const {
    return LinkedTo(operatorGuid, &StoredSolidLink::operatorGuid, &StoredSolidLink::target, targets);
}

GSErrCode ProjectLinks::LinkedTo(const API_Guid& guid, API_Guid StoredSolidLink::*end, API_Guid StoredSolidLink::*other,
                                 std::vector<API_Guid>* linked) const {
    if (linked == nullptr) return APIERR_BADPARS;
    linked->clear();
    for (const StoredSolidLink& l : model_.solidLinks)
        if (l.*end == guid) linked->push_back(l.*other);
    return linked->empty() ? APIERR_GENERAL : NoError;
}
