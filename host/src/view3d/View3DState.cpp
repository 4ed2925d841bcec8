#include "view3d/View3DState.hpp"

#include <cstring>

View3DState::View3DState() {
    std::memset(&projection, 0, sizeof projection);
    projection.isPersp = 1;
    projection.projMode = API3DProj_Perspective;
    projection.azimuth = 225.0;
    projection.sunAzimuth = 135.0;
    projection.sunAltitude = 45.0;
    for (int i = 0; i < 3; ++i) {
        projection.transform[i * 4 + i] = 1.0;
        projection.inverse[i * 4 + i] = 1.0;
    }
}
