#pragma once
// The add-on menu's commands.
#include "APIDefs.hpp"

// One menu command: the host's menu parameters and the menu resource id of the handler that got them.
void MenuCommandHandler(const API_MenuParams* menuParams, int16_t ownMenuResID);
