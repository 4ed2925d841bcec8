#pragma once
// The preference sections: the settings object to and from the parameters of the preferences library part,
// one section per settings record, through the view PrefsView. Direction 1 writes a record into the parameters,
// direction 0 reads it back; each section follows SectionExchange's rules (first failure ends it, a read
// changes the record entirely or not at all).
//
// The sections run in a fixed order, which is the order below (0 to 18): points, constraint, outline, contour
// lines, terrain, plateau, road, road section, sidewalk, basin, building, coloured area, wall, retaining wall,
// markers, slope range, bridge, railway, general. The plateau, road and railway sections also read the display
// of retaining structures ("obstacle_show_2d", "obstacle_2d_pen", "obstacle_line_type") with direction 0; only
// the general section writes it.
//
// Conversions beside the plain copies: terrain ids 3 and 11 are stored as flags (the parameter is 0 when the
// field is 1, else 1; read back id 3 becomes 1 or 2 and id 11 becomes 1 or 0); the contour lines' four depth
// colours travel as the 4 by 3 real array "show_depth_RGB", and their shorts 26, 23, 25, 24 go to
// "show_depth_colour_1" to "show_depth_colour_4".
#include "settings/PrefsView.hpp"
#include "settings/Settings.hpp"

#include <cstdint>

constexpr int32_t PrefsSectionCount = 19;

// Runs section `order` (0 to 18); false when it failed or `order` names no section.
bool RunPrefsSection(int32_t order, PrefsView& view, Settings& settings, int32_t direction);

// The built-in defaults of the record section `order` carries (the general record for the last).
void SetPrefsSectionDefaults(int32_t order, Settings& settings, const QV_String& defaultFont);
