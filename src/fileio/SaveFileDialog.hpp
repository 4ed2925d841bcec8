#pragma once
// The host's save dialog over one file type, answering the chosen file's "\"-separated path.
#include "fileio/FileDialogs.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

// Offers `type` (host type code `typeCode`), title `title` and the start path `startPath` (folder and file name
// split at its last "\"). True and the chosen path when the user saved, false on Cancel.
bool AskSaveFileOfType(QV_String& path, const ImportFileType& type, uint32_t typeCode, const QV_String& title,
                       const QV_String& startPath);
