#pragma once
// What the outline's settings dialog gave its corridor search as it closed, for its line in the log: the corridor's
// width, half of it on each side of the clicked path, and its angle. When the outline then comes out unusable
// ("The resulting polygon is not suitable.") these are the figures to change; the module's own report line tells
// where the outline crosses itself.
#include "DGDriver.hpp"

#include <string>

// `; corridor 25.3 m wide (12.65 m each side of the clicked path), angle 120 degrees`; "" for another dialog or one
// cancelled.
std::string CorridorNote(const DGDriver::LogRecord& record);
