#pragma once
// "Camera Settings" (32558) and its compact layout (32522): the distance between the cameras of a path, from 0.1
// up to the path's length.
#include "dialogs/settings/SettingsDialogFrame.hpp"

struct CameraDialogState {
    DialogBlockHead head;
    double distance = 0.0;  // metres
    double limit = 0.0;     // the path's length
};

// Each stores the limit, lowers a larger distance to it and runs its layout; true on OK, with the distance.
bool OpenCameraSettingsDialog(CameraDialogState& state, double limit);
bool OpenCameraDistanceDialog(CameraDialogState& state, double limit);

// The owner's loop between the two layouts: true on OK with `distance` set.
bool AskCameraDistance(double& distance, double limit, SettingsMode mode);
