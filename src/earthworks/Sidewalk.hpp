#pragma once
// The sidewalk's element class: the sidewalk tool's operations. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class SideWalkCls {
public:
    int32_t Modify(const QV_List<API_Element>& sidewalks);
    int32_t Create(const API_Element& fill, const API_Element& terrain);
    int32_t EditDefaults();
};
