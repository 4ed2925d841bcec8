#include "elements/ResultObjects.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ObjectSets.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"

bool KeepResultObjects(QV_List<API_Element>& elements, int32_t kind) {
    if (!CollectPartners(elements, kind)) return false;
    QV_List<API_Element> results;
    for (int32_t i = 0; i < elements.GetCount(); ++i) {
        BaseIDLP view(kind);
        QV_String operatorText;
        if (!BaseLP::AttachToElementLookup(view, elements[i], nullptr, nullptr, nullptr, &operatorText, kind, true))
            return false;
        if (RoleOfOperator(operatorText) != ObjectRole::Result) continue;
        bool seen = false;
        for (int32_t k = 0; k < results.GetCount() && !seen; ++k)
            seen = results[k].header.guid == elements[i].header.guid;
        if (!seen && !results.Insert(elements[i])) return false;
    }
    elements = results;
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    for (int32_t i = 0; i < elements.GetCount(); ++i)
        if (!SelectElement(elements[i], true)) return false;
    return true;
}
