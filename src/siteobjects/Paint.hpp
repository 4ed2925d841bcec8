#pragma once
// The coloured areas: regions of a terrain drawn as 2D elements, all of one terrain kept in one "VY_PAINTER"
// object (their outlines relative to the terrain box's lower left corner, with their pens, fill, material and
// level difference), edited in the two-layout coloured area settings dialog with one row per area.
#include "elements/BaseCls.hpp"
#include "elements/PaintInfo.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/PaintSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

constexpr int32_t PaintFieldCount = PaintSettings::FieldCount;

// What one run of the coloured area settings dialog (both layouts) works on.
struct PaintDialogState {
    PaintSettings record;                   // the owner's; written (and flagged) only by OK
    uint8_t changed[PaintFieldCount] = {};  // show 2D, layer, ID, offset, resolution, show ID
    QV_List<PaintInfo>* areas = nullptr;    // the rows; null: no rows (the list is off)
    const int32_t* earlierCount = nullptr;  // rows above it came with the new elements; null: none
    uint16_t lastMaterial = 0;              // out: the last row's material and value, the next area's defaults
    double lastValue = 0.0;
    QV_List<uint8_t> markers;  // out: one per row
};

class ContourLineRefresh;
class SiteObjectDialogs;

class PaintCls : public BaseCls {
public:
    PaintCls();

    // Each answers the code for ShowErrorMessage (0: nothing to show); they ask the user through `dialogs`.
    int32_t Create(Settings& store, SiteObjectDialogs& dialogs, ContourLineRefresh& contours,
                   const QV_List<API_Element>& elements, const API_Element& terrain);
    int32_t EditSettings(Settings& store, SiteObjectDialogs& dialogs);
    int32_t ModifySelected(const Settings& store, SiteObjectDialogs& dialogs, const QV_List<API_Element>& objects);
    // The terrain's contour lines made again ("Data update").
    int32_t Rebuild(ContourLineRefresh& contours, const API_Element& object);
    // Model-update hook: a user's edit of a coloured-area object keeps it observed and its terrain readable.
    static int32_t OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads);

    // Slot 0: the "VY_PAINTER" object of the terrain with every area.
    bool CreateObject(const QV_String& partName, int16_t placeCode, uint16_t value, void* list,
                      API_Element* existing) override;

    // Confirmed: settings, changed flags, the areas' edits and the last material and value taken over.
    DialogAnswer RunSettingsDialog(const Settings& store, SiteObjectDialogs& dialogs, SettingsMode mode, bool withAreas,
                                   const int32_t* earlierCount);
    bool CollectAreas(const Settings& store);
    // The terrain's object, found by the terrain's GUID (never by its ID text, which two terrains may share);
    // false when the host cannot tell whether there is one.
    bool FindExistingObject();
    bool PrepareAreas(const Settings& store);
    bool UpdateExistingObject();
    // Moves every area (and, with `points`, the outline lists) by minus `origin`.
    void TranslateAreas(const API_Coord& origin, bool points);
    bool LoadFromSelection(const QV_List<API_Element>& objects);
    bool ApplyToSelection(QV_List<API_Element>& objects);

    PaintSettings settings;
    uint8_t changed[PaintFieldCount];
    QV_List<API_Element> elements;       // the selected 2D elements
    QV_List<PaintInfo> areas;            // the areas to write
    QV_List<PaintInfo> earlierAreas;     // the areas of the terrain's earlier object
    QV_List<API_Element> earlierObject;  // that object, when there is one
    uint16_t lastMaterial = 0;
    double lastValue = 0.0;
    bool nameRead = false;  // the earlier or first edited object's ID text was read into the settings
};
