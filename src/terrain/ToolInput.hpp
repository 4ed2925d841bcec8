#pragma once
// The tool input of the palette (constraint and point input state).
class CToolsPlt;

// Resets the palette's tool-input state.
void ResetToolInput(CToolsPlt& palette);
