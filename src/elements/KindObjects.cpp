#include "elements/KindObjects.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/RoadSectionObjects.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "elements/AddOnObjects.hpp"

namespace {
GSErrCode MakeDatabaseCurrent(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// Selects every element of the list that has a selection record, keeping the current selection.
bool SelectAll(const QV_List<API_Element>& elements) {
    GSHandle neigs = nullptr;
    if (!MakeNeigHandleFromElements(elements, &neigs)) return false;
    const int32_t n = int32_t(BMGetHandleSize(neigs) / GSSize(sizeof(API_Neig)));
    const bool ok = n == 0 || ACAPI_Element_Select(reinterpret_cast<API_Neig**>(neigs), n, true) == NoError;
    BMKillHandle(&neigs);
    return ok;
}
}  // namespace

bool SelectResultObjects(QV_List<API_Element>& elements, int32_t kind) {
    const bool in3D = IsCurrentWindow3D();
    if (in3D && MakeDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;
    bool ok = CollectAddOnObjects(kind, API_ObjectID, 0, elements) > 0;
    if (ok) {
        QV_List<LayerState> states;
        // Objects on a layer the host would not open cannot be picked as the user sees them: the pick fails.
        ok = SaveAndOpenLayers(VY_Operators, elements, states, true);
        QV_List<API_Element> kept;
        const QV_String result("result");
        for (int32_t i = 0; ok && i < elements.GetCount(); ++i) {
            const API_Element& element = elements[i];
            // A road section is a copy of a result object, never one of a road's own.
            bool section = false;
            if (kind == ElemKind_Road && !ReadIsRoadSectionObject(element, element.object.libInd, section)) {
                ok = false;
                break;
            }
            if (section) continue;
            BaseIDLP view(kind);
            QV_String op;
            if (!BaseIDLP::ReadOperatorOfElement(view, element, op)) {
                ok = false;
                break;
            }
            if (op == result && !kept.Insert(element)) {
                ok = false;
                break;
            }
        }
        elements = kept;
        if (elements.GetCount() != kept.GetCount()) ok = false;  // the copy could not be made
        if (ok) ok = SelectAll(elements);
        // Layers left open would show what the user hid: a failed restore fails the pick, and the user is told.
        if (!RestoreLayerStates(VY_Operators, states)) ok = false;
    }
    if (in3D) MakeDatabaseCurrent(APIWind_3DModelID);
    return ok;
}
