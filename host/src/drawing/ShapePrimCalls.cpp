#include "drawing/ShapePrimCalls.hpp"

#include "drawing/ElementDrawing.hpp"
#include "library/LibraryStore.hpp"
#include "project/ProjectCalls.hpp"

namespace {
GSErrCode T_Element_ShapePrims(const API_Elem_Head* head, API_ShapePrimsProc* proc) {
    return ServeDatabaseCall("Element_ShapePrims", [&](HostCalls& host, ProjectDatabase& db) {
        if (head == nullptr || proc == nullptr) return APIERR_BADPARS;
        const StoredElement* element = db.Find(head->guid);
        if (element == nullptr) return APIERR_BADID;
        // Drawn before the first call: the callback may change the project or ask for other drawings.
        const std::vector<DrawnPrim> prims = DrawElement(db, host.Drawings(), &host.Libraries(), *element);
        for (const DrawnPrim& d : prims) {
            API_PrimPolyParams polyParams = {d.pends.data(), d.parcs.data()};
            std::u16string text = d.text;
            const bool poly = d.prim.head.typeID == API_PrimPolyID;
            const GSErrCode err = proc(&d.prim, poly ? &polyParams : nullptr, d.hasText ? text.c_str() : nullptr,
                                       d.coords.empty() ? nullptr : d.coords.data());
            if (err != NoError) return err;
        }
        return NoError;
    });
}
}  // namespace

void InstallShapePrimCalls(HostFunctionSet& set) {
    set.Put("Element_ShapePrims", &API_HostFunctionTable::Element_ShapePrims, T_Element_ShapePrims);
}
