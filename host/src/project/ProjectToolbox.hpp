#pragma once
// The tool the user has picked in the toolbox.
#include "project/ProjectCore.hpp"

#include <map>
#include <utility>

class ProjectToolbox : public virtual ProjectCore {
public:
    GSErrCode GetToolBox(API_ToolBoxItem* item) const;
    GSErrCode SetToolBox(const API_ToolBoxItem& item);
    // The default records the tools have been given, by type and variation (those never given are not here).
    std::map<std::pair<API_ElemTypeID, int32_t>, API_Element> DefaultRecords() const;
};
