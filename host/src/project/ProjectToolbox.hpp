#pragma once
// The tool the user has picked in the toolbox.
#include "project/ProjectCore.hpp"

class ProjectToolbox : public virtual ProjectCore {
public:
    GSErrCode GetToolBox(API_ToolBoxItem* item) const;
    GSErrCode SetToolBox(const API_ToolBoxItem& item);
};
