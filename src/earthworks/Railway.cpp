#include "earthworks/Railway.hpp"

#include "foundation/ModuleLog.hpp"

int32_t RailwayCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("RailwayCls::ModifySelected");
    return 0;
}

int32_t RailwayCls::CreateOnFill(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("RailwayCls::CreateOnFill");
    return 0;
}

int32_t RailwayCls::CreateAlongPolyline(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("RailwayCls::CreateAlongPolyline");
    return 0;
}

int32_t RailwayCls::EditDefaults() {
    ModuleLog::LogCall("RailwayCls::EditDefaults");
    return 0;
}
