#pragma once
// The contour-line refresh as a test watches it: the terrains asked for, in call order; nothing is regenerated.
#include "elements/ContourLineRefresh.hpp"

#include <vector>

struct FakeContourLineRefresh final : ContourLineRefresh {
    std::vector<API_Guid> terrains;

    void RefreshContourLines(const API_Element& terrain) override { terrains.push_back(terrain.header.guid); }
};
