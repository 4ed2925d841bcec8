#pragma once
// The change flags the basin settings dialog sets: one per field id of the basin settings.
#include "settings/BasinSettings.hpp"

#include <cstdint>

namespace Basin {

constexpr int32_t BasinFieldCount = BasinSettings::FieldCount;

}  // namespace Basin
