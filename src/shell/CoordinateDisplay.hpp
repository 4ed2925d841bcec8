#pragma once
// The palette's coordinate display: "Show Coordinates" asks for one point and shows the cursor's x, y and z in
// the palette while the user moves, z taken from the add-on terrain under the cursor when the floor plan holds
// one. The feedback also serves other point inputs that want the display.
#include "foundation/QV_ToolsPlt.hpp"

#include "APIElements.hpp"
#include "APIInteraction.hpp"

#include <cstdint>

// The palette's share the display works on: the terrain prepared for the feedback. The tool palette is one.
class CoordinatePalette : public QV_ToolsPlt {
public:
    // An empty box: the minimum at the largest double, the maximum at its negative.
    CoordinatePalette();

    // Tool input in progress, read by the terrain tools.
    API_Element toolInputElement{};
    double terrainBox[6] = {};
    double terrainHeights[2] = {};
    uint8_t terrainKnown = 0;
};

// The whole "Show Coordinates" step: deselects all, prepares the terrain, asks for one point inside one undoable
// command with the coordinate feedback, and resets the palette's tool input.
void ShowCoordinates(CoordinatePalette& palette);

// Prepares the terrain the feedback samples: only in the floor plan, the first add-on terrain of the project
// (its story made current, it kept as the palette's tool-input element with its box and heights, its outline
// read). The palette's terrain-known flag tells whether that worked. The feedback shows into this palette.
void PrepareCoordinateDisplay(CoordinatePalette& palette);

// The cursor feedback: x, y and z into the prepared palette's items 10, 12 and 14 in the host's length unit; z
// from the prepared terrain when the cursor lies inside its outline.
void CoordinateFeedback(const API_Coord3D* cursor);
