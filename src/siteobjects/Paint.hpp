#pragma once
// The coloured area's element class: the coloured-area tool's operations. Not built yet: each operation notes
// its call and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class PaintCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& areas);
    int32_t Create(const QV_List<API_Element>& fills, const API_Element& terrain);
    int32_t EditSettings();
};
