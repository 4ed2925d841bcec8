#include "terrain/PointTool.hpp"

#include "foundation/ModuleLog.hpp"

bool PointTool::OnElementEvent(int32_t, const API_Elem_Head*, int32_t) {
    ModuleLog::LogCall("PointTool::OnElementEvent");
    return true;
}
