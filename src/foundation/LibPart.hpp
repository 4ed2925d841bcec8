#pragma once
// Finding the add-on's library parts in the project's loaded libraries (loading the add-on's libraries, then
// asking the user for the library folder, when they are missing), and opening documents with the shell.
#include "foundation/QV_String.hpp"

#include <cstdint>

// Index of the library part of that name (a file extension is cut off) and library-part type; -1 when absent.
int32_t SearchLibPartByName(const QV_String& name, int32_t kind);
// True when the host refuses the search for that part itself (any answer but found or "no such part"): a
// lookup that failed so found no missing part, and the caller tells the user.
bool LibPartSearchRefused(const QV_String& name, int32_t kind);

// Finds a library part: search, then load the add-on's libraries and search again, then ask for the library
// folder and search again. Found: `libIndex` = its index, true. Not found: `libIndex` = -1, false, and with
// `alertWhenMissing` an alert without title shows `message` (or, when it is empty, "library not loaded").
bool FindLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                      int32_t kind);
// The same, loading the add-on's libraries without looking first whether they are loaded already.
bool FindRoadLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                          int32_t kind);

// The lookups above without the folder request and the alert, for the project's notifications (no dialog may open
// there): search, then load the add-on's libraries (with `checkLoaded` only when they are not loaded yet) and
// search again. Found: `libIndex` = its index, true; else -1, false.
bool FindLibPartWithoutAsking(const QV_String& name, int32_t& libIndex, int32_t kind, bool checkLoaded);

// Asks for a library folder (title: "Lodravix: <title>" with `withProductName`) and has the host add it to the
// project's libraries. True when the host took it; false when the user cancelled or the host refused.
bool AskLibraryFolder(const QV_String& title, bool withProductName);

// Opens the document at `path` with the shell. False when no file can be opened there, when the shell cannot
// be given that exact path (longer than 319 characters, or characters the system code page lacks), or when the
// shell reports failure.
bool OpenFileWithShell(const QV_String& path);
