#pragma once
// The retaining wall's element class: the retaining-wall tool's operations. Not built yet: each operation
// notes its call and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class ObstacleCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& walls);
    int32_t CreateFromPolyline(const API_Element& polyline, const API_Element& terrain);
    int32_t CreateAlongElement(const API_Element& polyline, const API_Element& element, int32_t kind,
                               const API_Element& terrain);
    int32_t RemoveObstacle(const API_Element& element, int32_t kind);
    int32_t EditDefaults();
};
