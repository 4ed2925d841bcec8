#include "settings/PrefsLP.hpp"

#include "elements/ParamIndexes.hpp"

#include "elements/ParamExchange.hpp"
#include "foundation/ModuleLog.hpp"

bool PrefsLP::LoadAtStart(Settings*) {
    ModuleLog::LogCall("PrefsLP::LoadAtStart");
    return true;
}

bool PrefsLP::ExchangeRgbColours(PrefsLP& view, API_Coord3D colours[4], int32_t mode) {
    return LPArrays::RgbRows(view, PrefsParam::DepthRgb, colours, mode);
}
