#pragma once
// The host table's library-part section entries: section lists, section reads, updates and adds, parameter
// definition sections with their details, library-part creation and saving, and the overwrite switch 'OWLP' of
// the Environment family. Each serves StandinHost::Current()'s libraries; FailCall names them as listed here.
#include "APIDefs.hpp"

#include <string>
#include <vector>

class StandinHost;

void InstallLibPartSectionFunctions(API_HostFunctionTable* table);
const std::vector<std::string>& LibPartSectionFunctionNames();
// 'OWLP'; false when `call` is another selector.
bool LibPartSectionEnvironment(StandinHost& host, const API_SelectorCall* call, GSErrCode* result);
