#pragma once
// Unlinking an element from every solid-element operation it takes part in, as target or as operator: copies of
// linked objects must not keep cutting the terrain their original cuts.
#include "APIElements.hpp"

// Removes each link the host lists for the element (its operators, then its targets). A link that went away
// meanwhile is no failure; false at the first other host error.
bool RemoveTargetSolidLinks(const API_Element& element);
