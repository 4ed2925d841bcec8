#pragma once
// The parts of an element memo freed through the runtime, each the way the host allocates it: the handles, the
// side materials' pointer block, the parameter list with its array cells, the element ID text.
#include "APIElements.hpp"

// Frees every part of `memo` and empties it.
void FreeMemoParts(API_ElementMemo& memo);
// True when `memo` holds any part.
bool MemoHoldsParts(const API_ElementMemo& memo);
