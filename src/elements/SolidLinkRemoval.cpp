#include "elements/SolidLinkRemoval.hpp"

#include "foundation/ACAPI.hpp"

#include "APIInteraction.hpp"
#include "GSArray.hpp"

namespace {

constexpr GSErrCode kLinkExists = GSErrCode(0x810600DEu);

// "No such link" and "link exists" leave nothing of this link to remove.
bool Removed(GSErrCode err) { return err == NoError || err == APIERR_LINKNOTEXIST || err == kLinkExists; }

}  // namespace

bool RemoveTargetSolidLinks(const API_Element& element) {
    const API_Guid& self = element.header.guid;
    // The host answers an error for an empty list: no list is no link.
    GS::Array<API_Guid> operators;
    GS::Array<API_Guid> targets;
    if (ACAPI_Element_SolidLink_GetOperators(self, &operators) != NoError) operators.Clear();
    if (ACAPI_Element_SolidLink_GetTargets(self, &targets) != NoError) targets.Clear();
    for (uint32_t i = 0; i < operators.GetSize(); ++i)
        if (!Removed(ACAPI_Element_SolidLink_Remove(self, operators[i]))) return false;
    for (uint32_t i = 0; i < targets.GetSize(); ++i)
        if (!Removed(ACAPI_Element_SolidLink_Remove(targets[i], self))) return false;
    return true;
}
