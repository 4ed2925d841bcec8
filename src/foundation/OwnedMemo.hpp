#pragma once
// An element memo with one owner: its handles are freed once, on whatever path the scope that holds it is left.
#include "APIElements.hpp"
#include "GSRoot.hpp"

#include <cstdint>

// Frees every part of `memo` and empties it. The host frees its own handles; when it refuses (or is gone), the
// parts are freed here, each the way the host allocates it, so a failed disposal leaks nothing.
void DisposeMemo(API_ElementMemo& memo);

class OwnedMemo {
public:
    OwnedMemo() = default;
    ~OwnedMemo() { DisposeMemo(memo_); }
    OwnedMemo(const OwnedMemo&) = delete;
    OwnedMemo& operator=(const OwnedMemo&) = delete;

    // Reads the element's memo parts of `mask` in place of what was held. Whatever the host left in the memo is
    // owned, also when it answers an error.
    GSErrCode Read(const API_Guid& guid, uint64_t mask);

    API_ElementMemo& operator*() { return memo_; }
    const API_ElementMemo& operator*() const { return memo_; }
    API_ElementMemo* operator->() { return &memo_; }
    const API_ElementMemo* operator->() const { return &memo_; }
    API_ElementMemo* Get() { return &memo_; }

    // Frees every part now.
    void Dispose() { DisposeMemo(memo_); }
    // Hands every part to the caller, who frees them from now on; the owner is left empty.
    API_ElementMemo Release();

private:
    API_ElementMemo memo_{};
};
