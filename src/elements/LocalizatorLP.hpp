#pragma once
// The view over the localisation library part "VY3_Localizator".
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

class LocalizatorLP : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return LocalizatorLP_ParamName(index); }
};
