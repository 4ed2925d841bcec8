#pragma once
// The start every newly placed library-part object shares, earthworks and site objects alike.
#include "APIElements.hpp"

#include <cstdint>

// `placed` from the host's object defaults and `memo` holding the part's default parameters (`memo` otherwise
// empty); false when the host gives no defaults or the part no parameters.
bool NewLibPartObject(int32_t libIndex, API_Element& placed, API_ElementMemo& memo);
