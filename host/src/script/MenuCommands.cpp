// Script commands of the user's menu choices and of the notifications the host sends, with the checks of the
// menus and notifications the module registered.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

namespace {
const ModuleSession::Menu* LastMenu(StandinHost& host) {
    const auto& menus = host.Session().menus;
    return menus.empty() ? nullptr : &menus.back();
}
}  // namespace

void AddMenuCommands(ScriptLanguage& L) {
    L.Add(
        "menu <menu:int> <item:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            GSErrCode err = NoError;
            if (!r.Host().ChooseMenu(int16_t(a.Int("menu")), int16_t(a.Int("item")), &err)) {
                *m = "cannot choose that menu item";
                return false;
            }
            return true;
        },
        "choose item <item> (from 1) of the add-on's menu <menu>");
    L.Add(
        "notify project <event:int> [<param:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (!r.Host().SendProjectEvent(a.Int("event"), a.Has("param") ? a.Int("param") : 0)) {
                *m = "no project event handler";
                return false;
            }
            return true;
        },
        "deliver a project event to the module's project event handler");
    L.Add(
        "notify tool-change [<type:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_ToolBoxItem tool = {};
            tool.typeID = a.Has("type") ? a.Int("type") : 0;
            if (!r.Host().SendToolChange(tool)) {
                *m = "no tool change handler";
                return false;
            }
            return true;
        },
        "the user picks another tool");
    L.Add(
        "expect menu registered <menu:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession::Menu* menu = LastMenu(r.Host());
            if (menu == nullptr) {
                *m = "no menu is registered";
                return false;
            }
            return Compare("menu registered from resource", menu->menuResID, a.Int("menu"), m);
        },
        "the menu resource the module registered (the latest registration)");
    L.Add(
        "expect menu count <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("menus registered:", int64_t(r.Host().Session().menus.size()), a.Int("count"), m);
        },
        "the number of menus the module registered");
    L.Add(
        "expect menu text <index:int> <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession::Menu* menu = LastMenu(r.Host());
            const int32_t i = a.Int("index");
            if (menu == nullptr || i < 1 || size_t(i) > menu->texts.size()) {
                *m = "the registered menu has no line " + std::to_string(i);
                return false;
            }
            return CompareText("menu line " + std::to_string(i), menu->texts[size_t(i) - 1], a.Text("text"), m);
        },
        "line <index> of the registered menu resource");
    L.Add(
        "expect menu handlers <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("menu handlers installed:", int64_t(r.Host().Session().menuHandlers.size()), a.Int("count"),
                           m);
        },
        "the number of menu handlers the module installed");
    L.Add(
        "expect menu handler <menu:int> <state:installed|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool installed = r.Host().Session().menuHandlers.count(int16_t(a.Int("menu"))) != 0;
            *m = std::string("menu handler ") + (installed ? "installed" : "absent");
            return installed == (a.Text("state") == "installed");
        },
        "whether the module installed a handler for menu resource <menu>");
    L.Add(
        "expect menu item-text <menu:int> <item:int> <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const auto& texts = r.Host().Session().menuItemTexts;
            const auto it = texts.find({int16_t(a.Int("menu")), int16_t(a.Int("item"))});
            if (it == texts.end()) {
                *m = "the module set no text for that item";
                return false;
            }
            return CompareText("item text", it->second, a.Text("text"), m);
        },
        "the text the module set for a menu item ('SMIT')");
    L.Add(
        "expect notification <kind:project|new-element|observer|tool-change> <state:installed|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession& s = r.Host().Session();
            const std::string& k = a.Text("kind");
            const bool installed = k == "project" ? s.projectEventHandler != nullptr
                : k == "new-element"              ? s.newElementHandler != nullptr
                : k == "observer"                 ? s.elementObserver != nullptr
                                                  : s.toolChangeHandler != nullptr;
            *m = k + " handler " + (installed ? "installed" : "absent");
            return installed == (a.Text("state") == "installed");
        },
        "whether the module installed that notification handler");
    L.Add(
        "expect notification project-mask <mask:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("project event mask", r.Host().Session().projectEventMask, a.Int("mask"), m);
        },
        "the project events the module asked to hear of (their mask)");
    L.Add(
        "expect notification new-element-types <types:all|one>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool all = r.Host().Session().newElementAllTypes;
            *m = all ? "every element type" : "one element type";
            return all == (a.Text("types") == "all");
        },
        "whether the module hears of new elements of every type or of one");
}
