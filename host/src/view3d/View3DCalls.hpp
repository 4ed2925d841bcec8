#pragma once
// The 3D view's selectors, over the serving host's project (view3d/View3DState.hpp):
// - Environment 'GLIB': the project's library folders and the index of the one new objects are saved into;
//   "GP3D" / "CP3D": the 3D projection read and set (every set is recorded);
// - Automate "SS3D" / "SA3D": the 3D window comes to the front showing the selection / every element;
//   'SAVE' (file type 17, format 3): what the view shows saved as a GDL object (view3d/ViewObject.hpp).
//
// The stand-in's GDL object files are library descriptions: a save to "<folder>\<name>.gsm" writes the part
// "<name>" into that folder as the host writes any new library part ("<name>.lpd", or the file of the part of
// that name it replaces there) and makes it a part of that library. Objects are saved only into the project's
// library folders; a save elsewhere is refused.
class HostFunctionSet;

void InstallView3DCalls(HostFunctionSet& set);
