#pragma once
// The view of the preferences library part's parameters, apart from their loading and saving (PrefsLP), so that
// the preference sections (settings/PrefsSections.hpp) work on it without depending on what runs them.
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

#include "APICoord.hpp"

class PrefsView : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return PrefsLP_ParamName(index); }

    // "show_depth_RGB": the contour lines' four depth colours as a 4 by 3 array
    // (elements/ParamExchange.cpp).
    static bool ExchangeRgbColours(PrefsView& view, API_Coord3D colours[4], int32_t mode);
};
