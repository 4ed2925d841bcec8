#pragma once
// The upkeep run when a project is created or opened: road and railway objects written by earlier releases get
// their slope parameters in the current form and the interface language stamped in (once: "use_new_slope" is 1
// afterwards), and the slabs earlier releases placed for their own use go away with their layer.
//
// These run inside a project notification: no dialog, no message; the caller tells what they answer. Each change
// runs as one undoable command, all of it or nothing: a host call that fails takes the command back whole (an
// object whose parameters lack one of the slope values is no failure and stays as it is). A run that finds nothing
// to change makes no undo step. Each answers 0, or the error to tell: ErrModifying for the road and railway
// objects, ErrDatabase for the slabs and their layer.
#include <cstdint>

namespace ProjectOpenUpkeep {

// Every "VY_ROAD" object with a road record (kind 6) whose "use_new_slope" is 0: "slope_depth_fill" and
// "slope_depth_cut" take the old "slope_inc_fill" and "slope_inc_cut", "use_new_slope" becomes 1 and "language"
// the language index + 1. The operator layer is made when missing, opened around the change and given its flags
// back afterwards, inside the command. Nothing to do when the part is not loaded.
int32_t RefreshRoads();
// The same for "VY_RAILWAY" objects with a railway record (kind 21). Their track count and gauge
// ("et_num_track", "et_GaugeTrack") are the user's and stay as they are.
int32_t RefreshRailways();
// Deletes the slabs whose element ID is exactly "VY30 Slab", then the layer "Lodrava Hidden" when no element of
// any database is left on it (deleting a layer deletes its elements; a user's element there keeps the layer).
int32_t CleanUpLegacySlabs();
// The add-on's layers as a project starts: the legacy slabs go with their layer (CleanUpLegacySlabs). It makes no
// layer: a project with nothing to convert or clean comes out of its opening as it went in, and the operator layer
// is made by the road refresh (only when there are objects to convert) or when the palette opens.
int32_t EnsureAddOnLayers();
// The three in turn (roads, railways, layers) as a project is opened: the first that fails ends the upkeep (its own
// change taken back, those before it standing). Its answer, 0 when all three ran.
int32_t RunOpeningUpkeep();

}  // namespace ProjectOpenUpkeep
