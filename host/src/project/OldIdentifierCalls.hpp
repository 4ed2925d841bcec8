#pragma once
// 'OGID': an old numeric element identifier of the serving host's project turned into the element's GUID.
class HostFunctionSet;

void InstallOldIdentifierCalls(HostFunctionSet& set);
