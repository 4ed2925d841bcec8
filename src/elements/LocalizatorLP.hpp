#pragma once
// The view over the localisation library part "VY3_Localizator".
#include "elements/BaseLP.hpp"

#include <cstdint>

class Settings;

class LocalizatorLP : public BaseLP {
public:
    // Places or updates the localisation object for the settings and the language index in use before.
    // For now it notes its call.
    static void Place(Settings* settings, int16_t previousLanguage);
};
