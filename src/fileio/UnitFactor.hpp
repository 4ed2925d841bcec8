#pragma once
// Units of the column readers (ASCII grid, XYZ text): the code the options dialog stores and its factor.
#include <cstdint>

enum ReaderUnitCode : int16_t {
    UnitMeter = 0,          // "meter"
    UnitCentimeter = 1,     // "centimeter"
    UnitMillimeter = 2,     // "millimeter"
    UnitDecimalFeet = 3,    // "decimal feet"
    UnitDecimalInches = 4,  // "decimal inches"
};

// Metres per file unit; 1.0 for a code outside 0 to 4. Readers multiply x, y and z of every point by it.
double GetUnitFactor(int16_t unitCode);
