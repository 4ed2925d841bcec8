#pragma once
// Services the opening of the tool palette runs before the palette appears. They belong to the element and
// layer framework; until it is built each notes its call.

// Creates the operators layer "VY_Operators" with flags 0x11, or gives an existing one those flags.
void ResetOperatorsLayer();
// Brings the placed road and railway objects up to date.
void RefreshRoads();
void RefreshRailways();
// Creates the add-on's layers that are missing.
void EnsureAddOnLayers();
