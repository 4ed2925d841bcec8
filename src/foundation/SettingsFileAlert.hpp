#pragma once
// The alert that a settings file is no file (a folder, a pipe, a device), so the settings it holds keep their
// defaults. Apart from the configuration files' reader, which the language it loads is read through.
#include "foundation/QV_String.hpp"

void TellSettingsFileNotAFile(const QV_String& path);
