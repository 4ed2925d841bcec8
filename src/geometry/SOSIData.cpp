#include "geometry/SOSIData.hpp"

void SOSIData::Reset() {
    geometryKind = 0;
    coords.Clear();
    radius = 0.0;
}
