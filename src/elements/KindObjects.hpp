#pragma once
// The add-on's objects of one element kind as a whole: selecting the "result" objects of a kind.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

// Selects the "result" objects of `kind` (objects whose "operatore" reads "result"; of roads not the road
// sections), added to the selection, and leaves them in `elements`. The objects are read in the floor plan's database (switched to and back when
// the 3D window is in front; a failed switch gives false before anything happens) with their layers opened
// for the selection and restored afterwards. Every kept object is selected. False when the objects cannot be
// collected, an object's parameters cannot be read (the objects kept up to there stay in `elements`) or the
// selection fails.
bool SelectResultObjects(QV_List<API_Element>& elements, int32_t kind);
