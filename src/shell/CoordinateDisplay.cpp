#include "shell/CoordinateDisplay.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/BaseCls.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/PolygonTests.hpp"
#include "geometry/QV_Poly.hpp"
#include "terrain/ToolInput.hpp"

#include "UniString.hpp"

#include <cfloat>

namespace {

constexpr int16_t ItemX = 10;
constexpr int16_t ItemY = 12;
constexpr int16_t ItemZ = 14;
constexpr double SquareSide = 0.5;
constexpr int32_t Precision = 6;

QV_Poly TerrainOutline;
CoordinatePalette* DisplayPalette = nullptr;

void ShowLength(int16_t dialogId, int16_t item, double metres) {
    DGSetItemText(dialogId, item, DGDoubleToStringUnit(metres, DGGetUnit(), Precision));
}

// The terrain's height at (x, y): the corner (x, y) of a small square given the terrain's heights.
bool TerrainHeight(const CoordinatePalette& palette, double x, double y, double* z) {
    QV_List<QV_Coord3DLong> square;
    for (const API_Coord& c : {API_Coord{x, y}, API_Coord{x + SquareSide, y}, API_Coord{x + SquareSide, y - SquareSide},
                               API_Coord{x, y - SquareSide}})
        if (!square.Insert(QV_Coord3DLong{c.x, c.y, 0.0, 1})) return false;
    MeshBody body;
    double zMin = 0.0;
    double zMax = 0.0;
    QV_List<uint8_t> sampled;
    AssignHeightsFromElement(body, palette.toolInputElement, square, zMin, zMax, &sampled);
    if (sampled.GetCount() < 1 || sampled[0] == 0) return false;
    *z = square[0].z;
    return true;
}

}  // namespace

CoordinatePalette::CoordinatePalette() {
    for (int i = 0; i < 3; ++i) {
        terrainBox[i] = DBL_MAX;
        terrainBox[i + 3] = -DBL_MAX;
    }
}

void PrepareCoordinateDisplay(CoordinatePalette& palette) {
    DisplayPalette = &palette;
    palette.terrainKnown = 0;
    TerrainOutline.Clear();
    API_WindowInfo window = {};
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &window) != NoError || window.typeID != APIWind_FloorPlanID) return;
    QV_List<API_Element> terrains;
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::No, terrains) || terrains.GetCount() == 0) return;
    const API_Element& terrain = terrains[0];
    BaseCls reader;
    if (!SetCurrentStory(terrain.header.floorInd) || !reader.ReadElement(terrain, false) || !reader.BoundsSet() ||
        !TerrainOutline.ReadFromElement(terrain.header, 0))
        return;
    palette.toolInputElement = terrain;
    const API_Box3D& b = reader.bounds;
    const double box[6] = {b.xMin, b.yMin, b.zMin, b.xMax, b.yMax, b.zMax};
    for (int i = 0; i < 6; ++i) palette.terrainBox[i] = box[i];
    palette.terrainHeights[0] = reader.zMin;
    palette.terrainHeights[1] = reader.zMax;
    palette.terrainKnown = 1;
}

void CoordinateFeedback(const API_Coord3D* cursor) {
    if (cursor == nullptr || DisplayPalette == nullptr || DisplayPalette->dialogId == 0) return;
    CoordinatePalette& palette = *DisplayPalette;
    double z = cursor->z;
    int32_t edge = 0;
    if (palette.terrainKnown != 0 && PointInPolygon(TerrainOutline, cursor->x, cursor->y, edge, 1e-7) >= 0) {
        double height = 0.0;
        if (TerrainHeight(palette, cursor->x, cursor->y, &height)) z = height;
    }
    ShowLength(int16_t(palette.dialogId), ItemX, cursor->x);
    ShowLength(int16_t(palette.dialogId), ItemY, cursor->y);
    ShowLength(int16_t(palette.dialogId), ItemZ, z);
}

void ShowCoordinates(CoordinatePalette& palette) {
    ACAPI_Element_DeselectAll();
    PrepareCoordinateDisplay(palette);
    // The heights shown come from probe slabs: one that could not be deleted is taken back with the command.
    RunWholeCommand([&] {
        API_Coord3D point = {};
        API_Neig neig = {};
        // The point itself is not used: the display is what the user came for, and Escape ends it alike.
        GetPointFromUser(point, neig, QV_String(""), nullptr, nullptr, nullptr, nullptr, 0, CoordinateFeedback, nullptr,
                         true);
        return true;
    });
    ResetToolInput(palette);
}
