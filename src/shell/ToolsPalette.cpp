#include "shell/ToolsPalette.hpp"

#include "foundation/ModuleLog.hpp"

void CToolsPlt::ResetState() {
    ModuleLog::LogCall("CToolsPlt::ResetState");
    closed_ = true;
}

void CToolsPlt::Close() {
    ModuleLog::LogCall("CToolsPlt::Close");
    closed_ = true;
}

void CToolsPlt::UpdateMenuTexts() { ModuleLog::LogCall("CToolsPlt::UpdateMenuTexts"); }

void CToolsPlt::Toggle() { ModuleLog::LogCall("CToolsPlt::Toggle"); }

void CToolsPlt::Create() {
    ModuleLog::LogCall("CToolsPlt::Create");
    closed_ = false;
}

CToolsPlt& ToolsPalette() {
    static CToolsPlt palette;
    return palette;
}
