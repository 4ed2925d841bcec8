#pragma once
// What the host knows of its line types beyond their attribute records (their dashes or symbol items), and
// the drawing scale of the current window, which scale-dependent line types follow.
#include "APIAttributeDefs.hpp"

#include <cstdint>
#include <map>
#include <vector>

struct LineTypeDefinition {
    int32_t kind = 0;  // 0 solid, 1 dashed, 2 symbol
    bool scaleDependent = false;
    double period = 0.0;
    std::vector<API_DashItem> dashes;
    std::vector<API_LineItem> items;
};

struct LineTypeDefinitions {
    std::map<int32_t, LineTypeDefinition> byIndex;  // line-type attribute index
    double drawingScale = 100.0;
};

class HostFunctionSet;
// 'ADEF', 'KDEF' and 'DSCL' of the Database family.
void InstallLineTypeDefCalls(HostFunctionSet& set);
