#include "shell/SubPaletteButtons.hpp"

#include "foundation/Alert.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/Documentation.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/ShellState.hpp"
#include "shell/SubPaletteIndex.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "shell/commands/CoordinateLocatorCommand.hpp"
#include "shell/commands/EarthworkCommands.hpp"
#include "shell/commands/ExportCommands.hpp"
#include "shell/commands/ImportCommands.hpp"
#include "shell/commands/ParameterCommands.hpp"
#include "shell/commands/SOSIImportCommands.hpp"
#include "shell/commands/ShapeImportCommands.hpp"
#include "shell/commands/StreetFurnitureCommands.hpp"
#include "shell/commands/TerrainCommands.hpp"
#include "shell/commands/TerrainInputCommands.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Marker.hpp"

namespace {
constexpr int32_t NotAvailableEntry = 90;  // table 32710 + language: "This tool is not available yet."

// The button only picks the fill tool: one the host would not pick leaves the user drawing with another.
void Hatch() {
    if (!SelectToolbox18()) ReportToolResult(ErrSettings);
}

// A command that asks the user through a port is handed it too, from the ports the shell made at start.
template <void (*Run)(Settings&, EarthworkDialogs&)>
void WithEarthworkDialogs() {
    Run(GlobalSettings, Ports().earthworkDialogs);
}
template <void (*Run)(Settings&, SiteObjectDialogs&)>
void WithSiteObjectDialogs() {
    Run(GlobalSettings, Ports().siteObjectDialogs);
}
// A command that changes the terrain is handed the contour-line refresh as well.
template <void (*Run)(Settings&, EarthworkDialogs&, ContourLineRefresh&)>
void WithEarthworkPorts() {
    Run(GlobalSettings, Ports().earthworkDialogs, Ports().contourLineRefresh);
}
template <void (*Run)(Settings&, SiteObjectDialogs&, ContourLineRefresh&)>
void WithSiteObjectPorts() {
    Run(GlobalSettings, Ports().siteObjectDialogs, Ports().contourLineRefresh);
}
template <void (*Run)(Settings&, TerrainDialogs&)>
void WithTerrainDialogs() {
    Run(GlobalSettings, Ports().terrainDialogs);
}
template <void (*Run)(Settings&, TerrainInputDialogs&)>
void WithTerrainInputDialogs() {
    Run(GlobalSettings, Ports().terrainInputDialogs);
}
void Terrain() { RunTerrain(GlobalSettings, Ports().terrainDialogs, Ports().terrainContourSteps); }

// The manual of the current language; a missing one is told as "unknown document!".
void Manual() {
    QV_String missing;
    GetResString(missing, GeneralTableBase + LanguageIndex, 163);
    OpenDocumentation(nullptr, QV_String(ProductName), 2, 1, missing, QV_String(": "));
}

// One button a line, so that each tool wires its own line.
// clang-format off
// The general Input buttons; the Norwegian and Austrian layouts put one more at item 5.
const SubPaletteButton InputHead[] = {
    {"Pal_TXT", OnGlobalSettings<ImportTextFile>},
    {"Pal_DXF", OnGlobalSettings<ImportDXFFile>},
    {"Pal_SHP", OnGlobalSettings<ImportGISFile>},
};
const SubPaletteButton InputTail[] = {
    {"Pal_MeshAC", WithTerrainDialogs<RunMeshConversion>},
    {"Pal_Point", WithTerrainInputDialogs<RunPoint>},
    {"Pal_Constr", WithTerrainInputDialogs<RunConstraint>},
    {"Pal_Outline", WithTerrainInputDialogs<RunOutline>},
    {"Pal_Mesh", Terrain},
    {"Pal_CL", WithTerrainDialogs<RunContourLineTool>},
    {"Pal_Slopes", WithTerrainDialogs<RunSlopeRange>},
    {"Pal_ExpTxt", OnGlobalSettings<RunTextExport>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton SOSIButton = {"Pal_SOSI", OnGlobalSettings<ImportSOSIFile>};
const SubPaletteButton ASCButton = {"Pal_ASC", OnGlobalSettings<ImportASCFile>};
const SubPaletteButton Earthmoving[] = {
    {"Pal_Poly", OnGlobalSettings<RunPolygon>},
    {"Pal_Hatch", Hatch},
    {"Pal_Plateau", WithEarthworkPorts<RunPlateau>},
    {"Pal_Road", WithEarthworkPorts<RunRoad>},
    {"Pal_RoadSect", WithEarthworkDialogs<RunRoadSection>},
    {"Pal_Bridge", WithEarthworkDialogs<RunBridge>},
    {"Pal_Sidewalk", WithEarthworkPorts<RunSidewalk>},
    {"Pal_Railway", WithEarthworkPorts<RunRailway>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton StreetFurniture[] = {
    {"Pal_Poly", OnGlobalSettings<RunPolygon>},
    {"Pal_Hatch", Hatch},
    {"Pal_Tree", WithSiteObjectDialogs<RunTree>},
    {"Pal_Basin", WithEarthworkDialogs<RunBasin>},
    {"Pal_Building", WithSiteObjectDialogs<RunBuilding>},
    {"Pal_Wall", WithSiteObjectDialogs<RunWall>},
    {"Pal_Obstacle", WithEarthworkPorts<RunRetainingWall>},
    {"Pal_Paint", WithSiteObjectPorts<RunPaint>},
    {"Pal_XYZ", OnGlobalSettings<RunEditXYZ>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton Parameters[] = {
    {"Pal_Compute", OnGlobalSettings<RunCalculation>},
    {"Pal_Gravity", OnGlobalSettings<RunGravity>},
    {"Pal_Marker", WithSiteObjectDialogs<RunMarker>},
    {"Pal_Camera", WithSiteObjectDialogs<RunCamera>},
    {"Pal_Setts", OnGlobalSettings<RunDefaultSettings>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton Section[] = {
    {"Pal_RoadSect", WithEarthworkDialogs<RunRoadSection>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton Worksheet[] = {
    {"Pal_SOSI_XYZ", OnGlobalSettings<RunInsertCoordinateLocator>},
    {"Pal_SOSI_Imp", OnGlobalSettings<RunSOSIWorksheetImport>},
    {"Pal_Manual", Manual},
};
const SubPaletteButton XYZ1 = {"Pal_XYZ1", OnGlobalSettings<RunEditXYZ>};

// clang-format on

template <size_t N>
const SubPaletteButton* At(const SubPaletteButton (&table)[N], int16_t item) {
    return item >= 1 && static_cast<size_t>(item) <= N ? &table[item - 1] : nullptr;
}

const SubPaletteButton* InputButton(const SubPaletteButton* extra, int16_t item) {
    if (item >= 1 && item <= 3) return &InputHead[item - 1];
    if (extra == nullptr) return At(InputTail, int16_t(item - 3));
    if (item == 4) return &InputTail[0];
    if (item == 5) return extra;
    return At(InputTail, int16_t(item - 4));
}
}  // namespace

const SubPaletteButton* FindSubPaletteButton(int32_t index, int16_t item) {
    switch (index) {
        case SubInput: return InputButton(nullptr, item);
        case SubNorwegianInput: return InputButton(&SOSIButton, item);
        case SubAustrianInput: return InputButton(&ASCButton, item);
        case SubEarthmoving: return At(Earthmoving, item);
        case SubStreetFurniture:
            return item == XYZButtonItem && XYZButtonState == 0 ? &XYZ1 : At(StreetFurniture, item);
        case SubParameters: return At(Parameters, item);
        case SubSection: return At(Section, item);
        case SubWorksheet: return At(Worksheet, item);
        default: return nullptr;
    }
}

void ShowToolNotAvailable() {
    ShowAlert(Alert(AlertKind::Information, AlertText(), AlertText{CommonTableBase, NotAvailableEntry}));
}
