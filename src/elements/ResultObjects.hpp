#pragma once
// The objects a tool edits when the user picks any member of cut, fill and result sets: the result objects, which
// carry the settings the dialogs show and the sets' partners follow.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

// Adds the partners the picked objects of the kind name, keeps only those whose "operatore" is "result" (each
// once, in list order) and makes them the selection. False, list and selection as far as they got, when a
// partner or an object's parameters cannot be read or the host refuses the selection.
bool KeepResultObjects(QV_List<API_Element>& elements, int32_t kind);
