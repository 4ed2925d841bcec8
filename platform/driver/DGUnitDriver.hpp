#pragma once
// Driver side of the host's unit settings: the host and the tests set the user's length unit and decimal
// separator (metres and '.' until set).
#include "DGUnit.hpp"

namespace DGUnitDriver {
void SetUnit(const DGUnitData& unit);
void Reset();
}  // namespace DGUnitDriver
