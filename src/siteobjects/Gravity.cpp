#include "siteobjects/Gravity.hpp"

#include "foundation/ModuleLog.hpp"

int32_t GravityCls::Build(const API_Element*) {
    ModuleLog::LogCall("GravityCls::Build");
    return 0;
}

int32_t GravityCls::Run(const QV_List<API_Element>&) {
    ModuleLog::LogCall("GravityCls::Run");
    return 0;
}
