#include "elements/Localizator.hpp"

#include "foundation/ModuleLog.hpp"

void UpdateLocalizatorLanguage(int16_t) { ModuleLog::LogCall("UpdateLocalizatorLanguage"); }
