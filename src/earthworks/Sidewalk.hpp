#pragma once
// The sidewalk's element class: a strip of constant thickness laid on the terrain between two sides of a hatch the
// user picks, placed as three linked objects of "VY_SIDEWALK" (cut, fill, result).
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "earthworks/SidewalkDialogState.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class ContourLineRefresh;
class EarthworkDialogs;

class SideWalkCls : public BaseRSWCls {
public:
    SideWalkCls();

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // A sidewalk between the two sides of the hatch the user picks. 0 (also cancelled or part missing) or 43.
    int32_t Create(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& fill,
                   const API_Element& terrain);
    // The global sidewalk defaults through the dialog. Answers 0.
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);
    // The dialog's changed fields (ids 2 to 8 and 10) onto every selected sidewalk, one undo step. 0, 42 or 43.
    int32_t Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& sidewalks);
    // Data update of one sidewalk: its edges given the terrain's heights again. 0, 26, 42 or 43.
    int32_t Update(ContourLineRefresh& contours, const API_Element& object);

    // Both layouts, first the first. Confirmed: record and flags taken. `option` 1: placed sidewalks are edited
    // (the width locked).
    DialogAnswer RunSidewalkSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, int32_t option);
    // The three objects placed from the draped edges and linked to the terrain, as PlaceEarthworkSet answers.
    CommandEnd BuildObjects();
    bool WriteSidewalkObject(API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role);
    bool ApplyToSelected(QV_List<API_Element>& sidewalks);
    // The heights across the strip, index by index: with the side set the second edge takes the first's.
    void CopyEdgeHeights();

    SidewalkSettings settings;
    uint8_t changed[SidewalkFieldCount];
    uint8_t side;
};

// Both edges' z, index by index over the points both have: with `fromFirst` the second takes the first's,
// otherwise the first takes the second's.
void CopyHeightsAcross(QV_List<QV_Coord3DLong>& first, QV_List<QV_Coord3DLong>& second, bool fromFirst);
