#pragma once
// The spot heights: point and level markers and spot-height grids. Not built yet: the command notes its call.
class Settings;

// The Spot heights command.
void RunMarker(Settings& settings);
