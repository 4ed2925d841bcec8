#pragma once
// The volume calculation over one terrain. Not built yet: it notes its call and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class CalculationCls {
public:
    int32_t Run(const API_Element& terrain);
};
