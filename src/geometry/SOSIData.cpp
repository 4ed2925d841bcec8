#include "geometry/SOSIData.hpp"

void SOSIData::Reset() {
    geometryKind = 0;
    coords.Clear();
    radius = 0.0;
    id.Clear();
    type.Clear();
    pieces.Clear();
    texts.Clear();
    refs.Clear();
    fileIndex = -1;
}
