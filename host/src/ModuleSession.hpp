#pragma once
// What the loaded module has registered: its menus and their handlers, the notifications it catches and its
// modeless windows. Forgotten when the module is unloaded.
#include "APIDefs.hpp"
#include "Resources.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct ModuleSession {
    struct Menu {
        int16_t menuResID = 0;
        int16_t promptResID = 0;
        int32_t position = 0;
        int32_t flags = 0;
        std::vector<std::string> texts;  // lines of the menu resource, from 1
    };
    struct ModelessWindow {
        API_PaletteControlCallBackProc* callBack = nullptr;
        int32_t controlFlags = 0;
        API_Guid guid = APINULLGuid;
    };
    GSResModule resModule = InvalidResModule;
    std::vector<Menu> menus;
    std::map<int16_t, API_MenuCommandProc*> menuHandlers;
    std::map<std::pair<int16_t, int16_t>, std::string> menuItemTexts;  // set with 'SMIT'
    bool builtInLibrary = false;
    bool keepInMemory = false;
    API_ProjectEventHandlerProc* projectEventHandler = nullptr;
    int32_t projectEventMask = 0;
    API_ElementEventHandlerProc* newElementHandler = nullptr;
    bool newElementAllTypes = false;
    API_ElemTypeID newElementType = API_ZombieElemID;
    API_ElementEventHandlerProc* elementObserver = nullptr;
    API_ToolChangeHandlerProc* toolChangeHandler = nullptr;
    std::map<int32_t, ModelessWindow> modelessWindows;
    // The progress window ('IPWD' ... 'CPWD'): its latest texts and numbers, and how often it opened and closed.
    struct ProgressWindow {
        bool open = false;
        std::string title;
        int16_t phases = 0;
        std::string phaseText;
        int32_t maximum = 0;
        int32_t value = 0;
        int32_t opened = 0;
        int32_t closed = 0;
        // The user's break: after this many more values set ('SPRV'), 'CANC' answers cancelled; -1 never.
        int32_t breakAfter = -1;
        int32_t zooms = 0;  // 'ZOOM' requests
    };
    ProgressWindow progress;
};
