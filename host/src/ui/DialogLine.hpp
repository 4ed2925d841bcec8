#pragma once
// A dialog the module opened, as the log prints it: one line saying which dialog it was and how the user
// answered it, at every log level.
#include "DGDriver.hpp"

#include <string>

// `dialog 32554 "Road settings": set item 8 to text "8", click item 1; closed with item 1`; a modal dialog
// with nothing queued: `...: nothing queued: closed with OK` (and what was queued for dialogs not open); a
// palette as it opens or refuses an action; an alert as AlertText says; a folder, file or colour dialog with
// what it was given, or cancelled. Each fault of the wait follows ("; error: ..."). Empty when the event
// prints nothing (a palette closing).
std::string DialogLine(DGDriver::DialogEvent event, const DGDriver::LogRecord& record);
