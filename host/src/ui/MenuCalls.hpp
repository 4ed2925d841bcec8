#pragma once
// The module's menus: registering a menu resource (Register_Menu), its handler (Install_MenuHandler) and the
// texts it sets for menu items (the Interface selector 'SMIT'). FailCall's key for the first two is the menu
// resource id.
class HostFunctionSet;

void InstallMenuCalls(HostFunctionSet& set);
