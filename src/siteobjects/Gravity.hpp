#pragma once
// Gravity on the terrain: selected objects and lamps moved vertically onto the terrain surface under them, or
// copies of the host's default object placed on it at clicked points. Heights come from the terrain probe; an
// object's level is the height above its own story.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class GravityCls : public BaseCls {
public:
    // Selection mode: each element inside a terrain's outline gets the terrain's height at its position as its
    // level; the others keep theirs. An error code for ShowErrorMessage (0 on success).
    int32_t Run(const QV_List<API_Element>& objects);
    // Point mode: places one default object per click, on `terrain` when there is one (none: on the current story
    // at level 0), until the input is cancelled.
    int32_t Build(const API_Element* terrain);

    // For each element, the index of the first terrain whose outline holds its position, -1 for none.
    bool AssignTerrains(const QV_List<API_Element>& objects);
    // For each element with a terrain, that terrain's height at its position.
    bool ComputeHeights(const QV_List<API_Element>& objects);

    QV_List<API_Element> terrains;
    QV_List<int32_t> terrainIndex;
    QV_List<double> heights;
};
