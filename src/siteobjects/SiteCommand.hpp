#pragma once
// The undoable command around a site object's change (a tree, a marker, a building, a wall, a coloured area, a
// camera path, a gravity step, a volume calculation): all of it or nothing.
#include "UniString.hpp"

#include <functional>

// The undo text of the site objects' commands ("External command").
GS::UniString SiteUndoText();

// `work` as one undoable command; true when it succeeded. A work that fails, or that leaves a temporary element
// behind, answers the host with an error, and the host takes the whole command back: what the work changed
// before its failure does not stay. False too when the host does not run the command. The caller tells the user.
bool RunSiteCommand(const std::function<bool()>& work);
