#pragma once
// The sub-palettes the tool palette opens beside itself: a column of image buttons, one per tool. At most one is
// open at a time. Records live in ShellState (SubPalettes), in the order of SubPaletteIndex.
#include "shell/SubPaletteIndex.hpp"

#include <cstdint>

class QV_ToolsPlt;

struct SubPaletteLayout {
    int16_t resourceId;
    int16_t buttonCount;
    uint32_t registrationFlags;
};
const SubPaletteLayout& SubPaletteLayoutOf(int32_t index);
constexpr int32_t SubPaletteWidth = 49;
inline int32_t SubPaletteHeight(int16_t buttons) { return 50 * buttons - 1; }

// The palette they open beside (and its dialog id), disabled while a button's command runs, and what it does when a
// sub-palette closes (null: nothing).
void SetSubPaletteAnchor(QV_ToolsPlt& palette, int16_t paletteDialogId, void (*onClosed)());
// Opens that sub-palette beside the palette, closing any other, or closes it when it is the one shown.
void ToggleSubPalette(int32_t index);
void CloseAllSubPalettes();
// Moves every visible sub-palette beside the palette again.
void ReseatSubPalettes();
// True when that sub-palette is open and visible.
bool IsSubPaletteVisible(int32_t index);
// Sets the help index of every open sub-palette's buttons to the language index plus 1.
void SetSubPaletteHelpIndexes();

// The button's image base name ("Pal_Road" ...), "" when there is none.
const char* SubPaletteButtonImage(int32_t index, int16_t item);
// Runs the tool of that button of that sub-palette; a tool not built yet shows the "not available" alert.
void RunSubPaletteButton(int32_t index, int16_t item);
