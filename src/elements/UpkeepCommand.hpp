#pragma once
// The undoable command of an upkeep that converts or cleans up a project: all of it or nothing. When a step fails
// the body answers the host an error, so the host takes the whole command back and the project is as it was.
#include <functional>

// Runs `pass` as one undoable command ("External command", entry 2 of the undo table) that the host takes back
// whole when `pass` answers false. Inside a command that is running already it runs as part of that one, whose
// body must then answer the failure. False when `pass` failed or the host ran no command at all.
bool RunWholeUpkeepCommand(const std::function<bool()>& pass);
