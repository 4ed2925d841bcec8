#pragma once
// How the families of host functions over the project database serve a call: the database's reason for a
// refusal starts empty and is logged with a refusal.
#include "HostCalls.hpp"
#include "project/ProjectDatabase.hpp"

#include <string>

// Runs one entry of the table for the serving host's project (see ServeCall).
template <typename F>
GSErrCode ServeDatabaseCall(const char* name, F&& body) {
    return ServeCall(name, -1, [&](HostCalls& host) {
        ProjectDatabase& db = host.Database();
        db.ClearRefusal();
        const GSErrCode err = body(host, db);
        if (err != NoError && !db.LastRefusal().empty())
            host.Log(std::string("  host: ") + name + " refused (" + ErrorText(err) + "): " + db.LastRefusal());
        return err;
    });
}

// A selector over the project database, for the selector families: Family names it in the log, or is null
// when refusals go unlogged (the Environment family).
GSErrCode ServeProjectSelector(const char* family, HostCalls& host, const API_SelectorCall* call, SelectorHandler body);
template <const char* Family, SelectorHandler Body>
GSErrCode ProjectSelector(HostCalls& host, const API_SelectorCall* call) {
    return ServeProjectSelector(Family, host, call, Body);
}
inline constexpr char kDatabaseFamily[] = "Database";
inline constexpr char kAutomateFamily[] = "Automate";
inline constexpr const char* kUnloggedFamily = nullptr;
