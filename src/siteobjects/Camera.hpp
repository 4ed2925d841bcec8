#pragma once
// A camera path along an open, straight-segmented polyline over the terrain: a host camera set with a chain of
// cameras at equal distances along the path, each at its eye height above the terrain under it and looking at
// the next position.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class SiteObjectDialogs;

class CameraCls : public BaseCls {
public:
    // The whole command, the distance asked through `dialogs`; an error code for ShowErrorMessage (0 also when the
    // dialog was cancelled).
    int32_t Create(Settings& store, SiteObjectDialogs& dialogs, const API_Element& polyline,
                   const API_Element& terrain);

    // The set and its cameras over `positions` (z: terrain heights), on the terrain's story. False at the first
    // failure: what was made goes with the caller's undoable command, which the failure takes back.
    bool CreateCameras();

    double distance = 0.0;
    double pathLength = 0.0;
    int16_t count = 0;
    QV_List<API_Coord> vertices;
    QV_List<API_Coord3D> positions;
    QV_List<API_Guid> created;
};
