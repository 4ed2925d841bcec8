#pragma once
// The road's and the railway's settings-dialog options, as a bit set (earthworks/RoadTwin).
#include <cstdint>

namespace TwinDialog {
constexpr uint32_t PositionChoice = 1u;  // the reference-line radios enabled
constexpr uint32_t DefaultWidth = 2u;    // the general road and railway width shown, and written by OK
constexpr uint32_t Editing = 4u;         // placed sets edited: what their geometry fixes is locked
}  // namespace TwinDialog
