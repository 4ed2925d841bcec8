#include "shell/MenuCommands.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModuleLog.hpp"

#include <string>

void MenuCommandHandler(const API_MenuParams* menuParams, int16_t ownMenuResID) {
    // Every handled command keeps the module loaded from now on.
    ACAPI_KeepInMemory(true);
    const int32_t item = menuParams != nullptr ? menuParams->menuItemRef.itemIndex : 0;
    ModuleLog::LogCall(("MenuCommandHandler " + std::to_string(ownMenuResID) + " item " + std::to_string(item)).c_str());
}
