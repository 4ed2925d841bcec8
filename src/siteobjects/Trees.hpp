#pragma once
// The trees: placing tree objects and editing the selected ones, each run by the Trees command inside one
// undoable command. Not built yet: each notes its call and answers true.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

// Places trees, on `terrain` when there is one (null: none in the project).
bool PlaceTrees(const API_Element* terrain);
// Edits the selected tree objects.
bool EditSelectedTrees(const QV_List<API_Element>& trees);
