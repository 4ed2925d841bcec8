#include "siteobjects/Paint.hpp"

#include "foundation/ModuleLog.hpp"

int32_t PaintCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("PaintCls::ModifySelected");
    return 0;
}

int32_t PaintCls::Create(const QV_List<API_Element>&, const API_Element&) {
    ModuleLog::LogCall("PaintCls::Create");
    return 0;
}

int32_t PaintCls::EditSettings() {
    ModuleLog::LogCall("PaintCls::EditSettings");
    return 0;
}
