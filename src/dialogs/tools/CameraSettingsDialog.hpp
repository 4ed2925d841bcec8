#pragma once
// "Camera Settings" (32558) and its compact layout (32522): the distance between the cameras of a path, from 0.1
// up to the path's length.
#include "dialogs/settings/SettingsDialogFrame.hpp"

struct CameraDialogState {
    DialogBlockHead head;
    double distance = 0.0;  // metres
    double limit = 0.0;     // the path's length
};

// Each stores the limit, lowers a larger distance to it and runs its layout; confirmed, with the distance.
DialogAnswer OpenCameraSettingsDialog(CameraDialogState& state, double limit);
DialogAnswer OpenCameraDistanceDialog(CameraDialogState& state, double limit);

// Both layouts, the first first; confirmed, with `distance` set.
DialogAnswer AskCameraDistance(double& distance, double limit, SettingsMode mode);
