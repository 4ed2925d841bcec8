#include "earthworks/Bridge.hpp"

#include "foundation/ModuleLog.hpp"

int32_t BridgeCls::Modify(const QV_List<API_Element>&) {
    ModuleLog::LogCall("BridgeCls::Modify");
    return 0;
}

int32_t BridgeCls::Create(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("BridgeCls::Create");
    return 0;
}

int32_t BridgeCls::EditDefaults() {
    ModuleLog::LogCall("BridgeCls::EditDefaults");
    return 0;
}
