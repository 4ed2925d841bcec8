#pragma once
// The wall's element class: a "VY_WALL" object along an open polyline, its base line at the terrain's heights and
// linked to the terrain mesh as a building is, its settings edited in the two-layout wall settings dialog.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/WallData.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

constexpr int32_t WallFieldCount = WallSettings::FieldCount;

// What one run of the wall settings dialog (both layouts) works on.
struct WallDialogState {
    WallSettings record;                   // the owner's; written (and flagged) only by OK
    uint8_t changed[WallFieldCount] = {};  // per field id, set by OK
};

class SiteObjectDialogs;

class WallCls : public BaseCls {
public:
    WallCls();

    // Each answers the code for ShowErrorMessage (0: nothing to show): 43 when the object cannot be read, made or
    // changed, 42 when the floor plan's database cannot be reached, 45 for a closed polyline. A missing
    // "VY_WALL" or a cancelled dialog answers 0. They ask the user through `dialogs`.
    int32_t Place(Settings& store, SiteObjectDialogs& dialogs, const API_Element& polyline, const API_Element& terrain);
    int32_t EditSettings(Settings& store, SiteObjectDialogs& dialogs);
    int32_t ModifySelected(SiteObjectDialogs& dialogs, const QV_List<API_Element>& walls);
    // Regenerates one wall's base line on its terrain ("Data update"); runs inside the caller's command.
    bool RebuildObject(const API_Element& wall);

    // As the building's hook, for walls.
    static int32_t OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads);
    static int32_t RefreshObjects(const QV_List<API_Elem_Head>& heads);

    // Confirmed: settings and changed flags taken over.
    DialogAnswer RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode);
    bool PlaceObject();
    bool ReadObject(const QV_List<API_Element>& walls);
    bool ApplyToObjects(QV_List<API_Element>& walls);
    // Every polyline vertex gets the terrain's height.
    bool CreateElementBodyFromMesh();

    WallSettings settings;
    uint8_t changed[WallFieldCount];
    double lowestLevel = 0.0;
    double highestLevel = 0.0;
    bool nameRead = false;  // the first edited object's ID text was read into the settings
};
