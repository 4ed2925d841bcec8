#pragma once
// Gravity on the terrain: placed objects and lamps set down on it. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class GravityCls {
public:
    int32_t Build(const API_Element* terrain);
    int32_t Run(const QV_List<API_Element>& objects);
};
