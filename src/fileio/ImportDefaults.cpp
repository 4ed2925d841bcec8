#include "fileio/ImportDefaults.hpp"

#include "foundation/ModuleLog.hpp"

void ImportDefaults::Init() { ModuleLog::LogCall("ImportDefaults::Init"); }

ImportDefaults& ImportDefaultsRecord() {
    static ImportDefaults record;
    return record;
}
