#pragma once
// The log's line for each outline of the add-on that a palette action made or changed: how many terrain points of
// its story lie on or inside it and how many it leaves out, the highest of those ("outline: 9 of 11 terrain points
// on or inside it; 2 outside, the highest 150 m"). The corridor search that draws the outline can pass points by at
// the edge of the data, and the terrain is built only inside it: told as the outline is made, not only in `summary`.
#include "HostCalls.hpp"

#include <map>
#include <string>
#include <vector>

class OutlineCoverageNote {
public:
    // Notes the outlines as they are.
    explicit OutlineCoverageNote(HostCalls& host);
    // Logs the coverage of each outline that is new or has other rings.
    ~OutlineCoverageNote();
    OutlineCoverageNote(const OutlineCoverageNote&) = delete;
    OutlineCoverageNote& operator=(const OutlineCoverageNote&) = delete;

private:
    // Each outline's GUID text and its rings' coordinates in order.
    std::map<std::string, std::vector<double>> Outlines() const;

    HostCalls& host_;
    std::map<std::string, std::vector<double>> before_;
};
