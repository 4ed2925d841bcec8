#pragma once
// The alerts the dialog manager's log holds: what a test reads to know whether, and how often, the user was told.
#include "DGDriver.hpp"

#include <cstddef>
#include <string>
#include <vector>

// The alerts from the log's record `from` on.
inline size_t AlertsSince(size_t from = 0) {
    size_t n = 0;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    for (size_t i = from; i < log.size(); ++i) n += log[i].kind == "alert" ? 1 : 0;
    return n;
}

// The large text of each alert from the log's record `from` on, in order.
inline std::vector<std::string> AlertTextsSince(size_t from = 0) {
    std::vector<std::string> texts;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    for (size_t i = from; i < log.size(); ++i)
        if (log[i].kind == "alert") texts.push_back(log[i].texts.empty() ? std::string() : log[i].texts[0]);
    return texts;
}
