#include "script/PopUpGuide.hpp"

#include <sstream>

namespace {
constexpr int32_t kGeneral = 32540, kCommon = 32710;

#define UNITS "219 220 221 - 222 223"
#define UNIT_MEANING "the unit of the file's coordinates (entry 1 metres ... entry 6 decimal inches)"
#define FONTS                                                                                                          \
    "the host's fonts, in the order the host lists them; the font the settings hold is chosen, else the default"
#define FONT_MEANING "the font of the texts drawn"
#define TRUNKS "146 147 148 149"
#define LEAVES "150 151 152 153 149"
#define HEIGHT_FIELDS                                                                                                  \
    "the shapefile's fields of real numbers, in the table's order (\"----\" alone when it has none); the first is "    \
    "chosen"
#define LOCATORS                                                                                                       \
    "the independent worksheets that hold a coordinate locator, in the project's order, each \"<reference> - "         \
    "<name>\"; the first is chosen"

const PopUpGuide kPopUps[] = {
    // Text (XYZ) import, both layouts; the ASC grid import.
    {32568, 12, kGeneral, UNITS, "", UNIT_MEANING},
    {32568, 14, kGeneral, "10 8 9 204 205 206 209", "", "the order of the columns in each line of the file"},
    {32568, 16, kGeneral, "13 14", "", "the decimal separator of the file's numbers"},
    {32568, 18, kGeneral, "16 17 18 19", "", "the character between the columns (\"other:\": the one in item 20)"},
    {32500, 43, kGeneral, UNITS, "", UNIT_MEANING},
    {32577, 11, kGeneral, UNITS, "", UNIT_MEANING},
    {32577, 13, kGeneral, "13 14", "", "the decimal separator of the grid's numbers"},
    {32577, 15, kGeneral, "16 17 18 19", "", "the character between the grid's values"},
    // Trees: the trunk's and the leaves' styles, both layouts.
    {32564, 31, kGeneral, TRUNKS, "", "the trunk's style (\"Custom\": the part named beside it)"},
    {32564, 32, kGeneral, LEAVES, "", "the leaves' style (\"Custom\": the part named beside it)"},
    {32525, 28, kGeneral, TRUNKS, "", "the trunk's style (\"Custom\": the part named beside it)"},
    {32525, 29, kGeneral, LEAVES, "", "the leaves' style (\"Custom\": the part named beside it)"},
    // Spot heights: what the text shows, and the font.
    {32551, 35, kGeneral, "81 82 211 83 212 213 214", "", "what the spot height's text shows"},
    {32551, 30, 0, "", FONTS, FONT_MEANING},
    {32518, 26, 0, "", FONTS, FONT_MEANING},
    // The other fonts: the tree's 2D symbol, the cross section, the coordinate locator, the slope analysis.
    {32565, 30, 0, "", FONTS, "the font of the 2D symbol's text"},
    {32526, 27, 0, "", FONTS, "the font of the 2D symbol's text"},
    {32556, 27, 0, "", FONTS, FONT_MEANING},
    {32520, 27, 0, "", FONTS, FONT_MEANING},
    {32541, 18, 0, "", FONTS, "the font of the locator's coordinates"},
    {32548, 57, 0, "", FONTS, "the font of the legend's texts"},
    {32537, 53, 0, "", FONTS, "the font of the legend's texts"},
    // Shapefile results: the GIS object the shapes become and the field the heights come from.
    {32571, 7, kGeneral, "181",
     "then the GIS objects of the loaded libraries whose parameters take every field of the table, in library order",
     "the GIS object the shapes become"},
    {32532, 9, kGeneral, "181",
     "then the GIS objects of the loaded libraries whose parameters take every field of the table, in library order",
     "the GIS object the shapes become"},
    {32571, 11, 0, "", HEIGHT_FIELDS, "the field the dimension comes from while check box 10 is ticked"},
    {32532, 13, 0, "", HEIGHT_FIELDS, "the field the dimension comes from while check box 12 is ticked"},
    {32572, 11, 0, "", HEIGHT_FIELDS, "the field the heights come from while check box 10 is ticked"},
    {32535, 13, 0, "", HEIGHT_FIELDS, "the field the heights come from while check box 12 is ticked"},
    // The GIS object choice: the objects, and the row editors of the parameter list's field column.
    {32533, 10, 0, "", "every GIS object of the loaded libraries, sorted by name", "the object radio 9 uses"},
    {32533, 16, 0, "", "every GIS object of the loaded libraries, sorted by name",
     "the object radio 12 ties fields to"},
    {32533, 13, 0, "", "\"----\", then the table's fields of real numbers in the table's order",
     "the field tied to the selected row's parameter (a real number)"},
    {32533, 14, 0, "", "\"----\", then the table's fields of whole numbers in the table's order",
     "the field tied to the selected row's parameter (a whole number)"},
    {32533, 15, 0, "", "\"----\", then the table's text fields in the table's order",
     "the field tied to the selected row's parameter (a text)"},
    // SOSI results: the coordinate locator's worksheet.
    {32540, 39, 0, "", LOCATORS, "the locator whose offset is used while check box 38 is ticked"},
    {32544, 39, 0, "", LOCATORS, "the locator whose offset is used while check box 38 is ticked"},
    // Save as library part.
    {32752, 6, kCommon, "57", "then the folder name of each further active library (not \"rfs\"), in the host's order",
     "the library the part is saved into"},
    {32752, 10, 0, "", "the types the part may be saved as, each \"<name> (*.<extension>)\", in the caller's order",
     "the type of the saved part"},
};
#undef UNITS
#undef UNIT_MEANING
#undef FONTS
#undef FONT_MEANING
#undef TRUNKS
#undef LEAVES
#undef HEIGHT_FIELDS
#undef LOCATORS
}  // namespace

const PopUpGuide* FindPopUpGuide(int32_t dialog, int16_t item) {
    for (const PopUpGuide& p : kPopUps)
        if (p.dialog == dialog && p.item == item) return &p;
    return nullptr;
}

std::vector<int32_t> PopUpIndexes(const PopUpGuide& guide) {
    std::vector<int32_t> indexes;
    if (guide.table == 0) return indexes;
    std::istringstream words(guide.indexes);
    for (std::string word; words >> word;) indexes.push_back(word == "-" ? 0 : std::stoi(word));
    return indexes;
}
