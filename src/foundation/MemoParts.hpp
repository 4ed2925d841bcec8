#pragma once
// The parts of an element memo freed through the runtime, each the way the host allocates it: the handles, the
// side materials' pointer block, the parameter list with its array cells, the element ID text.
#include "APIElements.hpp"
#include "GSRoot.hpp"

// Frees one typed handle of a memo and empties it.
template <typename T>
void KillMemoHandle(T**& handle) {
    GSHandle h = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&h);
    handle = nullptr;
}

// Frees every part of `memo` and empties it.
void FreeMemoParts(API_ElementMemo& memo);
// True when `memo` holds any part.
bool MemoHoldsParts(const API_ElementMemo& memo);
