#pragma once
// The point-input palette.

// Dialog id 0, flag 1, value 0.
void ResetPointInputPaletteState();
