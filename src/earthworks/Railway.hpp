#pragma once
// The railway's element class: the road's twin with tracks. Three linked objects of "VY_RAILWAY" (cut, fill,
// result) built along a polyline or on the strip of a fill, their settings edited in the single-layout railway
// settings dialog.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/RailwaySettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

constexpr int32_t RailwayFieldCount = 25;

// What one run of the railway settings dialog works on.
struct RailwayDialogState {
    RailwaySettings record;              // the owner's; written (and flagged) only by OK
    uint8_t changed[RailwayFieldCount];  // per field id, set by OK
    double width = 0.1;                  // the width item
    uint8_t valuesEditable = 0;          // width and gauge editable; OK writes the global width
    uint8_t valuesLocked = 0;            // placed railways edited: width, gauge, ties, rails and tracks locked
    uint8_t radiosEnabled = 0;
    int16_t referenceLine = 2;  // where the railway lies: 1 right of the drawn line, 2 on it, 3 left of it
};

class ContourLineRefresh;
class EarthworkDialogs;

class RailwayCls : public BaseRSWCls {
public:
    RailwayCls();

    // As the road's, asking through `dialogs`: 0 when done, cancelled or "VY_RAILWAY" is missing; 43 on failures;
    // 42 when the plan database cannot be reached from the 3D window.
    int32_t ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& railways);
    int32_t CreateOnFill(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& fill,
                         const API_Element& terrain);
    int32_t CreateAlongPolyline(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& polyline,
                                const API_Element& terrain);
    int32_t EditDefaults(EarthworkDialogs& dialogs);

    // Bits: 0 enables the position choice, 1 shows the global width with the defaults' gauge and tie spacing,
    // 2 marks editing. 0 on OK (settings and flags taken over), 1 on Cancel.
    int32_t RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, uint32_t bits);
    bool DrapeEdges();
    void TranslateAll(const API_Coord& origin);
    bool BuildObjects();
    bool WriteRailwayObject(API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role);
    bool ReadSettingsFromObject(const QV_List<API_Element>& railways);
    bool ApplyToSelected(QV_List<API_Element>& railways);

    RailwaySettings settings;
    uint8_t changed[RailwayFieldCount];
    QV_List<API_Coord3D> left3D;
    QV_List<API_Coord3D> right3D;
    int32_t railwayLibIndex = -1;
};

// For each set flag: fields 1 to 4, 18, 19, 22 and 23 as reals, 6 to 13, 15 to 17, 20, 21 and 24 as shorts.
void CopyChangedFields(const uint8_t changed[RailwayFieldCount], RailwaySettings& target,
                       const RailwaySettings& source);
