#include "fileio/UnitFactor.hpp"

double GetUnitFactor(int16_t unitCode) {
    switch (unitCode) {
        case UnitCentimeter: return 0.01;
        case UnitMillimeter: return 0.001;
        case UnitDecimalFeet: return 0.3048;
        case UnitDecimalInches: return 0.0254;
        default: return 1.0;
    }
}
