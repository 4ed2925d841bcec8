#pragma once
// The tool input of the palette: what a running point or line input of the palette's tools has gathered, reset
// by every palette button and by the project and input notifications.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class QV_ToolsPlt;

struct ToolInputState {
    uint8_t block[64];            // the input block
    API_Element element;          // the palette's element record
    API_Box3D bounds;             // minimum at +max double, maximum at -max double: nothing gathered
    uint32_t flags;               // the input flags
    QV_List<API_Coord3D> points;  // the three gathered lists
    QV_List<API_Coord3D> others;
    QV_List<API_Elem_Head> heads;

    ToolInputState() { Reset(); }
    void Reset();
};

extern ToolInputState PaletteToolInput;

// Resets the palette's tool-input state. While the palette is shown it also cancels a running host input ('INCA')
// and clears the palette's "Show Coordinates" box.
void ResetToolInput(QV_ToolsPlt& palette);
