#pragma once
// The localisation object "VY3_Localizator".
#include <cstdint>

// Brings the localisation object up to date for a language index (0 to 6).
void UpdateLocalizatorLanguage(int16_t languageIndex);
