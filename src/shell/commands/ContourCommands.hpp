#pragma once
// The commands of the Input buttons "Contour lines" and "Slope analysis", and the regeneration of a terrain's
// contour-line object that other tools run after they changed the terrain.
#include "foundation/QV_List.hpp"
#include "settings/Settings.hpp"

#include "APIElements.hpp"

struct CalculationVolume;
class TerrainDialogs;

// "Contour lines": with an add-on terrain in the project, its contour-line object (new, or the linked ones
// edited); else drawn lines digitised into terrain input, or one altitude given to selected points and
// constraints, or the defaults.
void RunContourLineTool(Settings& settings, TerrainDialogs& dialogs);
// "Slope analysis": edits every slope-range object of the project (selected or not), else places one per
// terrain, else edits the defaults.
void RunSlopeRange(Settings& settings, TerrainDialogs& dialogs);
// Replaces the terrain's contour-line object by a fresh one carrying the old one's placement and the user's own
// parameters (and the volume list when given). 0, or the error code (also shown).
int32_t RunContourLines(const Settings& settings, const API_Element& terrain, QV_List<CalculationVolume>* volumes);
