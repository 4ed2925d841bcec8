#include "earthworks/Basin.hpp"

#include "foundation/ModuleLog.hpp"

#include <string>

namespace Basin {

BasinCls::BasinCls() : builderIndex(0), picked{0.0, 0.0, 0.0} { settings.SetDefaults(); }

bool BasinCls::CreateObject(const QV_String& partName, int16_t placeCode, uint16_t, void*, API_Element*) {
    ModuleLog::LogCall(
        ("Basin::BasinCls::CreateObject " + partName.ToStdString() + " " + std::to_string(placeCode)).c_str());
    return false;
}

int32_t BasinCls::Modify(const QV_List<API_Element>&) {
    ModuleLog::LogCall("Basin::BasinCls::Modify");
    return 0;
}

int32_t BasinCls::EditDefaults() {
    ModuleLog::LogCall("Basin::BasinCls::EditDefaults");
    return 0;
}

int32_t BasinCls::Create(const API_Element&) {
    ModuleLog::LogCall("Basin::BasinCls::Create");
    return 0;
}

}  // namespace Basin
