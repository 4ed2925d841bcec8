#include "ui/MenuCalls.hpp"

#include "HostCalls.hpp"
#include "Resources.hpp"
#include "TextFields.hpp"

namespace {
GSErrCode T_RegisterMenu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags) {
    return ServeCall("Register_Menu", menuStrResID, [&](HostCalls& host) {
        ModuleSession& session = host.Session();
        GS::Array<GS::UniString> lines;
        if (!RSGetMenu(menuStrResID, session.resModule, &lines)) {
            host.ReportHostError("Register_Menu: the module has no menu resource " + std::to_string(menuStrResID));
            return APIERR_BADPARS;
        }
        ModuleSession::Menu menu;
        menu.menuResID = menuStrResID;
        menu.promptResID = promptStrResID;
        menu.position = menuPosCode;
        menu.flags = menuFlags;
        for (uint32_t i = 0; i < lines.GetSize(); ++i) menu.texts.push_back(lines[i].ToUtf8());
        session.menus.push_back(menu);
        std::string shown;
        for (const std::string& t : menu.texts) shown += (shown.empty() ? "" : " | ") + t;
        host.Log("  host: menu " + std::to_string(menuStrResID) + " registered: " + shown);
        return NoError;
    });
}

GSErrCode T_InstallMenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc) {
    return ServeCall("Install_MenuHandler", menuStrResID, [&](HostCalls& host) {
        if (handlerProc == nullptr) return APIERR_BADPARS;
        host.Session().menuHandlers[menuStrResID] = handlerProc;
        return NoError;
    });
}

GSErrCode SetMenuItemText(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_MenuItemText), 0)) return APIERR_BADPARS;
    const auto* rec = static_cast<const API_MenuItemText*>(call->par1);
    host.Session().menuItemTexts[{rec->menuItemRef.menuResID, rec->menuItemRef.itemIndex}] =
        FieldText(rec->text, sizeof rec->text);
    return NoError;
}
}  // namespace

void InstallMenuCalls(HostFunctionSet& set) {
    set.Put("Register_Menu", &API_HostFunctionTable::Register_Menu, T_RegisterMenu);
    set.Put("Install_MenuHandler", &API_HostFunctionTable::Install_MenuHandler, T_InstallMenuHandler);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetMenuItemTextID.code, SetMenuItemText);
}
