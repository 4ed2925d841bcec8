#include "siteobjects/Trees.hpp"

#include "foundation/ModuleLog.hpp"

bool PlaceTrees(const API_Element*) {
    ModuleLog::LogCall("PlaceTrees");
    return true;
}

bool EditSelectedTrees(const QV_List<API_Element>&) {
    ModuleLog::LogCall("EditSelectedTrees");
    return true;
}
