#pragma once
// The view over the preferences library part "VY_PREFS".
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

#include "APICoord.hpp"

class Settings;

class PrefsLP : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return PrefsLP_ParamName(index); }

    // "show_depth_RGB" (43): the contour lines' four depth colours as a 4 by 3 array
    // (elements/ParamExchange.cpp).
    static bool ExchangeRgbColours(PrefsLP& view, API_Coord3D colours[4], int32_t mode);

    // Loads the preferences into the settings object when the palette opens. For now it notes its call.
    static bool LoadAtStart(Settings* settings);
};
