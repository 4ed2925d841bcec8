#pragma once
// The building's element class: the building tool's operations. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class BuildingCls {
public:
    int32_t Modify(const QV_List<API_Element>& buildings);
    int32_t Create(const API_Element& fill, const API_Element& terrain);
    int32_t CreateFromSelection(const QV_List<API_Element>& fills, const API_Element& terrain);
    int32_t EditSettings();
};
