#pragma once
// The add-on's undoable command, all of it or nothing: when the work fails, or leaves behind a temporary element
// the host would not delete, its body answers the host with an error and the host takes the whole command back, so
// that nothing half made stays (a line, fill or mesh without its record, a set with some objects changed and others
// not). The caller tells the user.
#include "UniString.hpp"

#include <functional>

// The undo text of the add-on's commands: entry 2 of the undo table ("External command").
GS::UniString ExternalCommandUndoText();

// `work` as one undoable command; true when the host ran it and it succeeded. Inside a command that is running
// already the work runs as part of that one, whose body must then answer the failure; false there too when the
// work stranded a leftover.
bool RunWholeCommand(const std::function<bool()>& work);
