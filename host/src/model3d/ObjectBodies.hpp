#pragma once
// The bodies an object's library part builds from the object's own parameters, as its `body` lines say
// (library/LibraryBody.hpp): an earthwork's cut or fill over the terrain it operates on. Slopes reach out until
// they have met the ground wherever it lies (a cut's up to above the terrain's highest point, a fill's down to below
// its lowest), and every body ends at the terrain's outline and above its floor.
#include "library/LibraryBody.hpp"
#include "model3d/ElementModels.hpp"

#include <string>
#include <vector>

// The terrain an earthwork meets: its surface before any link, and its outline in plan.
struct EarthworkGround {
    const MeshSurfaceModel* mesh = nullptr;
    std::vector<PlanRing> outline;
};

// Which body the object carries by its role (none for a result), built over `ground`. True with no body when
// its role carries none or there is nothing to cut or fill; false with `why` for parameters that give no sound
// body (an angle of 0 or 90 degrees or beyond, a level far off the ground, an outline that crosses itself or
// reaches off the terrain, ...).
// `role` (optional) builds the body of that role instead of the object's own ("cut" or "fill").
bool BuildObjectBodies(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                       const EarthworkGround& ground, std::vector<ModelBody>* bodies, std::string* why,
                       const std::u16string* role = nullptr);
