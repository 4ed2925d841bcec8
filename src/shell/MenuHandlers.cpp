#include "shell/MenuHandlers.hpp"

#include "foundation/Language.hpp"
#include "shell/MenuCommands.hpp"

namespace {
template <int16_t ResID>
GSErrCode MenuHandler(const API_MenuParams* menuParams) {
    MenuCommandHandler(menuParams, ResID);
    return NoError;
}

API_MenuCommandProc* const kHandlers[MenuHandlerCount] = {MenuHandler<MenuResBase + 0>, MenuHandler<MenuResBase + 1>,
                                                          MenuHandler<MenuResBase + 2>, MenuHandler<MenuResBase + 3>,
                                                          MenuHandler<MenuResBase + 4>, MenuHandler<MenuResBase + 5>,
                                                          MenuHandler<MenuResBase + 6>};
}  // namespace

API_MenuCommandProc* MenuHandlerProc(int32_t i) { return i >= 0 && i < MenuHandlerCount ? kHandlers[i] : nullptr; }
