#pragma once
// The view over the preferences library part "VY_PREFS".
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

class Settings;

class PrefsLP : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return PrefsLP_ParamName(index); }

    // Loads the preferences into the settings object when the palette opens. For now it notes its call.
    static bool LoadAtStart(Settings* settings);
};
