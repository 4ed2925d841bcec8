#include "siteobjects/Calculation.hpp"

#include "foundation/ModuleLog.hpp"

int32_t CalculationCls::Run(const API_Element&) {
    ModuleLog::LogCall("CalculationCls::Run");
    return 0;
}
