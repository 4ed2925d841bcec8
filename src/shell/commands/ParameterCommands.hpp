#pragma once
// The Parameters buttons' commands: volume calculation, gravity on the terrain, camera path, the add-on's
// default settings (the spot heights command is the site objects' RunMarker).
#include "settings/Settings.hpp"

class SiteObjectDialogs;

void RunCalculation(Settings& settings);
void RunGravity(Settings& settings);
// The distance between the cameras is asked through `dialogs`.
void RunCamera(Settings& settings, SiteObjectDialogs& dialogs);
void RunDefaultSettings(Settings& settings);
