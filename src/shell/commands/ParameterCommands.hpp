#pragma once
// The Parameters buttons' commands: volume calculation, gravity on the terrain, camera path, the add-on's
// default settings (the spot heights command is the site objects' RunMarker).
#include "settings/Settings.hpp"

void RunCalculation(Settings& settings);
void RunGravity(Settings& settings);
void RunCamera(Settings& settings);
void RunDefaultSettings(Settings& settings);
