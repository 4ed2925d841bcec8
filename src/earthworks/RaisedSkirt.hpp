#pragma once
// A plateau below its terrain's skirt raises the skirt to its level. The objects linked to that terrain carry the
// skirt value ("mesh_skirt"): they take the new one in the same command, so that a plateau never stands beside
// objects that still carry the old skirt.
#include "elements/BaseCls.hpp"

// RaiseNegativeLevel of `owner`'s terrain to `level`, then, when the skirt moved, the new skirt written into every
// road, plateau (sloped or not), sidewalk, retaining wall and coloured area linked to that terrain. False when
// either fails: the caller's command is to be taken back.
bool RaiseTerrainSkirt(BaseCls& owner, double level);
