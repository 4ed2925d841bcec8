#pragma once
// The contour-line refresh as the terrain's contour lines do it (ContourLineCls::Regenerate), made by the shell at
// start-up.
#include "elements/ContourLineRefresh.hpp"

class Settings;

class ContourLineRegenerator final : public ContourLineRefresh {
public:
    // A terrain without contour lines gets `settings`' contour defaults.
    explicit ContourLineRegenerator(const Settings& settings) : settings_(settings) {}
    void RefreshContourLines(const API_Element& terrain) override;

private:
    const Settings& settings_;
};
