#pragma once
// The plateau's element class: the plateau tool's operations. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class DiggingCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& plateaus);
    int32_t CreateFromPolygon(const API_Element& fill, const API_Element& terrain);
    int32_t Create(const QV_List<API_Element>& fills, const API_Element& terrain);
    int32_t EditDefaults();
};
