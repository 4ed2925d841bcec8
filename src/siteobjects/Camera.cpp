#include "siteobjects/Camera.hpp"

#include "foundation/ModuleLog.hpp"

int32_t CameraCls::Create(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("CameraCls::Create");
    return 0;
}
