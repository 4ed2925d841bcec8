#pragma once
// The bridge: one "VY_BRIDGE" object along an open path polyline, each vertex raised to the terrain's height, the
// terrain cutting it ('SSUD').
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"
#include "earthworks/BridgeDialogFields.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class EarthworkDialogs;

// The library-part index of "VY_BRIDGE", -1 until looked up.
extern int32_t BridgeLibIndex;

class BridgeCls : public BaseCls {
public:
    BridgeCls();

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // A bridge along the polyline over the terrain. 0 (also when cancelled or "VY_BRIDGE" is missing), 43, or 45
    // for a closed path (refused before the dialog opens).
    int32_t Create(Settings& store, EarthworkDialogs& dialogs, const API_Element& polyline, const API_Element& terrain);
    // The tool's defaults through the dialog; 0.
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);
    // The dialog's changed fields onto every listed bridge in one undo step; 0, 42 or 43.
    int32_t Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& bridges);
    // "Data update" of one bridge, inside the caller's undoable command (all selected bridges are one undo step):
    // its path takes the terrain's heights again. True on success; a failure leaves the bridge as it was and linked.
    bool Update(const API_Element& bridge);

    // The dialog on `settings`. Confirmed: flags taken over.
    DialogAnswer RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, bool editing);
    // Places the object along `path` (world coordinates with heights) and links it to the terrain.
    bool PlaceObject();

    API_Elem_Head pathHead;
    QV_List<QV_Coord3DLong> path;  // x, y, z and code (2 on an arc's middle point)
    QV_List<PrimPoly> pathSegments;
    BridgeSettings settings;
    uint8_t changed[BridgeFieldCount];

    // The flagged fields onto each listed bridge (inside the caller's undoable command); no flag: nothing.
    bool ApplyToSelected(QV_List<API_Element>& bridges);
};

// The coded points of a placed object's path into world coordinates (x negated when mirrored, rotated by its
// angle, moved to its position) and back.
void PathToWorld(const API_ObjectType& object, QV_List<QV_Coord3DLong>& path);
void PathToObject(const API_ObjectType& object, QV_List<QV_Coord3DLong>& path);
