#pragma once
// What the earthworks ask of the user: each tool's settings dialog, and the palette told when a rebuild changed a
// section window under it. The shell implements it (shell/EarthworkDialogBoxes) and hands it to the commands,
// which pass it to the element classes' operations that ask; a test passes its own answers the same way. Each
// settings dialog is told what it is asked for (`mode`), which its header shows, and answers how the user closed
// it. A dialog opened by layout (road, plateau, sidewalk) answers for that layout alone: cancelled, with the state's
// switch flag set, when the user asked for the other one; its element class runs the layouts (DialogLayouts).
#include "earthworks/BasinDialogFields.hpp"
#include "earthworks/BridgeDialogFields.hpp"
#include "earthworks/PlateauDialogState.hpp"
#include "earthworks/RailwayDialogState.hpp"
#include "earthworks/RetainerWallDialogState.hpp"
#include "earthworks/RoadDialogState.hpp"
#include "earthworks/SectionDialogState.hpp"
#include "earthworks/SidewalkDialogState.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"

#include <cstdint>

class EarthworkDialogs {
public:
    virtual ~EarthworkDialogs() = default;

    // One layout of the road settings dialog (0 the first, 1 the second).
    virtual DialogAnswer OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) = 0;
    // The railway settings dialog, in its single layout.
    virtual DialogAnswer OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) = 0;
    // The cross section settings dialog, both layouts.
    virtual DialogAnswer OpenSectionSettings(SectionDialogState& state, SettingsMode mode) = 0;
    // The retainer wall settings dialog (first layout, the other one at each switch).
    virtual DialogAnswer OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) = 0;
    // The basin settings dialog in its two layouts: confirmed, the record edited and `changed` holding one flag
    // per field id.
    virtual DialogAnswer OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                           SettingsMode mode) = 0;
    // The bridge settings dialog: confirmed, the record edited and `changed` flagged; `railwayLock` keeps the
    // railway fields as they are (placed bridges edited).
    virtual DialogAnswer OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount],
                                            bool railwayLock, SettingsMode mode) = 0;
    // One layout of the plateau settings dialog (0 the first, 1 the second).
    virtual DialogAnswer OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) = 0;
    // One layout of the sidewalk settings dialog (0 the first, 1 the second).
    virtual DialogAnswer OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) = 0;
    // A road section rebuilt from a section window: the tool palette is told that its window changed.
    virtual void SectionWindowRebuilt() = 0;
};
