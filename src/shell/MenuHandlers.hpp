#pragma once
// One host menu handler per menu resource 32500 to 32506 (one per language).
#include "APIDefs.hpp"

constexpr int32_t MenuHandlerCount = 7;

// The handler of menu resource MenuResBase + i.
API_MenuCommandProc* MenuHandlerProc(int32_t i);
