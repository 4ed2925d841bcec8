#include "siteobjects/Wall.hpp"

#include "foundation/ModuleLog.hpp"

int32_t WallCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("WallCls::ModifySelected");
    return 0;
}

int32_t WallCls::EditSettings() {
    ModuleLog::LogCall("WallCls::EditSettings");
    return 0;
}

int32_t WallCls::Place(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("WallCls::Place");
    return 0;
}
