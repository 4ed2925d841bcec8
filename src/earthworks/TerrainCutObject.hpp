#pragma once
// Placing an object the terrain cuts (a basin, a bridge): created with its memo, tagged with the terrain's record
// of its kind and linked from the terrain. An object that cannot be tagged or linked goes again: it would be
// neither cut nor found.
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// `placed` and `memo` as made ready; `object` receives the placed element, zeroed on a failure after creation.
// False on any failure; `ElementWritten` stays set only when the object was created.
bool PlaceTerrainCutObject(API_Element& placed, API_ElementMemo& memo, int32_t kind, const API_Element& terrain,
                           const QV_String& terrainId, API_Element& object);
