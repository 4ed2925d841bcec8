#pragma once
// The project database's entries of the host function table (elements, memos, user data, selection,
// attributes, undoable commands, the Database and Automate selector families and the project's Environment
// selectors). Each entry serves StandinHost::Current()'s project; FailCall names them as listed here. For the
// Database and Automate families FailCall's key is the selector word (e.g. API_Selector("CDAT")), -1 any.
#include "APIDefs.hpp"

#include <string>
#include <vector>

class StandinHost;
struct HostProject;

void InstallProjectFunctions(API_HostFunctionTable* table);
const std::vector<std::string>& ProjectFunctionNames();
// The project's Environment selectors ('GTBX', 'STBX', 'GSTO', 'CSTO'); false when `call` is none of them.
bool ProjectEnvironment(StandinHost& host, const API_SelectorCall* call, GSErrCode* result);
// Objects placed in the project find their library parts (existence, default parameters, names) among the
// project's loaded libraries.
void ConnectProjectLibraries(HostProject& project);
