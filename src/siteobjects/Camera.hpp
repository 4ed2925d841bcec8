#pragma once
// A camera path along a polyline over the terrain. Not built yet: it notes its call and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class CameraCls {
public:
    int32_t Create(const API_Element& polyline, const API_Element& terrain);
};
