#pragma once
// The add-on menu's commands: show or hide the tool palette, choose the interface language, the about box.
#include "APIDefs.hpp"

// Set at load: the first menu command of the module's life applies the language before anything else.
extern uint8_t FirstMenuCommand;

// One menu command: the host's menu parameters and the menu resource id of the handler that got them. Nothing
// happens unless the preferences library part can be found and the parameters name the handler's own menu.
void MenuCommandHandler(const API_MenuParams* menuParams, int16_t ownMenuResID);

// Opens the tool palette, or shows / hides it when it exists.
void OpenToolsPalette();
// The first menu command of the module's life: the language and the add-on's libraries. 0, or the error to tell
// when the libraries' parts could not be read (the command is then not run).
int32_t ApplyLanguage();
// True when "VY_PREFS" can be found (loading the libraries or asking for their folder when it is missing).
bool HasPrefsLibPart();
