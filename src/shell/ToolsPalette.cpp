#include "shell/ToolsPalette.hpp"

#include "foundation/ModuleLog.hpp"

void CToolsPlt::ResetState() { ModuleLog::LogCall("CToolsPlt::ResetState"); }
void CToolsPlt::Close() { ModuleLog::LogCall("CToolsPlt::Close"); }
void CToolsPlt::UpdateMenuTexts() { ModuleLog::LogCall("CToolsPlt::UpdateMenuTexts"); }

CToolsPlt& ToolsPalette() {
    static CToolsPlt palette;
    return palette;
}
