#pragma once
// An earthwork placed or changed whose cut or fill object the host cannot build a body for: such an earthwork
// would reshape nothing and be measured as nothing, so its command is refused, and the user is told which one and
// why.
#include "earthworks/BodyFault.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <vector>

// Whether the host builds the object's 3D model: false when it refuses to (its parameters build no body).
bool HostBuildsBody(const API_Guid& object);

// Whether the host builds the bodies of both the cut and the fill object; when it does not, the refusal naming
// `name` is shown and false comes back: the caller takes its command back.
bool RefuseUnbuiltSet(const API_Guid& cut, const API_Guid& fill, const QV_String& name);

// The same for the set of `member` (an object of a set of `kind`), its partners found through its record and the
// name its ID text, else its kind's. A member whose record cannot be read is checked alone.
bool RefuseUnbuiltSetOf(const API_Element& member, int32_t kind);

// OffTerrain when one of the points (in plan) lies outside the terrain's outline; None when all lie on it or the
// host will not give the outline (the host's own check of the placed bodies then decides).
BodyFault OffTerrainFault(const API_Element& terrain, const std::vector<API_Coord>& points);
// LevelOutOfReach when a platform from `low` up to `high` lies farther than any slope can reach off the terrain's
// heights (its box); None otherwise, or when the host will not give the box.
BodyFault TerrainLevelFault(const API_Element& terrain, double low, double high);

// Shows the refusal of the earthwork `name` for `fault` (none: nothing) and answers whether the earthwork may go
// on (no fault).
bool RefuseFault(const QV_String& name, BodyFault fault);

// The name the refusal gives an earthwork about to be placed: its ID text, else its kind's name.
QV_String EarthworkName(const QV_String& idText, int32_t kind);
