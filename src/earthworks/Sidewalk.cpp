#include "earthworks/Sidewalk.hpp"

#include "foundation/ModuleLog.hpp"

int32_t SideWalkCls::Modify(const QV_List<API_Element>&) {
    ModuleLog::LogCall("SideWalkCls::Modify");
    return 0;
}

int32_t SideWalkCls::Create(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("SideWalkCls::Create");
    return 0;
}

int32_t SideWalkCls::EditDefaults() {
    ModuleLog::LogCall("SideWalkCls::EditDefaults");
    return 0;
}
