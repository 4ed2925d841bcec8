#include "foundation/OwnedMemo.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/MemoParts.hpp"

#include <cstring>

void DisposeMemo(API_ElementMemo& memo) {
    if (!MemoHoldsParts(memo)) return;
    ACAPI_DisposeElemMemoHdls(&memo);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);  // nothing dangles, whatever the host leaves in it
}

GSErrCode OwnedMemo::Read(const API_Guid& guid, uint64_t mask) {
    DisposeMemo(memo_);
    return ACAPI_Element_GetMemo(guid, &memo_, mask);
}

API_ElementMemo OwnedMemo::Release() {
    API_ElementMemo memo = memo_;
    std::memset(static_cast<void*>(&memo_), 0, sizeof memo_);
    return memo;
}
