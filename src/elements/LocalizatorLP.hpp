#pragma once
// The view over the localisation library part "VY3_Localizator".
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

#include <cstdint>

class Settings;

class LocalizatorLP : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return LocalizatorLP_ParamName(index); }

    // Places or updates the localisation object for the settings and the language index in use before.
    // For now it notes its call.
    static void Place(Settings* settings, int16_t previousLanguage);
};
