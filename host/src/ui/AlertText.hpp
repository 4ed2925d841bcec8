#pragma once
// An alert as the user saw it, for the log and the checks: its title, its texts, its buttons and the one chosen.
#include "DGDriver.hpp"

#include <string>

// `alert "Title": "Large text" "Small text"; buttons "OK", "Cancel"; answered "Cancel"`
// ("(no title)" when it had none; the small text only when there was one).
std::string AlertText(const DGDriver::LogRecord& alert);
// The title of an alert or dialog record as the log quotes it, "(no title)" when it had none.
std::string QuotedTitle(const DGDriver::LogRecord& record);
