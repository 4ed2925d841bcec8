#pragma once
// The host's attribute choosers in the module's dialogs: the Interface selector 'SUCC' binds a user-control item
// to one (pens, fills, materials, layers, line types, building materials); what the user then picks in it must
// be an attribute of the project.
class HostFunctionSet;

void InstallUserControlCalls(HostFunctionSet& set);
