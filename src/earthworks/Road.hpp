#pragma once
// The road's element class. Built so far: the road tool's defaults edited through the road settings dialog in its
// two layouts. Creating and modifying roads note their call and answer 0.
#include "elements/BaseCls.hpp"
#include "settings/RoadData.hpp"

#include <cstdint>

constexpr int32_t RoadFieldCount = 18;

// What one run of the road settings dialog works on, over both layouts.
struct RoadDialogState {
    RoadSettings record;              // the owner's; written (and flagged) only by OK
    RoadSettings work;                // what the items show; a layout switch leaves the edits here for the other
    uint8_t carryWork = 0;            // open on `work` as the other layout left it, not on `record`
    uint8_t changed[RoadFieldCount];  // per field id, set by OK
    double width = 0.1;               // the width item
    uint8_t widthEditable = 0;        // the width item enabled, and written to the global road width by OK
    uint8_t widthLocked = 0;          // the width item disabled with the greyed picture (placed roads edited)
    uint8_t radiosEnabled = 0;        // the first layout's reference-line radios
    int16_t referenceLine = 2;        // 1 the drawn line is the right edge, 2 the axis, 3 the left edge
    uint16_t savedX = 0;              // the position carried across a switch; 0, 0: none
    uint16_t savedY = 0;
    uint8_t layoutSwitch = 0;  // the layout closed because the user asked for the other one
};

// Opens one layout of the road settings dialog (0 the first, 1 the second); true when closed with OK. Set by the
// shell; without it every dialog counts as cancelled.
using RoadDialogOpener = bool (*)(RoadDialogState& state, int32_t layout);
void SetRoadDialogOpener(RoadDialogOpener opener);

class RoadCls : public BaseRSWCls {
public:
    RoadCls();

    int32_t CreateOnFill(const API_Element& fill, const API_Element& terrain);
    int32_t CreateAlongPolyline(const API_Element& polyline, const API_Element& terrain);
    int32_t ModifySelected(const QV_List<API_Element>& roads);
    // The road tool's defaults (the global settings' road record) through the dialog, the reference-line choice
    // enabled; OK stores them and shares the retaining-structure display with the other earthworks. Answers 0.
    int32_t EditDefaults();

    // The dialog in its two layouts on `settings`: the first layout, then the other at each switch for as long
    // as the user switches. 0 on OK (settings and flags taken over), 1 on Cancel. `useDefaultWidth` shows the
    // global road width (else 0.1) and lets OK write it; `editing` locks it.
    int32_t RunSettingsDialog(bool enablePosition, bool useDefaultWidth, bool editing);

    RoadSettings settings;
    uint8_t changed[RoadFieldCount];
};
