#pragma once
// The reference a script writer needs: every dialog and palette of the module's resources with its number and
// title, and each item's number, kind, label and limits (what `dialog <id> set|click <item>` names).
#include <ostream>
#include <string>

// Reads `resourcesFolder` (resources/ beside the module). With a host language ("INT", "AUT", "NOR", ...) only the
// input palette that language shows is listed; without one, every palette with the languages that show it.
// False with `why` when the folder holds no dialog layouts.
bool WriteDialogReference(const std::string& resourcesFolder, const std::string& language, std::ostream& out,
                          std::string* why);
