#pragma once
// The localisation object "VY3_Localizator": the library part that carries the interface language into the
// library's scripts through the default of its "language" parameter (the language index + 1).
#include <cstdint>

// Called after the language index was loaded again, with the index in use before: when the language changed, the
// part takes the language now in use (LanguageIndex, 0 Italian to 6 Russian) as the number LanguageIndex + 1, and
// the host rebuilds the model so that placed objects show it. An unchanged language does nothing (not even a
// library search). A missing part leaves everything as it was (0). A search the host refused answers ErrFindingData,
// a parameter section it would not read or write ErrSettings; the caller tells the user.
int32_t UpdateLocalizatorLanguage(int16_t previousLanguageIndex);
