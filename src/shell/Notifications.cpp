#include "shell/Notifications.hpp"

#include "foundation/ModuleLog.hpp"
#include "shell/ToolsPalette.hpp"
#include "terrain/ToolInput.hpp"

GSErrCode ProjectEventHandler(int32_t, int32_t) {
    ModuleLog::LogCall("ProjectEventHandler");
    return NoError;
}

GSErrCode ElementEventHandler(const API_NotifyElementType*) {
    ModuleLog::LogCall("ElementEventHandler");
    return NoError;
}

GSErrCode ToolInputResetHandler(const API_ToolBoxItem*) {
    ResetToolInput(ToolsPalette());
    return NoError;
}
