#pragma once
// The contour-line refresh as the terrain's contour lines do it (ContourLineCls::Regenerate), made by the shell at
// start-up.
#include "elements/ContourLineRefresh.hpp"

class ContourLineRegenerator final : public ContourLineRefresh {
public:
    void RefreshContourLines(const API_Element& terrain) override;
};
