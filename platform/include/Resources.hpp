// The host's resource functions. A resource module holds resources keyed by (type, id); the module gets its
// own module handle from the host (ACAPI_GetOwnResModule).
#pragma once

#include "GSArray.hpp"
#include "UniString.hpp"

#include <cstdint>

// Opaque handle of an open resource module; 0 is no module.
using GSResModule = int32_t;
constexpr GSResModule InvalidResModule = 0;

// Resource type: four characters, the first in the high byte ('STRS' = RSMakeType("STRS")).
using GSResType = uint32_t;
constexpr GSResType RSMakeType(const char (&code)[5]) {
    return (static_cast<GSResType>(static_cast<unsigned char>(code[0])) << 24) |
        (static_cast<GSResType>(static_cast<unsigned char>(code[1])) << 16) |
        (static_cast<GSResType>(static_cast<unsigned char>(code[2])) << 8) |
        static_cast<GSResType>(static_cast<unsigned char>(code[3]));
}
constexpr GSResType RSType_STRS = RSMakeType("STRS");  // string tables
constexpr GSResType RSType_MENU = RSMakeType("MENU");  // menus: one entry per menu line, string-table layout
constexpr GSResType RSType_DLOG = RSMakeType("DLOG");  // dialog layouts
constexpr GSResType RSType_ICON = RSMakeType("ICON");  // icons
constexpr GSResType RSType_PICT = RSMakeType("PICT");  // images

// Entry `index` (from 1) of string table `resId`. False when the module, the table or the entry is missing;
// `out` is then left unchanged.
bool RSGetIndString(GS::UniString* out, int32_t resId, int32_t index, GSResModule module);
// The same for any resource in string-table layout (STRS, MENU).
bool RSGetIndStringOfType(GSResType type, GS::UniString* out, int32_t resId, int32_t index, GSResModule module);
// Highest index of a string-table-layout resource (entries may be sparse below it); -1 when missing.
int32_t RSGetIndStringCount(GSResType type, int32_t resId, GSResModule module);
// The table in the in-memory layout of the host's string resources: u32 little-endian byte length, then every
// entry from 1 to the highest index in UTF-8 with a NUL after each (a missing entry is an empty one).
bool RSGetStringTableData(GSResType type, int32_t resId, GSResModule module, GS::Array<char>* data);

bool RSResourceExists(GSResType type, int32_t resId, GSResModule module);

// Menu resource: its lines in index order (a missing index gives an empty line).
bool RSGetMenu(int32_t resId, GSResModule module, GS::Array<GS::UniString>* lines);

// Dialog layout resource.
enum class RSDialogItemKind : int32_t {
    Button,
    Static,
    Edit,
    IntEdit,
    RealEdit,
    List,
    PopUp,
    Check,
    Radio,
    User,
    Icon,
    Picture,
    Separator,
    LengthEdit,   // a real edit of a length: metres, shown in the host's length unit
    AngleEdit,    // a real edit of an angle, shown with a degree sign
    Slider,       // a whole number within its range
    UserControl,  // a host attribute chooser (pen, layer, line type ...), bound at run time
    TabControl,   // tab pages, each a layout of its own
    GroupBox,
    RichEdit  // multi-line text
};
const char* RSDialogItemKindName(RSDialogItemKind kind);
// The kinds that take a range, a text limit, a radio group.
bool RSDialogItemTakesRange(RSDialogItemKind kind);
bool RSDialogItemTakesLimit(RSDialogItemKind kind);

struct RSDialogItem {
    int16_t id = 0;
    RSDialogItemKind kind = RSDialogItemKind::Static;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    GS::UniString text;
    // Numeric edits and sliders: the values the user may give (the item's own unit).
    bool hasRange = false;
    double minValue = 0.0;
    double maxValue = 0.0;
    int32_t textLimit = 0;   // text edits: the most characters the user may type, 0 for no limit
    int16_t radioGroup = 0;  // radio buttons: their group, from 1
};

// One page of a tab control: its own items, numbered independently of the dialog's.
struct RSTabPage {
    int16_t tabItem = 0;  // the tab control item of the layout
    int16_t page = 0;     // from 1, in order
    GS::UniString title;
    GS::Array<RSDialogItem> items;  // in file order
};

struct RSDialogLayout {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    GS::UniString title;
    GS::Array<RSDialogItem> items;  // in file order
    GS::Array<RSTabPage> pages;     // in file order
};

bool RSGetDialogLayout(int32_t resId, GSResModule module, RSDialogLayout* layout);

// Icon and image resources: their one-line description; false when missing.
bool RSGetIcon(int32_t resId, GSResModule module, GS::UniString* description);
bool RSGetPicture(int32_t resId, GSResModule module, GS::UniString* description);
