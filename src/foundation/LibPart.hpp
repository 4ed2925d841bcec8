#pragma once
// Finding the add-on's library parts in the project's loaded libraries (loading the add-on's libraries, then
// asking the user for the library folder, when they are missing), and opening documents with the shell.
#include "foundation/QV_String.hpp"

#include <cstdint>

// What a lookup of a library part came to: the part, no such part loaded, or no answer at all, because the host
// refused the search (a refused search found no missing part: the caller fails and tells the user).
enum class LibPartLookup { Found, Missing, Refused };

// One search for the library part of that name (a file extension is cut off) and library-part type. Found:
// `index` = its index; otherwise -1.
LibPartLookup LookUpLibPart(const QV_String& name, int32_t kind, int32_t& index);
// The same as an index alone: -1 when absent or when the host refused the search.
int32_t SearchLibPartByName(const QV_String& name, int32_t kind);

// Finds a library part: search, then load the add-on's libraries and search again, then ask for the library
// folder and search again. Found: `libIndex` = its index, true. Not found: `libIndex` = -1, false, and with
// `alertWhenMissing` an alert without title shows `message` (or, when it is empty, "library not loaded"). A
// search the host refused, or its refusal to load the add-on's libraries, ends the lookup there (nothing more is
// loaded or asked), and with `alertWhenMissing` the error alert says so ("Error while finding data."). `outcome`,
// when given, tells the three apart.
bool FindLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                      int32_t kind, LibPartLookup* outcome = nullptr);
// The same, loading the add-on's libraries without looking first whether they are loaded already.
bool FindRoadLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                          int32_t kind, LibPartLookup* outcome = nullptr);

// The lookups above without the folder request and the alert, for the project's notifications (no dialog may open
// there): search, then load the add-on's libraries (with `checkLoaded` only when they are not loaded yet) and
// search again. Found: `libIndex` = its index; else -1. A refused search or load ends the lookup.
LibPartLookup FindLibPartWithoutAsking(const QV_String& name, int32_t& libIndex, int32_t kind, bool checkLoaded);

// Asks for a library folder (title: "Lodravix: <title>" with `withProductName`) and has the host add it to the
// project's libraries. True when the host took it; false when the user cancelled or the host refused.
bool AskLibraryFolder(const QV_String& title, bool withProductName);

// Opens the document at `path` with the shell. False when no file can be opened there, when the shell cannot
// be given that exact path (longer than 319 characters, or characters the system code page lacks), or when the
// shell reports failure.
bool OpenFileWithShell(const QV_String& path);
