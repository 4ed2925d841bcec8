#pragma once
// The bridge's element class: the bridge tool's operations. Not built yet: each operation notes its call
// and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class BridgeCls {
public:
    int32_t Modify(const QV_List<API_Element>& bridges);
    int32_t Create(const API_Element& polyline, const API_Element& terrain);
    int32_t EditDefaults();
};
