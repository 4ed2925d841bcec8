#pragma once
// The localisation object "VY3_Localizator": the library part that carries the interface language into the
// library's scripts through the default of its "language" parameter (the language index + 1).
#include <cstdint>

// Stamps `languageIndex` (0 Italian to 6 Russian) into the part as the language number languageIndex + 1, then has
// the host rebuild the model so that placed objects show it. Called with the newly chosen index while the module's
// LanguageIndex still holds the one in use: an index equal to it, or one outside 0 to 6, does nothing (not even a
// library search). A missing part, or a parameter section that cannot be read or written, leaves everything as it
// was; nothing is reported.
void UpdateLocalizatorLanguage(int16_t languageIndex);
