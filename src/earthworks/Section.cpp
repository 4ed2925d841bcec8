#include "earthworks/Section.hpp"

#include "foundation/ModuleLog.hpp"

int32_t SectionCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("SectionCls::ModifySelected");
    return 0;
}

int32_t SectionCls::CreateFromRoad(const API_Element&) {
    ModuleLog::LogCall("SectionCls::CreateFromRoad");
    return 0;
}

int32_t SectionCls::EditDefaults() {
    ModuleLog::LogCall("SectionCls::EditDefaults");
    return 0;
}

bool FilterRoadsWithSection(QV_List<API_Element>& objects) {
    ModuleLog::LogCall("FilterRoadsWithSection");
    objects.Clear();
    return true;
}
