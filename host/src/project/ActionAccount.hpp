#pragma once
// The host's account of what one action of the module did to the user's tools, the part no dialog shows: the
// tool the toolbox shows after it ("toolbox: polyline tool chosen"), the tools whose defaults it left changed
// ("defaults: polyline tool's defaults stored"), both at every log level since the user sees them, and what it
// read of the selection ("selection: 1 mesh, 2 polylines read"), at the normal level. A tool switched and
// switched back within the action, or defaults written back as they were, are not told.
#include "HostCalls.hpp"

#include <map>
#include <string>
#include <utility>

class ActionAccount {
public:
    // Notes the toolbox and the tools' defaults as they are, and opens the account of the selection reads.
    explicit ActionAccount(HostCalls& host);
    // Logs what changed; nothing when the action left the toolbox and the defaults as they were.
    ~ActionAccount();
    ActionAccount(const ActionAccount&) = delete;
    ActionAccount& operator=(const ActionAccount&) = delete;

    // "1 mesh, 2 polylines", "nothing selected": the selection a read handed out, by element type.
    static std::string SelectionText(const std::map<API_ElemTypeID, int32_t>& types);

private:
    HostCalls& host_;
    API_ToolBoxItem toolbox_ = {};
    std::map<std::pair<API_ElemTypeID, int32_t>, API_Element> defaults_;
};
