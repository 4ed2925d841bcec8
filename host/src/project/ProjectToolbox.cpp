#include "project/ProjectToolbox.hpp"

#include "project/ElementTypes.hpp"

GSErrCode ProjectToolbox::GetToolBox(API_ToolBoxItem* item) const {
    if (item == nullptr) return APIERR_BADPARS;
    *item = toolbox_;
    return NoError;
}

GSErrCode ProjectToolbox::SetToolBox(const API_ToolBoxItem& item) {
    if (item.typeID != API_ZombieElemID && !ValidElementType(item.typeID))
        return Refuse(APIERR_BADELEMTYPE, "no tool for element type " + std::to_string(item.typeID));
    toolbox_ = item;
    return NoError;
}

std::map<std::pair<API_ElemTypeID, int32_t>, API_Element> ProjectToolbox::DefaultRecords() const {
    std::map<std::pair<API_ElemTypeID, int32_t>, API_Element> records;
    for (const auto& [key, stored] : defaults_) records[key] = stored.first;
    return records;
}
