#pragma once
// Dialog 32541: the coordinate locator's real-world coordinates and the look of its marker and label.
#include "elements/CoordinateLocatorLP.hpp"

// Opens the dialog on `rec`; on OK the record holds what the user set and the answer is true.
bool OpenCoordinateLocatorDialog(CoordinateLocatorRec& rec);
