#pragma once
// The settings edit the placed site objects share: their own record read back, the dialog's changes laid over it
// and written again, so fields left alone keep each object's own value.
#include "elements/ElementHelpers.hpp"
#include "foundation/QV_String.hpp"
#include "settings/ElementSections.hpp"
#include "siteobjects/PlacedObject.hpp"

#include "APIElements.hpp"

// Rewrites `object`'s settings through `view`: its record of type `Record` read, `edit(view, record)` (false
// stops), written back and changed with `mask`. A non-null `name` becomes its ID text. False at the first failure.
template <class Record, class View, class Edit>
bool ChangePlacedSettings(API_Element& object, const API_Element& mask, View& view, const QV_String* name, Edit edit) {
    PlacedParams placed(object);
    if (!placed.Read()) return false;
    if (name != nullptr) {
        QV_String text = *name;
        SetMemoInfoString(placed.memo, text);
    }
    placed.AttachView(view);
    Record own;
    bool ok = SerializeSettings(view, own, 0);
    ok = ok && edit(view, own);
    ok = ok && SerializeSettings(view, own, 1);
    placed.DetachView(view);
    return ok && placed.Change(object, &mask);
}
