#pragma once
// Solid links: creating and removing are model changes. Targets and operators are construction elements
// (walls, columns, beams, objects, lamps, slabs, roofs, meshes); operations 'SSUU', 'SSUD' and 'SADD'. An element
// that is deleted loses its links.
#include "project/ProjectCore.hpp"

class ProjectLinks : public virtual ProjectCore {
public:
    GSErrCode CreateSolidLink(const API_Guid& target, const API_Guid& operatorGuid, uint32_t operation, uint32_t flags);
    GSErrCode RemoveSolidLink(const API_Guid& target, const API_Guid& operatorGuid);
    // The operators of a target / the targets of an operator, in link order; APIERR_GENERAL when there are none.
    GSErrCode SolidLinkOperators(const API_Guid& target, std::vector<API_Guid>* operators) const;
    GSErrCode SolidLinkTargets(const API_Guid& operatorGuid, std::vector<API_Guid>* targets) const;
    // The link of the two, or null.
    const StoredSolidLink* FindSolidLink(const API_Guid& target, const API_Guid& operatorGuid) const;
    const std::vector<StoredSolidLink>& SolidLinks() const { return model_.solidLinks; }

private:
    // The `other` ends of the links whose `end` is `guid`, in link order.
    GSErrCode LinkedTo(const API_Guid& guid, API_Guid StoredSolidLink::*end, API_Guid StoredSolidLink::*other,
                       std::vector<API_Guid>* linked) const;
};
