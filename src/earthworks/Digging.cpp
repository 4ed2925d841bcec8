#include "earthworks/Digging.hpp"

#include "foundation/ModuleLog.hpp"

int32_t DiggingCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("DiggingCls::ModifySelected");
    return 0;
}

int32_t DiggingCls::CreateFromPolygon(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("DiggingCls::CreateFromPolygon");
    return 0;
}

int32_t DiggingCls::Create(const QV_List<API_Element>&, const API_Element&) {
    ModuleLog::LogCall("DiggingCls::Create");
    return 0;
}

int32_t DiggingCls::EditDefaults() {
    ModuleLog::LogCall("DiggingCls::EditDefaults");
    return 0;
}
