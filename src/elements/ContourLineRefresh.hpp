#pragma once
// What the upkeep passes, the earthworks and the site objects ask after they changed a terrain: its contour-line
// object made again from the changed surface. The terrain's contour lines implement it (ContourLineRegenerator,
// terrain/ContourLineRegenerator.hpp); the shell makes one and the commands hand it down, and a test passes its own.
#include "APIElements.hpp"

class ContourLineRefresh {
public:
    virtual ~ContourLineRefresh() = default;

    // The terrain mesh's contour-line object replaced by a fresh one with the module's settings; a failure is
    // shown to the user.
    virtual void RefreshContourLines(const API_Element& terrain) = 0;
};
