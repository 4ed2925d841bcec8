#include "settings/PrefsView.hpp"

#include "elements/ParamExchange.hpp"
#include "elements/PrefsParamIndexes.hpp"

bool PrefsView::ExchangeRgbColours(PrefsView& view, API_Coord3D colours[4], int32_t mode) {
    return LPArrays::RgbRows(view, PrefsParam::DepthRgb, colours, mode);
}
