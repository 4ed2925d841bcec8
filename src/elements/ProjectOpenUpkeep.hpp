#pragma once
// The upkeep run when a project is created or opened: road and railway objects written by earlier releases get
// their slope parameters in the current form and the interface language stamped in (once: "use_new_slope" is 1
// afterwards), and the slabs earlier releases placed for their own use go away with their layer.
//
// These run inside a project notification: no dialog, no message. Each change runs as one undoable command,
// and a run that finds nothing to change makes no undo step.
namespace ProjectOpenUpkeep {

// Every "VY_ROAD" object with a road record (kind 6) whose "use_new_slope" is 0: "slope_depth_fill" and
// "slope_depth_cut" take the old "slope_inc_fill" and "slope_inc_cut", "use_new_slope" becomes 1 and "language"
// the language index + 1. An object is written only when every one of these reads and writes succeeded. The
// operator layer is opened around the change and given its flags back afterwards.
void RefreshRoads();
// The same for "VY_RAILWAY" objects with a railway record (kind 21). Their track count and gauge
// ("et_num_track", "et_GaugeTrack") are the user's and stay as they are.
void RefreshRailways();
// Deletes the slabs whose element ID is exactly "VY30 Slab", then the layer "Lodrava Hidden" when no element of
// any database is left on it (deleting a layer deletes its elements; a user's element there keeps the layer).
void CleanUpLegacySlabs();
// The add-on's layers as a project starts: the legacy slabs go with their layer (CleanUpLegacySlabs). It makes no
// layer: a project with nothing to convert or clean comes out of its opening as it went in, and the operator layer
// is made by the road refresh (only when there are objects to convert) or when the palette opens.
void EnsureAddOnLayers();

}  // namespace ProjectOpenUpkeep
