#pragma once
// Configuration files ("<user folder>\Lodravix_20.cfg", own, and "<user folder>\Brenmaro.cfg", shared by the
// maker's add-ons) and the suite marker file. Each file is read once into a cache; lookups are answered from
// the cache and a change rewrites the whole file.
//
// On disk every byte has its two 4-bit halves exchanged. The text (system code page) is a sequence of entries
// "$<key>:<one separator byte><value>" ended by a line break (CR LF, CR or LF); a line break inside a value is
// followed by "#" on the next line. A key runs to the first ":" after its "$", line breaks and all.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

// One entry of a configuration file.
struct QV_Setting {
    QV_String key;
    QV_String value;
};

// File selectors: 1 is the own file; every other value is the shared file.
constexpr uint32_t ConfigSharedFile = 0;
constexpr uint32_t ConfigOwnFile = 1;

// Largest file (and largest written text) handled: room for tens of thousands of entries. Bigger files are
// refused, never cut.
constexpr uint32_t ConfigMaxFileBytes = 4u << 20;

// 0 and the file's path, or the host's error when the user's folder cannot be found (path unchanged).
int32_t GetConfigFilePath(uint32_t which, QV_String& path);

// Reads the file into its cache. With onlyIfNotLoaded and the file already loaded, true at once. A missing or
// empty file loads as empty. False when the file cannot be opened or read, is larger than ConfigMaxFileBytes,
// or breaks the grammar (the cache then holds the entries before the fault). A file whose last entry lacks
// its line break loads without that entry (lookups do not see it); a rewrite keeps it, unfinished, behind the
// other entries.
bool LoadConfigFile(uint32_t which, bool onlyIfNotLoaded);
// Whether the last load found no file under the name but a folder, a pipe or a device (refused at once, never waited
// on): the module tells the user once it is loaded.
bool ConfigFileIsNoFile(uint32_t which);

// True when the key is in the cache (exact compare, first entry wins); copies the value when value is not
// null. With loadFirst and the file not yet loaded, loads it first and answers false when that fails.
bool GetConfigValue(uint32_t which, const QV_String& key, QV_String* value, bool loadFirst);

// Changes the cache only: replaces the value of the first entry with the key, or appends a new entry when
// addIfMissing is set. False only when memory runs out.
bool SetConfigEntry(uint32_t which, const QV_String& key, const QV_String& value, bool addIfMissing);

// Rewrites the file from its cache. Refused (false, nothing written) unless the cache holds the whole file
// (loaded from disk, or a missing file), when a key cannot be written back unchanged (empty, or holding ":"),
// or when the text would be larger than ConfigMaxFileBytes.
bool WriteConfigFile(uint32_t which);

// Loads the file when it is not loaded yet, changes the entry in the cache (keeping what was staged there with
// SetConfigEntry) and rewrites the file from it. A caller that wants the file's present state calls
// LoadConfigFile(which, false) first. False, and the file untouched, when the file was not read whole or cannot
// be written (the cache keeps the change in the latter case).
bool SetConfigValue(uint32_t which, const QV_String& key, const QV_String& value, bool addIfMissing);

// Forgets both caches (not loaded, no entries): the next access reads the files again.
void ResetConfigCaches();

// Suite marker: "<user folder>\Lodravix_20_<version>.wyr" holding the entry "Korvane Loaded: TRUE|FALSE".
bool GetSuiteMarkerPath(int32_t version, QV_String& path);
bool WriteSuiteMarker(bool loaded);
// True when the suite's own marker "<user folder>\Korvane_AC<version>.wyr" exists.
bool FindSuiteMarkerFile();
// present = true when the suite answers its 'SUIT' command; otherwise false and the result is
// FindSuiteMarkerFile().
bool CheckSuitePresence(bool& present);
