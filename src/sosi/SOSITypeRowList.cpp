#include "sosi/SOSITypeRowList.hpp"

#include "foundation/ModuleLog.hpp"

void SOSITypeRowList::Clear() { ModuleLog::LogCall("SOSITypeRowList::Clear"); }

SOSITypeRowList& SOSITypeRows() {
    static SOSITypeRowList rows;
    return rows;
}
