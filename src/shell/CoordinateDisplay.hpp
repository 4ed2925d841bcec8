#pragma once
// The palette's coordinate display: "Show Coordinates" asks for one point and shows the cursor's x, y and z in
// the palette while the user moves, z taken from the add-on terrain under the cursor when the floor plan holds
// one. The feedback also serves other point inputs that want the display.
#include "APIInteraction.hpp"

class CToolsPlt;

// The whole "Show Coordinates" step: deselects all, prepares the terrain, asks for one point inside one undoable
// command with the coordinate feedback, and resets the palette's tool input.
void ShowCoordinates(CToolsPlt& palette);

// Prepares the terrain the feedback samples: only in the floor plan, the first add-on terrain of the project
// (its story made current, it kept as the palette's tool-input element with its box and heights, its outline
// read). The palette's terrain-known flag tells whether that worked.
void PrepareCoordinateDisplay(CToolsPlt& palette);

// The cursor feedback: x, y and z into the palette's items 10, 12 and 14 in the host's length unit; z from the
// prepared terrain when the cursor lies inside its outline.
void CoordinateFeedback(const API_Coord3D* cursor);
