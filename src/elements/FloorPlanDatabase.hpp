#pragma once
// Element data, memos and user data are read and written in the floor plan's database: work started while the 3D
// window is in front makes that database current around itself and the 3D model's current again afterwards.
#include "APIElements.hpp"

#include <cstdint>

// Makes the database of the window kind current (1 the floor plan, 4 the 3D model); the host's answer.
GSErrCode MakeWindowDatabaseCurrent(int32_t windowType);

// Whether the 3D window is in front (the host asked once).
bool FloorPlanSwitchNeeded();

// Runs `body` in the floor plan's database. With the 3D window in front the floor plan's database is made current
// first and the 3D model's again afterwards, whatever `body` answered; when that first switch fails `body` does not
// run and the answer is false.
template <typename Body>
bool InFloorPlanDatabase(Body&& body) {
    const bool switched = FloorPlanSwitchNeeded();
    if (switched && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;
    const bool result = body();
    if (switched) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    return result;
}
