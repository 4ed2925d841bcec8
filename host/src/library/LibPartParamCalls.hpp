#pragma once
// The Goodies selectors of library-part parameter lists: one library part's default parameter list at a time is
// opened ('OPAR'), copied out to the add-on ('GPAR') and closed ('CPAR').
class HostFunctionSet;

void InstallLibPartParamCalls(HostFunctionSet& set);
