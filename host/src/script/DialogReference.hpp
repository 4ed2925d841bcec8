#pragma once
// The reference a script writer needs: the module's menu and what its items open, the tool palette and the
// sub-palette each of its buttons opens, and every dialog and palette of the module's resources with its number
// and title, and every item's number, kind, label and limits (what `dialog <id> set|click <item>` names), with
// what the host's table (ModuleGuide) adds: what an item the module writes shows, a list's columns and clicks, and
// what a sub-palette button takes, asks and replaces.
#include <ostream>
#include <string>

// Reads `resourcesFolder` (resources/ beside the module). `language` "" shows every language; else one of the
// module's own languages ("INT", "GER", ...: its menu) or a host language whose input palette differs ("NOR",
// "AUT"): only what that language shows is listed. False with `why` for another language (naming those there
// are) or when the folder holds no dialog layouts.
bool WriteDialogReference(const std::string& resourcesFolder, const std::string& language, std::ostream& out,
                          std::string* why);

// For `--help-script`: every button of every sub-palette (from the layouts in `resourcesFolder`) with what it
// takes, the clicks it asks for and what it replaces (the host's table, ModuleGuide). False with `why` when the
// folder holds no sub-palette.
bool WritePaletteActions(const std::string& resourcesFolder, std::ostream& out, std::string* why);
