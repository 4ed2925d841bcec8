#pragma once
// The model-update refresh of the objects the terrain cuts (basins, bridges): the listed objects of the kind
// that the user made (copies) get their observer and lose every solid link, since a copy must not be cut by its
// original's terrain.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

// Modes 1 and 2 only, mode 1 only while no element of the module is being written; other modes: true at once.
// False when a link cannot be removed.
bool RefreshTerrainCutObjects(int32_t kind, int32_t mode, const QV_List<API_Elem_Head>& heads);

// The refresh's work for any mode: each element among `heads` the user may edit that carries a record of `kind`
// gets its observer and loses every solid link (in the floor plan's database). False when the host fails.
bool UnlinkObjectsOfKind(int32_t kind, const QV_List<API_Elem_Head>& heads);
