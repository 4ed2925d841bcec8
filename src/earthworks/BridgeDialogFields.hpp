#pragma once
// The change flags the bridge settings dialog sets: one per field id of the bridge settings.
#include "settings/BridgeSettings.hpp"

#include <cstdint>

constexpr int32_t BridgeFieldCount = BridgeSettings::FieldCount;
