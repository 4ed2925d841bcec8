#include "siteobjects/Marker.hpp"

#include "foundation/ModuleLog.hpp"

void RunMarker(Settings&) { ModuleLog::LogCall("RunMarker"); }
