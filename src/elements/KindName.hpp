#pragma once
// How an alert names an add-on object: by its ID text, or by its kind when it has none. Never by its GUID, which
// the user does not see.
#include "foundation/Alert.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The error table's entry of the first kind's name, less 1: the name of kind k is entry KindNameTextBase + k.
constexpr int32_t KindNameTextBase = 110;

// The name of an add-on object kind (ElemKind) in the current language; "_ERR_NO_" for a kind without one.
QV_String KindName(int32_t kind);

// The ID text of `object`, or the name of its `kind` when it has none the host will give.
QV_String ObjectName(const API_Element& object, int32_t kind);

// The names of `objects` (all of `kind`), comma-separated. A name that other objects of `among` share is followed
// by how many of those so named it stands for: "WALL (1 of 2)".
QV_String ObjectNames(const QV_List<API_Element>& objects, const QV_List<API_Element>& among, int32_t kind);
