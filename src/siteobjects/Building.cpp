#include "siteobjects/Building.hpp"

#include "foundation/ModuleLog.hpp"

int32_t BuildingCls::Modify(const QV_List<API_Element>&) {
    ModuleLog::LogCall("BuildingCls::Modify");
    return 0;
}

int32_t BuildingCls::Create(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("BuildingCls::Create");
    return 0;
}

int32_t BuildingCls::CreateFromSelection(const QV_List<API_Element>&, const API_Element&) {
    ModuleLog::LogCall("BuildingCls::CreateFromSelection");
    return 0;
}

int32_t BuildingCls::EditSettings() {
    ModuleLog::LogCall("BuildingCls::EditSettings");
    return 0;
}
