#pragma once
// The add-on's own library folder beside the add-on file, kept among the project's libraries. Only host calls are
// needed, so the library lookups (LibPart) load it themselves when a part is missing.
#include "GSRoot.hpp"
#include "UniString.hpp"

// The name of the add-on's library folder beside the add-on file.
extern const char* const AddOnLibraryFolderName;

// Loads the add-on's library folder into the project. With `check`, a folder of that path or name among the
// active libraries counts as loaded. True when loaded, already loaded, or when the folder does not exist (also when
// the host cannot name the add-on's location); false only when the host refused to add it.
bool LoadAddOnLibraries(bool check);

// Puts the add-on's library folder at the end of the project's library list, in place of every library of the
// same folder name.
void CheckAddOnLibraryFolders();

// Whether the parent folder (the path up to its last backslash) holds a folder of the last name.
bool FolderExists(const GS::UniString& path);

// The add-on file's location ("\"-separated); with `folderOnly`, the folder it lies in. False when the host
// cannot name it.
bool AddOnFolderPath(GS::UniString& out, bool folderOnly);
