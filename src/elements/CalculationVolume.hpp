#pragma once
// One earthwork feature's result of the volume calculation; a list of them goes into the contour-line object's
// "quantita" and "identificatori" parameters.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

struct CalculationVolume {
    // Copy volume before minus after removing a link of the pair: of a cut and fill pair, the fill's (removed
    // first) and the cut's; of any other pair, the second link's and the first (newest) one's.
    double secondDifference = 0.0;
    double firstDifference = 0.0;
    double total = 0.0;         // volume before the pair minus after both
    char terrainName[16] = {};  // the terrain's element ID, system code page, at most 15 bytes and a NUL
    QV_String featureName;      // the element ID of the first link's operator element
};
QV_DECLARE_RELOCATABLE(CalculationVolume);
