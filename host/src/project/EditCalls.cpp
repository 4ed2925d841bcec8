#include "project/EditCalls.hpp"

#include "HostCalls.hpp"
#include "project/ElementMemo.hpp"
#include "project/ElementTransform.hpp"
#include "project/ProjectCalls.hpp"

#include <cstring>
#include <vector>

namespace {
GSErrCode T_Element_Edit(const API_Neig* neigs, uint32_t count, const API_EditPars* pars) {
    return ServeDatabaseCall("Element_Edit", [&](HostCalls& host, ProjectDatabase& db) {
        if (pars == nullptr || (neigs == nullptr && count > 0)) return APIERR_BADPARS;
        if (pars->withDelete == 0) {
            host.Log("  host: Element_Edit refused: editing a copy is not part of the stand-in");
            return APIERR_BADPARS;
        }
        API_ActTranPars t = {};
        t.typeID = pars->typeID;
        if (pars->typeID == APIEdit_Drag) {
            t.disp = {pars->endC.x - pars->begC.x, pars->endC.y - pars->begC.y};
            t.dispZ = pars->endC.z - pars->begC.z;
        } else if (pars->typeID == APIEdit_Elevate) {
            t.dispZ = pars->endC.z - pars->begC.z;
        } else {
            host.Log("  host: Element_Edit refused: only 'DRAG' and 'ELEV' are edits of the stand-in");
            return APIERR_BADPARS;
        }
        // Every element first, so that a bad one changes nothing.
        std::vector<StoredElement> moved;
        for (uint32_t i = 0; i < count; ++i) {
            const StoredElement* e = db.Find(neigs[i].guid);
            if (e == nullptr) return APIERR_BADID;
            moved.push_back(*e);
            if (!TransformElement(moved.back(), t)) return APIERR_BADPARS;
        }
        for (const StoredElement& next : moved) {
            API_ElementMemo memo = {};
            GSErrCode err = WriteApiMemo(next.memo, APIMemoMask_All, &memo);
            if (err != NoError) return err;
            API_Element record = next.record;
            API_Element mask;
            std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
            err = db.ChangeElement(&record, &mask, &memo, APIMemoMask_All);
            DisposeApiMemo(&memo);
            if (err != NoError) return err;
        }
        return NoError;
    });
}
}  // namespace

void InstallEditCalls(HostFunctionSet& set) {
    set.Put("Element_Edit", &API_HostFunctionTable::Element_Edit, T_Element_Edit);
}
