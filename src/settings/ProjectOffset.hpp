#pragma once
// The project offset: the easting and northing subtracted from imported survey coordinates and the height the
// shapefile import uses. The imports set it; it is kept with the project as the add-on's module data (the shell
// stores and restores it on the project events), and point markers carry it, negated, in their parameters.
#include <cfloat>

struct ProjectOffsetData {
    double x = 0.0;
    double y = 0.0;
    double shapeHeight = DBL_MAX;  // unset

    // Back to no offset, the height unset.
    void Reset() { *this = ProjectOffsetData(); }
};

// Lives while the module is loaded.
extern ProjectOffsetData ProjectOffset;
