#pragma once
// The building's element class: a "VY_BUILDING" object made from the outline of a fill, standing on the terrain
// at the lowest height of its outline and linked to the terrain mesh (the mesh subtracts downwards from it), its
// settings edited in the two-layout building settings dialog.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/BuildingSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

constexpr int32_t BuildingFieldCount = BuildingSettings::FieldCount;

// What one run of the building settings dialog (both layouts) works on.
struct BuildingDialogState {
    BuildingSettings record;                   // the owner's; written (and flagged) only by OK
    uint8_t changed[BuildingFieldCount] = {};  // per field id, set by OK
    double baseLevel = 0.0;                    // the lowest terrain height of the outline
    double minHeight = 0.0;                    // the outline's height difference: the building must reach above it
    uint8_t defaultMode = 0;                   // the tool's defaults: the height is not edited
    uint8_t editing = 0;                       // placed buildings
    uint8_t several = 0;                       // two or more of them
    uint8_t unlinked = 0;                      // without a terrain: no base level to measure from
};

class SiteObjectDialogs;

// The height of the top of a building whose outline reaches from `lowest` to `highest`: `height` above the lowest
// point, but never below the highest one (each plus 0.001).
double BuildingTopLevel(double height, double lowest, double highest);

class BuildingCls : public BaseCls {
public:
    BuildingCls();

    // Each answers the code for ShowErrorMessage (0: nothing to show): 43 when the object cannot be read, made or
    // changed, 42 when the floor plan's database cannot be reached. A missing "VY_BUILDING" or a cancelled
    // dialog answers 0. They ask the user through `dialogs` (siteobjects/SiteObjectDialogs).
    int32_t Create(Settings& store, SiteObjectDialogs& dialogs, const API_Element& fill, const API_Element& terrain);
    int32_t CreateFromSelection(Settings& store, SiteObjectDialogs& dialogs, const QV_List<API_Element>& fills,
                                const API_Element& terrain);
    int32_t EditSettings(Settings& store, SiteObjectDialogs& dialogs);
    int32_t Modify(SiteObjectDialogs& dialogs, const QV_List<API_Element>& buildings);
    // Regenerates one building on its terrain ("Data update").
    int32_t Rebuild(const API_Element& building);

    // Model-update hook: mode 1 (new) is ignored while the add-on writes elements; modes 1 and 2 refresh the
    // buildings among the heads. 1 when done.
    static int32_t OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads);
    // Copies of buildings must not cut the terrain their original cuts: every solid link of each building among
    // the heads goes. 1 when done.
    static int32_t RefreshObjects(const QV_List<API_Elem_Head>& heads);

    // Mode 1: the outer ring of the outline (up to the first code -1) gets the terrain's heights; mode 0: the
    // whole outline.
    bool SampleTerrainHeights(int32_t mode);
    // lowest, highest and difference over the outer ring; false when it has no vertex.
    bool ComputeLevelRange();
    // Confirmed: settings and changed flags taken over.
    DialogAnswer RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode, const double* lowest,
                                   const double* difference, bool defaultMode, bool editing, bool several,
                                   bool unlinked);
    // A new object from the outline, linked to the terrain.
    bool PlaceObject();
    bool ReadObject(const QV_List<API_Element>& buildings);
    bool ApplyToObjects(QV_List<API_Element>& buildings);
    bool RebuildObject(const API_Element& building);

    BuildingSettings settings;
    uint8_t changed[BuildingFieldCount];
    double lowestLevel = 0.0;
    double highestLevel = 0.0;
    double levelDifference = 0.0;
    uint8_t unlinked = 0;
    bool nameRead = false;  // the first edited object's ID text was read into the settings
};
