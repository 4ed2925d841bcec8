#pragma once
// The bodies an object's library part builds from the object's own parameters, as its `body` lines say
// (library/LibraryBody.hpp): an earthwork's cut or fill over the terrain it operates on. Slopes reach out until
// they have met the ground wherever it lies (a cut's up to above the terrain's highest point, a fill's down to below
// its lowest), and every body ends at the terrain's outline and above its floor.
#include "library/LibraryBody.hpp"
#include "model3d/ElementModels.hpp"

#include <string>
#include <vector>

// How far another earthwork on the same terrain may move its ground: over `box` (its deck or platform and as far as
// its slopes may reach), down to `low` where it cuts, up to `high` where it adds.
struct EarthworkReach {
    PlanBox box = {0, 0, 0, 0};
    double low = 0.0, high = 0.0;
    bool adds = false;
};

// The terrain an earthwork meets: its surface before any link, its outline in plan, and the other earthworks linked
// to it, whose ground a slope may meet where they come first.
struct EarthworkGround {
    const MeshSurfaceModel* mesh = nullptr;
    std::vector<PlanRing> outline;
    std::vector<EarthworkReach> others;
};

// How far an earthwork object's cut (`adds` false) or fill may move the ground of `ground` (itself not among its
// others); false when its parameters build no platform or strip.
bool EarthworkReachOf(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                      const EarthworkGround& ground, bool adds, EarthworkReach* reach);

// Which body the object carries by its role (none for a result), built over `ground`. True with no body when
// its role carries none or there is nothing to cut or fill; false with `why` for parameters that give no sound
// body (an angle of 0 or 90 degrees or beyond, a level far off the ground, an outline that crosses itself or
// reaches off the terrain, ...).
// `role` (optional) builds the body of that role instead of the object's own ("cut" or "fill").
bool BuildObjectBodies(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                       const EarthworkGround& ground, std::vector<ModelBody>* bodies, std::string* why,
                       const std::u16string* role = nullptr);
