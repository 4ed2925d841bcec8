#pragma once
// The terrain-point tool: terrain points are hotspots carrying the element data record of kind 1 (height above
// project zero, code text, code number, comment). The tool places them by clicks, edits selected ones, and keeps
// points and constraints in step after the user's copies, drags and deletions.
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/PointSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class TerrainInputDialogs;

class PointTool {
public:
    // The tool asks its settings and shows its palette through `dialogs`; its defaults are `store`'s.
    PointTool(Settings& store, TerrainInputDialogs& dialogs);

    // Asks for positions until the user cancels, creating one point per click with the point-input palette's
    // values; 0, or 12 (the input failed) or 42 (no floor plan). The palette is closed on every way out, and the
    // element-written flag is left raised only when points were made.
    int32_t PlaceByClicks();
    // Edits the selected points (hotspots with a kind-1 record): the settings of the first one fill the dialog,
    // and only the fields the user changed are written into each; 0 (also on cancel) or 43.
    int32_t PlaceFromHotspots(const QV_List<API_Element>& points);
    // "Point settings" in its two layouts on a copy of the record; confirmed, fields and flags are taken back.
    DialogAnswer EditSettings(SettingsMode mode);

    // The points' share of an element event (1 new, 2 copy, 3 change, 4 edit, 5 delete) for the given element
    // heads; for an edit, `parents` are the elements as they were. A new or copied point takes the code and
    // next number of `defaults`, which advances. True on success.
    static bool OnElementEvent(PointSettings& defaults, int32_t mode, const API_Elem_Head* heads, int32_t headCount,
                               const API_Element* parents = nullptr, int32_t parentCount = 0);

    PointSettings settings;
    uint8_t changed[PointSettingsFieldCount];  // by field id
    API_Coord3D clicked;

private:
    Settings& store_;
    TerrainInputDialogs& dialogs_;
    // One position; `given` false when the user ended the input. 0 or 12.
    int32_t AskPosition(bool& given);
    // Creates the point at the clicked position; advances and stores the default code number.
    bool CreatePoint();
};
