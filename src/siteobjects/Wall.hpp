#pragma once
// The wall's element class: the wall tool's operations. Not built yet: each operation notes its call and
// answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class WallCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& walls);
    int32_t EditSettings();
    int32_t Place(const API_Element& polyline, const API_Element& terrain);
};
