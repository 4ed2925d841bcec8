// The host's user controls (DG items of kind "usercontrol" bound to an attribute chooser with the Interface
// selector 'SUCC'): their drawing style and the colours of a fill-pattern control. The value of a control is
// the attribute index (DGSetItemValLong / DGGetItemValLong).
#pragma once

#include "DG.hpp"

#include <cstdint>

// Drawing style of a control (19: a pen control drawn as a plain colour swatch).
void UC257SetStyle(int16_t dialId, int16_t item, int32_t style);
int32_t UC257GetStyle(int16_t dialId, int16_t item);
// Colour `colourIndex` (0 foreground, 1 background, 2 contour) of a fill-pattern control.
void UC257SetColor(int16_t dialId, int16_t item, int16_t colourIndex, const DGColorRec& colour);
bool UC257GetColor(int16_t dialId, int16_t item, int16_t colourIndex, DGColorRec* colour);
