#pragma once
// The railway's element class: the railway tool's operations. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class RailwayCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& railways);
    int32_t CreateOnFill(const API_Element& fill, const API_Element& terrain);
    int32_t CreateAlongPolyline(const API_Element& polyline, const API_Element& terrain);
    int32_t EditDefaults();
};
