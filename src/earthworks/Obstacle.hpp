#pragma once
// The retaining wall's element class: one "VY_RETAINING_WALL" object standing on the terrain along an open
// polyline, on the side the user clicks, its two faces split where the terrain breaks under them; the same wall
// registered as an obstacle of a road or plateau object, and such an obstacle removed again.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"
#include "earthworks/RetainerWallDialogState.hpp"
#include "settings/MiscSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class ContourLineRefresh;
class EarthworkDialogs;

class ObstacleCls : public BaseCls {
public:
    ObstacleCls();

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // 0, 35, 43 or 45 (0 also when cancelled or "VY_RETAINING_WALL" is missing).
    int32_t CreateFromPolyline(Settings& store, EarthworkDialogs& dialogs, const API_Element& polyline,
                               const API_Element& terrain);
    // The wall, then the path appended to the road's (6) or plateau's (7) obstacles. 0, 10, 35, 43 or 45.
    int32_t CreateAlongElement(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                               const API_Element& polyline, const API_Element& host, int32_t kind,
                               const API_Element& terrain);
    // The obstacle whose node the user picks leaves the road's or plateau's lists. 0, 37, 38 or 40.
    int32_t RemoveObstacle(ContourLineRefresh& contours, const API_Element& host, int32_t kind);
    // The dialog's changed fields onto every selected wall, one undo step. 0, 42 or 43.
    int32_t ModifySelected(Settings& store, EarthworkDialogs& dialogs, const QV_List<API_Element>& walls);
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);

    // The drawn path appended to the road's or plateau's obstacles, in its frame, and the object refreshed.
    bool RegisterAlongHost(const API_Element& polyline);
    // Mode 0 new wall or defaults, 1 placed walls. Confirmed: settings and flags taken over, the thickness
    // (`misc`'s, no field of the record) kept there for every later wall.
    DialogAnswer RunSettingsDialog(MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode settingsMode,
                                   int32_t mode);
    // The user clicks the wall's side of the path's first segment. False when cancelled (`failed` clear) or
    // when the input failed (`failed` set).
    bool ChooseSide(bool& failed);

    // The faces from the path (polyPrims): near face 0.001 from it on the side away from the wall, far face the
    // `thickness` from the near face on the chosen side, both running with the path; their vertices with the
    // terrain's heights, split where the terrain's vertices lie on the near face.
    bool ComputeProfile(double thickness);
    bool SampleTerrainHeights(bool split);

    // Places the object with its parameters, record and solid link (inside the caller's undoable command).
    bool PlaceObject();
    // Computes the placed wall again on its terrain (the data update). 0, 42 or 43.
    int32_t Rebuild(const Settings& store, ContourLineRefresh& contours, const API_Element& wall);
    // New (1) and copied (2) wall objects: record refreshed, solid links removed. 1 when every element was
    // handled or the code is ignored, 0 when the walk stopped.
    static int32_t OnElementEvent(int32_t code, const QV_List<API_Elem_Head>& heads);

    // The wall origin: the near face's first vertex on the left, the far face's on the right.
    API_Coord Origin() const;
    // Writes the faces, path, side, settings and levels into the view; `rebuild` adds the terrain's cut lists
    // and skirt and always puts the far face in "perimetro_base_SX".
    bool WriteParams(class ObstacleLP& view, bool rebuild);

    RetainerWallSettings settings;
    uint8_t changed[RetainerWallFieldCount];
    API_Element hostElement;  // the road or plateau object
    int32_t hostKind;         // 6 road, 7 plateau
    int32_t pickedNode;       // the node picked to remove an obstacle
    uint8_t onLeft;           // 1: the wall stands left of the path
    QV_List<PrimPoly> farSegments;
    QV_List<QV_Coord3DLong> farVertices;
    // points2D: the path as drawn (x, y, code); points3D: the near-face vertices; polyPrims: the near face.
};

// The node walk of an obstacle removal: the obstacle holding 1-based node `picked` is removed from both lists.
// False, lists untouched, when no obstacle holds it.
bool RemoveObstacleAtNode(QV_List<int32_t>& counts, QV_List<API_Coord3D>& nodes, int32_t picked);
