#pragma once
// What the module's resources cannot say about its buttons and dialogs, for the help a script writer reads: what
// each sub-palette button takes (the selection it looks at, the clicks it asks for) and which objects of the
// project it replaces; what each list shows in its columns, its rows' order and what a click there does; and the
// label and meaning of the items that only show values the module writes into them, or whose place says less than
// they do. `--help-dialogs` and `--help-script` both read this one table beside the resources (the pop-ups' entries:
// script/PopUpGuide.hpp).
#include "DGDriver.hpp"

#include <cstdint>
#include <string>
#include <vector>

struct PaletteAction {
    int32_t palette;       // the sub-palette's dialog id
    int16_t item;          // its button
    const char* takes;     // what it looks at: the selection (element types, how many), the project, or nothing
    const char* clicks;    // the clicks it asks for and how many ("none")
    const char* replaces;  // the objects it removes and makes anew (their script names are then gone), or ""
};

struct ListGuide {
    int32_t dialog;
    int16_t item;
    const char* columns;  // what each column shows, left to right
    const char* click;    // what a click in a row does, by column
    const char* rows;     // what each row is and the order the rows come in
};

// An item a layout leaves without a text (the module writes it), or one whose text does not say what it does.
struct ItemGuide {
    int32_t dialog;
    int16_t item;
    const char* label;    // the text the module shows there, or "" when it only shows a value
    const char* meaning;  // what the item shows or does
};

// The action of button `item` of sub-palette `palette`; null when the table has none. The Norwegian and
// Austrian input palettes (32407, 32575) are the input palette with one more button at item 5.
const PaletteAction* FindPaletteAction(int32_t palette, int16_t item);
const ListGuide* FindListGuide(int32_t dialog, int16_t item);
const ItemGuide* FindItemGuide(int32_t dialog, int16_t item);

// What the field beside an icon holds, for the icons the module uses for one thing in every dialog (the layer,
// the pens, the material, the fill); null for another.
const char* ImageMeaning(int32_t image);

// The sub-palettes whose buttons the table covers, in the order the help lists them.
const std::vector<int32_t>& SubPaletteIds();

// For the log's line of a settings dialog as it closes: `; mode header "Default"` (the tool edited its defaults),
// "Creation" or "Editing 3 entities", as item 3 showed it; "" for another dialog.
std::string ModeHeaderNote(const DGDriver::LogRecord& record);
