#pragma once
// The bodies of objects that stand on the terrain, from their own parameters as their library part's `wall`,
// `faces`, `block` and `deck` lines say (library/LibraryBody.hpp): walls, retaining walls, buildings (with their
// roofs), basins' water and bridge decks (with their railings and tracks). Where the object stands on a terrain, a
// wall and a block reach down to below its lowest point, so that the terrain's downward subtraction ('SSUD', the
// object the target) leaves what stands above the ground; without a terrain they stand on their own foot.
#include "library/LibraryBody.hpp"
#include "model3d/ObjectBodies.hpp"

#include <string>
#include <vector>

// Whether the items describe a standing body (else an earthwork's, model3d/ObjectBodies.hpp).
bool DescribesStandingBody(const std::vector<LibBodyItem>& items);

// The object's bodies; `ground.mesh` may be null (no terrain). True with no body when there is nothing to build;
// false with `why` for parameters that give no sound body (a thickness or height not above 0, an angle not above 0
// and up to 90 degrees, a path of fewer than two points or that turns back on itself, an outline that crosses
// itself, a level far off the ground or not a number).
bool BuildStandingBodies(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                         const EarthworkGround& ground, std::vector<ModelBody>* bodies, std::string* why);
