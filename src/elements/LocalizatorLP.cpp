#include "elements/LocalizatorLP.hpp"

#include "foundation/ModuleLog.hpp"

#include <string>

void LocalizatorLP::Place(Settings*, int16_t previousLanguage) {
    ModuleLog::LogCall(("LocalizatorLP::Place " + std::to_string(previousLanguage)).c_str());
}
