#pragma once
// The buttons of the sub-palettes: each one's image and the command it runs.
#include <cstdint>

// The tool a button runs; null while the tool is not part of the module yet.
using ToolCommand = void (*)();

struct SubPaletteButton {
    const char* image;  // base name; the images are it plus ".jpg", "_Press.jpg" and "_Dis.jpg"
    ToolCommand command;
};

// The Street furniture button "Edit X-Y / Edit Z": its image follows the XYZ button state.
constexpr int16_t XYZButtonItem = 9;

// Button `item` (from 1) of sub-palette `index`; null when there is no such button.
const SubPaletteButton* FindSubPaletteButton(int32_t index, int16_t item);

// The one path of a button whose tool is not built: an information alert with the localised text.
void ShowToolNotAvailable();
