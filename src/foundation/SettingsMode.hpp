#pragma once
// What a settings dialog is asked for, as its owner tells it and its mode header shows it.
#include <cstdint>

enum class SettingsMode : int16_t {
    ToolDefaults = 1,  // a tool's defaults
    NewElement = 2,    // the creation of an element
    EditSelected = 3,  // the editing of the selected elements
};
