#include "script/ModuleGuide.hpp"

#include "TextFields.hpp"

#include <iterator>
#include <utility>

namespace {
constexpr int32_t kInput = 32401, kNorwegianInput = 32407, kAustrianInput = 32575, kEarthmoving = 32402,
                  kStreetFurniture = 32403, kParameters = 32404, kSection = 32405, kWorksheet = 32406;

// The replacement every change of a terrain's surface ends with.
#define CONTOURS "the terrain's contour-line object, when it has one"

const char* const kNone = "none";
const char* const kHelp = "opens the add-on's documentation; nothing in the project changes";

const PaletteAction kActions[] = {
    {kInput, 1, "nothing selected; a file dialog asks for the .txt file, then dialog 32568 and the results 32569",
     kNone, ""},
    {kInput, 2, "nothing selected; a file dialog asks for the .dxf file, then the layers 32570 and the results 32569",
     kNone, ""},
    {kInput, 3,
     "nothing selected; dialog 32530 first chooses what the shapes become (item 4 terrain, item 5 GIS objects), "
     "then a file dialog asks for the .shp file (with its .dbf beside it), then the "
     "terrain's results 32572, or the GIS objects' results 32571, the object 32533 and its name 32534",
     kNone, ""},
    {kInput, 4,
     "the selection: exactly one host mesh, which becomes the terrain (dialog 32527 asks first for a mesh the "
     "add-on did not make: item 1 \"Convert\" goes on); does nothing while the project has a terrain or with "
     "another selection",
     kNone, ""},
    {kInput, 5,
     "the selection: terrain points (hotspots) edit them in the point dialog; nothing selected: places new points",
     "with nothing selected: one click per point, asked again after each point until `click cancel`", ""},
    {kInput, 6,
     "the selection: constraint lines (lines) edit them; nothing selected: draws new ones between terrain points",
     "with nothing selected: a first click on a terrain point, then one click per further point of the chain; the "
     "chain ends on `click cancel` or where it closes",
     ""},
    {kInput, 7,
     "the project (refused while it has a terrain); the selection: one hatch, the outline of an earlier run, is "
     "edited, one plain hatch becomes the outline; two or more hatches are refused",
     "with no hatch selected: a first click, then the outline's further nodes (at least two more), ended by `click "
     "done` or by a click on the first node",
     "the project's earlier outline and the hatch it starts from (used up); an edited outline is made anew"},
    {kInput, 8,
     "the project: its terrain is rebuilt; else its outline gives the new terrain; with neither only the terrain "
     "settings (the defaults) are edited. The selection is not looked at",
     kNone, "with a terrain: " CONTOURS " (the terrain itself is changed in place)"},
    {kInput, 9,
     "the project: with a terrain, its contour lines are made; without: the selection (terrain points and "
     "constraint lines with splines: their heights; splines alone: digitized contours); else the settings",
     kNone, CONTOURS},
    {kInput, 10,
     "the project: its slope-analysis objects, selected or not, are edited; else one is made on its terrains; with "
     "neither only the settings are edited",
     kNone, ""},
    {kInput, 11,
     "the project's one terrain (refused with none or more); a file dialog asks for the file: a name that does not "
     "end in .txt (in any case) is refused (\"The name of the source file must end with the extension .TXT\") and "
     "asked for again, up to 20 times; then the settings 32567 (the coordinates' order, what is exported)",
     kNone, ""},
    {kInput, 12, kHelp, kNone, ""},
    {kNorwegianInput, 5,
     "nothing selected; dialog 32538 first chooses the step (item 8 terrain survey, item 9 objects, item 7 "
     "worksheet), then a file dialog asks for the .sos file(s); then the survey's type filter 32543, its heights "
     "32544 and results 32540; the objects' types 32539, results 32540 and curve segmentation 32744; the "
     "worksheet's types 32542 and results 32540",
     kNone, ""},
    {kAustrianInput, 5,
     "nothing selected; a file dialog asks for the .asc grid, then dialog 32577 and the results 32569", kNone, ""},
    {kEarthmoving, 1,
     "nothing; stores the host's polyline defaults (one field set) and switches the host's toolbox to the polyline "
     "tool: the user then draws the polygon with the host's tool",
     kNone, ""},
    {kEarthmoving, 2, "nothing; switches the host's toolbox to the hatch tool", kNone, ""},
    {kEarthmoving, 3,
     "the selection: plateau objects are edited; with a terrain: one hatch or several hatches give new plateaus; "
     "no terrain or no hatch: only the plateau defaults are edited",
     "a new plateau that its settings make sloped: two clicks, a line from the slope's origin along its direction",
     CONTOURS},
    {kEarthmoving, 4,
     "the selection: road objects are edited; with a terrain: exactly one hatch (and no polyline) or exactly one "
     "polyline (and no hatch) gives a new road; any other selection, or no terrain: only the road defaults",
     "on a hatch: two clicks, the first side and the last side of the hatch (not neighbours); along a polyline: none",
     CONTOURS},
    {kEarthmoving, 5,
     "the selection: objects of a road with a section are edited; else exactly one selected road object gets a "
     "longitudinal section; else only the section defaults are edited",
     kNone, CONTOURS},
    {kEarthmoving, 6,
     "the selection: bridge objects are edited; with a terrain: exactly one selected polyline of two vertices "
     "(one straight segment) gives a new bridge; else only the bridge defaults are edited",
     kNone, ""},
    {kEarthmoving, 7,
     "the selection: sidewalk objects are edited; with a terrain: exactly one hatch gives a new sidewalk; else "
     "only the sidewalk defaults are edited",
     "on a hatch: two clicks, the first side and the last side of the hatch (not neighbours)", CONTOURS},
    {kEarthmoving, 8,
     "the selection: railway objects are edited; with a terrain: exactly one hatch (and no polyline) or exactly "
     "one polyline (and no hatch) gives a new railway; any other selection, or no terrain: only the railway defaults",
     "on a hatch: two clicks, the first side and the last side of the hatch (not neighbours); along a polyline: none",
     CONTOURS},
    {kEarthmoving, 9, kHelp, kNone, ""},
    {kStreetFurniture, 1,
     "nothing; stores the host's polyline defaults (one field set) and switches the host's toolbox to the polyline "
     "tool",
     kNone, ""},
    {kStreetFurniture, 2, "nothing; switches the host's toolbox to the hatch tool", kNone, ""},
    {kStreetFurniture, 3,
     "the selection: trees (placed objects of the tree part) are edited; nothing selected: new trees, on the "
     "terrain when there is one",
     "with nothing selected: one click per tree until `click cancel`", ""},
    {kStreetFurniture, 4,
     "the selection: basin objects are edited; with a terrain: a new basin on it (the selection is not looked at); "
     "no terrain: only the basin defaults",
     "for a new basin: one click inside the terrain's outline (asked again outside it); the basin's level is the "
     "terrain's height there",
     ""},
    {kStreetFurniture, 5,
     "the selection: building objects are edited; with a terrain: one or more hatches give new buildings; else only "
     "the building settings",
     kNone, ""},
    {kStreetFurniture, 6,
     "the selection: wall objects are edited; with a terrain: exactly one polyline gives a new wall; else only the "
     "wall settings",
     kNone, ""},
    {kStreetFurniture, 7,
     "the selection: retaining walls are edited; with a terrain: one polyline alone, or with one road or one "
     "plateau, gives a new retaining wall; one road or one plateau alone removes its retaining wall; else the "
     "defaults",
     "a new one: one click on the side it faces; a removal: one click on the road or plateau", CONTOURS},
    {kStreetFurniture, 8,
     "the selection: coloured-area objects are edited; with a terrain: the selected hatches give a new coloured "
     "area; else only the settings",
     kNone, CONTOURS},
    {kStreetFurniture, 9,
     "the project: every building, sidewalk, plateau, road and railway (selected or not) switches between editing "
     "in plan (X-Y) and in height (Z)",
     kNone, ""},
    {kStreetFurniture, 10, kHelp, kNone, ""},
    {kParameters, 1,
     "the project's one terrain (refused with none or more): the volumes of cut and fill of every feature on it "
     "(the summary prints them)",
     kNone, CONTOURS " (the calculation writes its volumes there)"},
    {kParameters, 2,
     "the selection: placed objects and lamps are set onto the terrain; nothing selected: a new gravity object",
     "with nothing selected: one click per object, each on the terrain, until `click cancel`", ""},
    {kParameters, 3,
     "the selection: the terrain alone (exactly one mesh of the add-on, nothing else selected) gets spot heights, "
     "the spot-height settings first (its map check on: a grid); selected spot heights are edited; nothing "
     "selected: point markers, placed by clicks; any other selection is refused (\"The conditions do not exist to "
     "apply the command!!!\")",
     "single spot heights: one click each inside the terrain until `click cancel`; a grid: one click inside the "
     "terrain",
     ""},
    {kParameters, 4, "the project's one terrain and exactly one selected polyline, the camera path (refused otherwise)",
     kNone, ""},
    {kParameters, 5, "nothing: the add-on settings dialog (32557)", kNone, ""},
    {kParameters, 6, kHelp, kNone, ""},
    {kSection, 1, "as the Earthmoving palette's \"Road longitudinal section\" (item 5)", kNone, CONTOURS},
    {kSection, 2, kHelp, kNone, ""},
    {kWorksheet, 1, "the worksheet in front (one coordinate locator each)",
     "one click where the coordinate locator goes", ""},
    {kWorksheet, 2, "the worksheet in front: a file dialog asks for the .sos file, then the worksheet import dialog",
     kNone, ""},
    {kWorksheet, 3, kHelp, kNone, ""},
};
#undef CONTOURS

const ListGuide kLists[] = {
    {32570, 10,
     "x 1-31: take the layer's points (ticked, crossed); x 32-62: make constraints of its lines (only with its "
     "points taken); x 63-230: the layer's name",
     "`dialog 32570 click 10 row <n> <x>`: x in 1-31 ticks or clears the layer's points, in 32-62 its constraints; "
     "elsewhere "
     "nothing. The list keeps no selection",
     "one row per layer of the file, in the order the file first names them"},
    {32510, 13, "as list 10 of 32570", "as list 10 of 32570", "as list 10 of 32570"},
    {32568, 6, "the first lines of the file split into its columns", "a click selects nothing (the row is deselected)",
     "the file's first lines, in the file's order"},
    {32500, 7, "the first lines of the file split into its columns", "a click selects nothing (the row is deselected)",
     "the file's first lines, in the file's order"},
    {32577, 6, "x 1-130: x, 131-260: y, 261-400: z of the first grid cells", "a click selects nothing",
     "the grid's first rows from the top of the file, one row each, with the first cell of each"},
    {32533, 7, "x 1-20: taken (ticked, crossed), 71-190: the field's name, 201-230: its type",
     "a click in x 1-20 ticks or clears the field", "one row per field of the .dbf table, in the table's order"},
    {32533, 11, "x 5-240: the parameter of the chosen object, 241-280: its type (red: no field fits)", "nothing",
     "one row per parameter of the chosen GIS object, in the order of its library part"},
    {32533, 17, "x 5-220: the parameter, 221-260: its type, 261-410: the field tied to it (\"----\": none)",
     "a click selects the row and puts the pop-up of its type (13 to 15) on column 3",
     "one row per parameter of the chosen GIS object, in the order of its library part"},
    {32539, 17,
     "one row per object type: x 6-26 import (ticked, crossed), 37-177 the type's name, 188-208 own pen, 214-236 "
     "pen colour, 237-269 pen number, 270-290 pen chooser, 296-316 own value, 322-382 value",
     "`dialog 32539 click 17 row <n> <x>`: x in 6-26 ticks or clears the type's import; of an imported type, in "
     "188-208 its own pen, in 296-316 its own value; the row is selected and the row editors 6 to 9 move onto its "
     "columns",
     "one row per object type found in the file, sorted by the type's name"},
    {32542, 17, "as list 17 of 32539", "as list 17 of 32539", "as list 17 of 32539"},
    {32543, 17,
     "one row per object type: x 6-26 import (ticked, crossed), 37-57 its lines as constraints, 68-208 the type's "
     "name, 219-239 own pen, 245-267 pen colour, 268-300 pen number, 301-321 pen chooser, 332-352 own line type, "
     "358-390 line type, 391-411 line-type chooser, 417-437 own value, 443-503 value",
     "`dialog 32543 click 17 row <n> <x>`: x in 6-26 ticks or clears the type's import; of an imported type, in "
     "37-57 its constraints, 219-239 its own pen, 332-352 its own line type, 417-437 its own value; the row is "
     "selected and the row editors move onto its columns",
     "one row per object type found in the file, sorted by the type's name"},
    {32562, 35,
     "row number (\"*\" above the last shared row), material, fill, three pens, value, x 574-594: the row's marker",
     "a selected row gets the row editors 26 to 34 on its columns; a click in x 574-594 ticks or clears its marker",
     "one row per area of the coloured area, in the order of its table (row 1 the first)"},
    {32511, 36, "as list 35 of 32562", "as list 35 of 32562 (row editors 27 to 35)", "as list 35 of 32562"},
    {32734, 3, "one row per language (its flag): Italian, English, French, German, Spanish, Japanese, Russian",
     "choosing a row switches the dialog's texts to that language; OK keeps it",
     "Italian, English, French, German, Spanish, Japanese, Russian: the module's languages in the order of its "
     "language index"},
};

// Item 3 of a settings dialog's first layout: what the tool opened it for, the only word of it in the dialog.
const char* const kModeHeader =
    "the mode header: \"Default\" when the tool's defaults are edited (nothing selected that it takes), "
    "\"Creation\" for a new element, \"Editing <n> entities\" for the selected ones; `expect dialog <id> item 3 "
    "text ...` checks which";

// The items every SOSI type-list dialog shares (the objects', the worksheet's and the survey's).
#define SOSI_TYPE_ITEMS(d)                                                                                             \
    {d, 3, "(picture)", "the dialog's picture"}, {d, 5, "(flag)", "the language's flag"},                              \
        {d, 6, "(pen chooser)", "the row editor: the selected imported row's pen, on its pen chooser column"},         \
        {d, 7, "(pen number)", "the row editor: the selected imported row's pen number"},                              \
        {d, 9, "(value)", "the row editor: the selected imported row's value"},                                        \
        {d, 10, "Select only the OBJEKTTYPE you want to import:", "heading of the list"},                              \
        {d, 11, "", "a click ticks or clears every type's import (as item 12)"},                                       \
        {d, 12, "Import", "head of the import column: a click ticks or clears every type's import"},                   \
        {d, 13, "", "a click ticks or clears every imported type's own pen (as item 14)"},                             \
        {d, 14, "Own pen", "head of the own pen column: ticks or clears every imported type's own pen"},               \
        {d, 15, "", "a click ticks or clears every imported type's own value (as item 16)"},                           \
        {d, 16, "Own value", "head of the own value column: ticks or clears every imported type's own value"},         \
        {d, 18, "Filter Distance and Settings:", "heading of items 19 to 25"},                                         \
        {d, 20, "(filter distance)", "points closer than this are taken as one"},                                      \
        {d, 22, "(line filter distance)", "a line's vertices closer than this are thinned out"},                       \
        {d, 24, "(default pen)", "the pen of every imported type without its own pen"}, {                              \
        d, 25, "(default pen chooser)", "the same pen, chosen"                                                         \
    }
#define SPOT_SYMBOLS(d)                                                                                                \
    {d, 7, "(symbol 1)", "the spot height's symbol: the first, image 32617 (radio group 1)"},                          \
        {d, 8, "(symbol 2)", "the second symbol, image 32616"}, {d, 9, "(symbol 3)", "the third, image 32615"},        \
        {d, 10, "(symbol 4)", "the fourth, image 32614"}, {d, 11, "(symbol 5)", "the fifth, image 32613"},             \
        {d, 12, "(symbol 6)", "the sixth, image 32612"}, {                                                             \
        d, 13, "(symbol 7)", "the seventh, image 32611"                                                                \
    }

const ItemGuide kItems[] = {
    {32545, 3, "", kModeHeader},
    {32546, 3, "", kModeHeader},
    {32547, 3, "", kModeHeader},
    {32548, 3, "", kModeHeader},
    {32549, 3, "", kModeHeader},
    {32550, 3, "", kModeHeader},
    {32551, 3, "", kModeHeader},
    {32552, 3, "", kModeHeader},
    {32553, 3, "", kModeHeader},
    {32554, 3, "", kModeHeader},
    {32555, 3, "", kModeHeader},
    {32556, 3, "", kModeHeader},
    {32557, 3, "", kModeHeader},
    {32558, 3, "", kModeHeader},
    {32559, 3, "", kModeHeader},
    {32560, 3, "", kModeHeader},
    {32561, 3, "", kModeHeader},
    {32562, 3, "", kModeHeader},
    {32564, 3, "", kModeHeader},
    {32566, 3, "", kModeHeader},
    {32579, 3, "", kModeHeader},
    {32580, 3, "", kModeHeader},

    // DXF import: the column heads above the layer list.
    {32570, 4, "", "head of the layer list's first column: a click ticks every layer's points, the next clears them"},
    {32570, 5, "", "the same as item 4 (its second picture)"},
    {32570, 6, "", "head of the second column: a click ticks every layer's constraints, the next clears them"},
    {32570, 7, "", "the same as item 6"},
    {32570, 9, "", "a click toggles check box 8 (group the imported points)"},
    {32510, 7, "", "as item 4 of 32570: ticks or clears every layer's points"},
    {32510, 8, "", "as item 7"},
    {32510, 9, "", "as item 6 of 32570: ticks or clears every layer's constraints"},
    {32510, 10, "", "as item 9"},
    // Import results.
    {32569, 5, "read:", "label of item 6"},
    {32569, 6, "", "the number of points read from the file (cut to 6 characters)"},
    {32569, 7, "imported:", "label of item 8"},
    {32569, 8, "", "the number of points imported"},
    {32569, 9, "skipped:", "label of item 10"},
    {32569, 10, "", "points skipped: read minus imported"},
    {32569, 11,
     "Very complex terrain! We suggest you to cancel the import and enable the filtering and/or increase the filter "
     "value.",
     "shown instead of the pictures 12 and 13 when more than 5000 points are imported"},
    {32569, 20, "x min:", "the position: the points' x min less the offset"},
    {32569, 22, "y min:", "the position: the points' y min less the offset"},
    {32569, 24, "x max:", "the points' x max less the offset (shown only, disabled)"},
    {32569, 26, "y max:", "the points' y max less the offset (shown only, disabled)"},
    {32569, 29, "x min:", "the import area (check box 18 on), in the place of item 20"},
    {32569, 30, "y min:", "the import area, in the place of item 22"},
    {32569, 31, "x max:", "the import area, in the place of item 24"},
    {32569, 32, "y max:", "the import area, in the place of item 26"},
    {32501, 8, "", "the number of points read"},
    {32501, 10, "", "the number of points imported"},
    {32501, 12, "", "points skipped: read minus imported"},
    {32501, 13, "Very complex terrain! ...", "shown when more than 5000 points are imported"},
    // The SOSI type lists (32539 objects, 32542 worksheet, 32543 terrain survey): column heads and row editors.
    SOSI_TYPE_ITEMS(32539),
    SOSI_TYPE_ITEMS(32542),
    SOSI_TYPE_ITEMS(32543),
    {32543, 12, "Import",
     "head of the import column (\"Imp\" in the layout): a click ticks or clears every type's import"},
    {32543, 8, "(line type)", "the row editor: the selected imported row's line type"},
    {32543, 28, "", "a click ticks or clears every imported type's own line type (as item 29)"},
    {32543, 29, "", "head of the own line type column: ticks or clears every imported type's own line type"},
    {32543, 31, "", "a click toggles check box 30 (group what is imported)"},
    {32543, 32, "(default line type)", "the line type of every imported type without its own"},
    {32543, 33, "Options:", "heading of check boxes 34 and 35"},
    // Spot heights: the symbol's radio buttons show its images.
    SPOT_SYMBOLS(32551),
    {32551, 14, "(symbol 8)", "the spot height's symbol: the eighth, image 32505 (radio group 1)"},
    SPOT_SYMBOLS(32518),
    {32551, 34, "(italic)", "the text is written in italics"},
    {32518, 30, "(italic)", "the text is written in italics"},
    // The plateau's level.
    {32553, 5, "Plateau", "heading of the plateau's level (item 8) and number of slope segments (item 14)"},
    {32553, 8, "(level)", "the plateau's level: the altitude of its flat top in metres (`dialog 32553 set 8 300`)"},
    {32553, 9, "sloping plateau",
     "on: the plateau slopes at the angle of item 11, asking two clicks for its direction"},
    {32553, 11, "(inclination)", "the sloping plateau's inclination, as an angle"},
    {32553, 14, "(arc resolution)", "how many segments a curved edge is drawn with"},
    {32553, 18, "(slope angle cut)", "the side slopes' angle in cut, degrees (under \"Slope angles\")"},
    {32553, 20, "(slope angle fill)", "the side slopes' angle in fill, degrees"},
    {32553, 24, "(slope extension cut)", "how far the side slopes reach in cut (under \"Slope extension\")"},
    {32553, 26, "(slope extension fill)", "how far the side slopes reach in fill"},
    {32553, 30, "(top material)", "the material of the plateau's top"},
    {32553, 31, "(cut slope material)", "the material of the cut slopes"},
    {32553, 32, "(fill slope material)", "the material of the fill slopes"},
    {32553, 41, "(layer)", "the plateau's layer"},
    // The plateau's second layout, its fields beside the pictures the module sets.
    {32505, 8, "(level)", "the plateau's level: the altitude of its flat top in metres"},
    {32505, 11, "(inclination)", "the sloping plateau's inclination, as an angle"},
    {32505, 13, "(slope direction)", "the direction the sloping plateau falls in, as an angle"},
    {32505, 16, "(slope angle cut)", "the side slopes' angle in cut, degrees"},
    {32505, 18, "(slope angle fill)", "the side slopes' angle in fill, degrees"},
    {32505, 21, "(slope extension cut)", "how far the side slopes reach in cut"},
    {32505, 23, "(slope extension fill)", "how far the side slopes reach in fill"},
    {32505, 26, "(arc resolution)", "how many segments a curved edge is drawn with"},
    {32505, 28, "(top material)", "the material of the plateau's top"},
    {32505, 29, "(cut slope material)", "the material of the cut slopes"},
    {32505, 30, "(fill slope material)", "the material of the fill slopes"},
    {32505, 39, "(3D pen)", "the plateau's pen in 3D; item 40 its chooser"},
    {32505, 53, "(layer)", "the plateau's layer"},
    // The sidewalk, both layouts: fields beside the pictures the module sets.
    {32552, 8, "(thickness)", "the sidewalk's thickness, metres"},
    {32552, 10, "(resolution)", "how many segments a curve of the sidewalk is cut into"},
    {32552, 12, "(top material)", "the material of the sidewalk's top"},
    {32552, 14, "(side material)", "the material of both side slopes"},
    {32552, 18, "(2D pen)", "the sidewalk's pen in the plan; item 19 its chooser"},
    {32552, 21, "(3D pen)", "the sidewalk's pen in 3D; item 22 its chooser"},
    {32552, 25, "(layer)", "the sidewalk's layer"},
    {32515, 8, "(width)", "the sidewalk's width, metres (shown only while it can be set)"},
    {32515, 10, "(thickness)", "the sidewalk's thickness, metres"},
    {32515, 13, "(resolution)", "how many segments a curve of the sidewalk is cut into"},
    {32515, 15, "(top material)", "the material of the sidewalk's top"},
    {32515, 16, "(cut side material)", "the material of the cut side"},
    {32515, 17, "(fill side material)", "the material of the fill side"},
    {32515, 23, "(2D pen)", "the sidewalk's pen in the plan; item 24 its chooser"},
    {32515, 26, "(3D pen)", "the sidewalk's pen in 3D; item 27 its chooser"},
    {32515, 33, "(layer)", "the sidewalk's layer"},
    // The outline: the search corridor.
    {32546, 5, "Search Type", "group of radios 7 and 8"},
    {32546, 9, "Search corridor settings", "group of items 12 and 14"},
    {32546, 12, "(Search corridor settings: width)",
     "the search corridor: the module's estimate (the diagonal of the terrain points' box / 25, or 2 m) comes in; "
     "half the value given is the distance from the clicked path to each side within which points are taken"},
    {32546, 14, "(Search corridor settings: angle)",
     "degrees: a point that turns the outline by more than half of it is skipped"},
    {32546, 15, "Outline Showing", "group of the pen and the layer"},
    {32502, 11, "(Search corridor settings: width)",
     "as item 12 of 32546: the corridor, half of it on each side of the path"},
    {32502, 13, "(Search corridor settings: angle)", "as item 14 of 32546"},
    // The mesh conversion's question, written by the module line by line.
    {32527, 5, "The selected mesh has not been generated by Lodravix", "first line of the question"},
    {32527, 6, "to represent a terrain.", "second line"},
    {32527, 7, "You can convert this mesh into an Lodravix ", "third line"},
    {32527, 8, "mesh enabling all the commands and functions ", "fourth line"},
    {32527, 9, "to be used.", "fifth line"},
    {32527, 10, "Convert this mesh into Lodravix format?", "the question: item 1 converts, item 2 stops"},
    // Slope analysis: the interval bounds beside the edits.
    {32548, 7, "", "the lower bound of slope interval 2, in %, as edit 19 holds it"},
    {32548, 8, "", "the lower bound of interval 3 (edit 20)"},
    {32548, 9, "", "the lower bound of interval 4 (edit 21)"},
    {32548, 10, "", "the lower bound of interval 5 (edit 22)"},
    {32548, 11, "", "the lower bound of interval 6 (edit 23)"},
    // The SOSI import's results.
    {32540, 8, "", "the number of points read"},
    {32540, 10, "", "the number of points imported"},
    {32540, 12, "", "points skipped: read minus imported"},
    {32544, 8, "", "the number of points read"},
    {32544, 10, "", "the number of points imported"},
    {32544, 12, "", "points skipped: read minus imported"},
    // Road and railway: the cut angles under "sx:" (left) and beside it, the fill angles under them, each side.
    {32554, 15, "(left cut angle)", "the left side slope's angle in cut, degrees"},
    {32554, 17, "(right cut angle)", "the right side slope's angle in cut, degrees"},
    {32580, 19, "(left cut angle)", "the left side slope's angle in cut, degrees"},
    {32580, 21, "(right cut angle)", "the right side slope's angle in cut, degrees"},
    {32554, 18, "(left fill angle)", "the left side slope's angle in fill"},
    {32554, 20, "(right fill angle)", "the right side slope's angle in fill"},
    {32580, 22, "(left fill angle)", "the left side slope's angle in fill"},
    {32580, 24, "(right fill angle)", "the right side slope's angle in fill"},
    // Contour lines: their altitudes, interval, line type, pens and layer, both layouts.
    {32549, 14, "(Equidistance: the contour interval)", "the height between two contour lines, metres"},
    {32549, 15, "(line type)", "the contour lines' line type"},
    {32549, 18, "(pen chooser)", "the contour lines' pen, as item 17"},
    {32549, 20, "(2D view)", "the contour lines shown in the plan"},
    {32549, 22, "(3D view)", "the contour lines shown in 3D"},
    {32549, 29, "(pen of the second class)", "the pen of every n-th contour line (n: item 26)"},
    {32549, 30, "(pen chooser of the second class)", "the same pen, as item 29"},
    {32549, 32, "(second class on)", "every n-th contour line (n: item 26) drawn with the pen of item 29"},
    {32549, 35, "(layer)", "the contour lines' layer"},
    {32506, 12, "(Equidistance: the contour interval)", "the height between two contour lines, metres"},
    {32506, 15, "(second class on)", "every n-th contour line (n: item 20) drawn with the pen of item 17"},
    {32506, 18, "(pen chooser of the second class)", "the same pen, as item 17"},
    {32506, 24, "(view switch)", "the contour lines shown in the plan"},
    {32506, 26, "(view switch)", "the third view switch of the contour lines"},
    {32506, 28, "(view switch)", "the contour lines shown in 3D"},
    {32506, 31, "(pen chooser)", "the contour lines' pen, as item 30"},
    {32506, 32, "(line type)", "the contour lines' line type"},
    {32506, 35, "(layer)", "the contour lines' layer"},
    // The road's materials, pen and layer; the building's and the bridge's layer.
    {32554, 8, "(road width)", "the width of a road made from a selected object, metres (disabled otherwise)"},
    {32580, 8, "(width)", "the width of a railway made from a selected object, metres"},
    {32580, 28, "(cut slope extension)", "how far the cut slopes reach, metres"},
    {32580, 30, "(fill slope extension)", "how far the fill slopes reach, metres"},
    {32580, 43, "(2D pen)", "the pen of the railway in the plan, while check box 41 is on; item 44 its chooser"},
    {32580, 34, "(rail material)", "the material of the rails"},
    {32580, 35, "(tie material)", "the material of the ties"},
    {32580, 36, "(bed material)", "the material of the top of the bed"},
    {32580, 37, "(cut slope material)", "the material of the cut slopes"},
    {32580, 38, "(fill slope material)", "the material of the fill slopes"},
    {32580, 47, "(layer)", "the railway's layer"},
    {32554, 11, "(resolution)", "how many segments a curve of the road is cut into"},
    {32554, 24, "(cut slope extension)", "how far the cut slopes reach, metres"},
    {32554, 26, "(fill slope extension)", "how far the fill slopes reach, metres"},
    {32570, 8, "(group the imported points)", "the imported points are grouped"},
    {32554, 30, "(road surface material)", "the material of the road's top"},
    {32554, 31, "(cut slope material)", "the material of the cut slopes"},
    {32554, 32, "(fill slope material)", "the material of the fill slopes"},
    {32554, 41, "(layer)", "the road's layer"},
    {32561, 33, "(layer)", "the buildings' layer"},
    {32579, 63, "(layer)", "the bridge's layer"},
    {32570, 35, "(constraint line type)", "the line type of the constraint lines made of the layers' lines"},
    // The bridge's railway: the track's measures beside their images.
    {32579, 58, "(distance between ties)", "the distance between the track's ties, metres"},
    {32579, 60, "(track gauge)", "the track's gauge, metres"},
    // The offset a coordinate locator gives the SOSI import, and the table field a shapefile's values come from.
    {32540, 39, "(Coordinate Locator object)", "the locator whose offset is used while check box 38 is ticked"},
    {32544, 39, "(Coordinate Locator object)", "the locator whose offset is used while check box 38 is ticked"},
    {32571, 11, "(table field)", "the .dbf field the dimension comes from while check box 10 is ticked"},
    {32572, 11, "(table field)", "the .dbf field the heights come from while check box 10 is ticked"},
    // The 2D symbol's text: its font and size beside the custom text.
    {32526, 27, "(font)", "the 2D symbol text's font"},
    {32526, 29, "(text size)", "the 2D symbol text's size"},
    {32565, 30, "(font)", "the 2D symbol text's font"},
    {32565, 32, "(text size)", "the 2D symbol text's size"},
    {32556, 27, "(font)", "the text's font"},
    {32556, 29, "(text size)", "the text's size"},
    // The texts the module writes (in English) where the layouts leave them blank: the labels of what lies beside.
    {32410, 1, "Code:", ""},
    {32410, 5, "Project zero", ""},
    {32410, 12, "Done", ""},
    {32410, 13, "Comment:", ""},
    {32504, 6, "Road", ""},
    {32504, 9, "Slope angles", ""},
    {32504, 10, "left:", ""},
    {32504, 15, "right:", ""},
    {32504, 20, "Slope extension", ""},
    {32504, 25, "3D model", ""},
    {32504, 33, "2D/3D view", ""},
    {32504, 42, "Obstacles", ""},
    {32504, 49, "Listing attributes", ""},
    {32518, 6, "View", ""},
    {32518, 24, "Text", ""},
    {32518, 29, "mm", ""},
    {32518, 31, "altitude", ""},
    {32518, 32, "code", ""},
    {32518, 33, "comment", ""},
    {32518, 34, "altitude, code", ""},
    {32518, 35, "altitude, comment", ""},
    {32518, 36, "code, comment", ""},
    {32518, 37, "altitude, code, comment", ""},
    {32518, 38, "Map with spot heights", ""},
    {32518, 39, "map with spot heights", ""},
    {32521, 7, "By clicking on the \"Capture settings\" button, you store", ""},
    {32521, 8, "the current configuration of the Lodravix dialog settings.", ""},
    {32521, 9, "These will then be used whenever you restart Lodravix.", ""},
    {32521, 11, "By clicking on the \"Restore settings\" button, you restore", ""},
    {32521, 12, "the default settings memorised previously. All modifications", ""},
    {32521, 13, "made in the dialog boxes will be replaced by these values.", ""},
    {32550, 5, "Wall", ""},
    {32550, 16, "3D view", ""},
    {32550, 22, "2D view", ""},
    {32550, 32, "ID:", ""},
    {32551, 5, "View", ""},
    {32551, 25, "View", ""},
    {32551, 27, "Text", ""},
    {32551, 33, "mm", ""},
    {32552, 5, "Sidewalk", ""},
    {32552, 15, "2D/3D view", ""},
    {32553, 15, "Slope angles", ""},
    {32553, 21, "Slope extension", ""},
    {32553, 27, "2D/3D view", ""},
    {32554, 5, "Highway", ""},
    {32554, 12, "Slope angles", ""},
    {32554, 14, "sx:", ""},
    {32554, 21, "Slope extension", ""},
    {32554, 27, "2D/3D view", ""},
    {32555, 7, "Project zero", ""},
    {32555, 9, "Code:", ""},
    {32555, 12, "Comment:", ""},
    {32557, 5, "By clicking on the \"Capture settings\" button, you store", ""},
    {32557, 6, "the current configuration of the Lodravix dialog settings.", ""},
    {32557, 7, "These will then be used whenever you restart Lodravix.", ""},
    {32557, 9, "By clicking on the \"Restore settings\" button, you restore", ""},
    {32557, 10, "the default settings memorised previously. All modifications", ""},
    {32557, 11, "made in the dialog boxes will be replaced by these values.", ""},
    {32559, 5, "Basin", ""},
    {32559, 12, "2D view", ""},
    {32559, 31, "ID:", ""},
    {32560, 5, "Wall", ""},
    {32560, 18, "3D view", ""},
    {32560, 24, "2D view", ""},
    {32560, 34, "ID:", ""},
    {32561, 5, "Buildings", ""},
    {32561, 13, "Sloped Roof", ""},
    {32561, 21, "2D/3D view", ""},
    {32561, 34, "ID:", ""},
    {32562, 17, "ID:", ""},
    {32511, 16, "ID:", ""},
    {32579, 5, "Bridge", ""},
    {32579, 32, "3D view", ""},
    {32579, 44, "2D view", ""},
    {32579, 64, "ID:", ""},
    {32580, 5, "Railway", ""},
    {32580, 16, "Slope angles", ""},
    {32580, 18, "sx:", ""},
    {32580, 25, "Slope extension", ""},
    {32580, 31, "2D/3D view", ""},
    {32580, 48, "ID:", ""},
    // The second layouts' labels the module writes, which put words beside the fields on their lines.
    {32508, 8, "Project zero", ""},
    {32508, 10, "Code:", ""},
    {32508, 13, "Comment:", ""},
    {32512, 33, "Listing attributes", ""},
    {32512, 34, "ID:", ""},
    {32513, 37, "ID:", ""},
    {32516, 27, "Listing attributes", ""},
    {32516, 28, "ID:", ""},
    // The plateau's second layout: the switch to a sloping top.
    {32505, 9, "sloping plateau", "on: the plateau slopes at the angle of item 11, in the direction of item 13"},
    // The wall's side of the line it is drawn along: radios showing images, no words.
    {32550, 11, "(side \"left\", image 32587)", "the wall stands left of its line"},
    {32550, 12, "(side \"middle\", image 32588)", "the wall stands centred on its line"},
    {32550, 13, "(side \"right\", image 32589)", "the wall stands right of its line"},
    {32512, 11, "(side \"left\", image 32587)", "the wall stands left of its line"},
    {32512, 12, "(side \"middle\", image 32588)", "the wall stands centred on its line"},
    {32512, 13, "(side \"right\", image 32589)", "the wall stands right of its line"},
    // The retaining wall: fields beside images the module sets.
    {32560, 10, "(thickness)", "the retaining wall's thickness in metres"},
    {32560, 12, "(left face angle)", "the angle of the wall's left face, degrees"},
    {32560, 14, "(right face angle)", "the angle of the wall's right face, degrees"},
    {32560, 16, "(arc resolution)", "how many segments a curved wall is drawn with"},
    {32517, 8, "(height)", "the retaining wall's height in metres"},
    {32517, 10, "(thickness)", "the retaining wall's thickness in metres"},
    {32517, 12, "(left face angle)", "the angle of the wall's left face, degrees"},
    {32517, 14, "(right face angle)", "the angle of the wall's right face, degrees"},
    {32517, 21, "(arc resolution)", "how many segments a curved wall is drawn with"},
    // The coloured area's row editors: placed on the chosen row's columns of the list.
    {32562, 26, "(material of the row)", "the row's material, in column 4"},
    {32562, 27, "(fill of the row)", "the row's fill, in column 6"},
    {32562, 29, "(chooser of pen 1 of the row)", "as item 28"},
    {32562, 31, "(chooser of pen 2 of the row)", "as item 30"},
    {32562, 33, "(chooser of pen 3 of the row)", "as item 32"},
    {32511, 27, "(material of the row)", "the row's material, in column 4"},
    {32511, 28, "(fill of the row)", "the row's fill, in column 6"},
    {32511, 30, "(chooser of pen 1 of the row)", "as item 29"},
    {32511, 32, "(chooser of pen 2 of the row)", "as item 31"},
    {32511, 34, "(chooser of pen 3 of the row)", "as item 33"},
    {32562, 28, "(pen 1 of the row)", "the row's pen, in column 8; its chooser is item 29"},
    {32562, 30, "(pen 2 of the row)", "the row's fill pen, in column 11; its chooser is item 31"},
    {32562, 32, "(pen 3 of the row)", "the row's fill background pen (0: none), in column 14; its chooser is item 33"},
    {32562, 34, "(value of the row)", "the row's value, in column 16"},
    {32511, 29, "(pen 1 of the row)", "the row's pen, in column 8; its chooser is item 30"},
    {32511, 31, "(pen 2 of the row)", "the row's fill pen, in column 11; its chooser is item 32"},
    {32511, 33, "(pen 3 of the row)", "the row's fill background pen (0: none), in column 14; its chooser is item 34"},
    {32511, 35, "(value of the row)", "the row's value, in column 16"},
    // Curve segmentation: each field belongs to the radio above it.
    {32536, 6, "(number of segments, for \"Segments along arc\")",
     "how many segments an arc is cut into; used while radio 5 is chosen"},
    {32536, 9, "(segment length, for \"Segment length\")",
     "the length of each segment of an arc; used while radio 8 is chosen"},
    // Shapefiles: the new object's name, the objects and fields to choose from.
    {32534, 3, "(the new object's name)",
     "the name of the library part made for the new GIS object; an empty name or one in use is refused"},
    {32533, 10, "(GIS objects found, for \"Use existing GIS object\")", "the object radio 9 uses"},
    {32533, 13, "(fields of real numbers)", "row editor of list 17: the shapefile fields of real numbers"},
    {32533, 14, "(fields of whole numbers)", "row editor of list 17: the shapefile fields of whole numbers"},
    {32533, 15, "(text fields)", "row editor of list 17: the shapefile fields of text"},
    {32533, 16, "(GIS objects found, for \"Associate shapefile fields with GIS object parameters\")",
     "the object radio 12 ties the fields to"},
    {32532, 13, "(table field)", "the .dbf field the dimension comes from while check box 12 is ticked"},
    {32535, 13, "(table field)", "the .dbf field the heights come from while check box 12 is ticked"},
    // The tool palette's coordinate display.
    {32400, 10, "", "x of the cursor, while \"Show Coordinates\" is ticked"},
    {32400, 12, "", "y of the cursor"},
    {32400, 14, "", "z of the terrain under the cursor"},
};
#undef SOSI_TYPE_ITEMS
#undef SPOT_SYMBOLS
}  // namespace

const PaletteAction* FindPaletteAction(int32_t palette, int16_t item) {
    // The Norwegian and Austrian input palettes add their import at item 5 and shift the rest by one.
    if ((palette == kNorwegianInput || palette == kAustrianInput) && item > 5)
        return FindPaletteAction(kInput, item - 1);
    if ((palette == kNorwegianInput || palette == kAustrianInput) && item < 5) palette = kInput;
    for (const PaletteAction& a : kActions)
        if (a.palette == palette && a.item == item) return &a;
    return nullptr;
}

const ListGuide* FindListGuide(int32_t dialog, int16_t item) {
    for (const ListGuide& l : kLists)
        if (l.dialog == dialog && l.item == item) return &l;
    return nullptr;
}

const ItemGuide* FindItemGuide(int32_t dialog, int16_t item) {
    for (const ItemGuide& i : kItems)
        if (i.dialog == dialog && i.item == item) return &i;
    return nullptr;
}

const char* ImageMeaning(int32_t image) {
    static const std::pair<int32_t, const char*> kImages[] = {
        {32541, "Layer"},
        {32550, "Pen"},
        {32552, "2D pen"},
        {32582, "3D pen"},
        {32559, "Fill"},
        {32625, "Material"},
        // The spot heights' and the coordinate locator's marker and text.
        {32604, "Font"},
        {32607, "Marker size"},
        {32608, "Marker pen"},
        {32609, "Text pen"},
        {32610, "Text angle"},
        {32618, "Text size"},
        {32606, "First spacing of the spot-height grid"},
        {32605, "Second spacing of the spot-height grid"},
        // The coloured area's switches and offset.
        {32562, "Show in 2D"},
        {32626, "Show the ID"},
        {32624, "Z offset"}};
    for (const auto& [id, meaning] : kImages)
        if (id == image) return meaning;
    return nullptr;
}

const std::vector<int32_t>& SubPaletteIds() {
    static const std::vector<int32_t> ids = {kInput,           kNorwegianInput, kAustrianInput, kEarthmoving,
                                             kStreetFurniture, kParameters,     kSection,       kWorksheet};
    return ids;
}

std::string ModeHeaderNote(const DGDriver::LogRecord& record) {
    const ItemGuide* header = FindItemGuide(record.id, 3);
    if (record.kind != "modal" || header == nullptr || header->meaning != kModeHeader) return "";
    for (const DGDriver::ItemState& item : record.items)
        if (item.id == 3 && !item.text.empty()) return "; mode header " + QuotedText(item.text);
    return "";
}
