#include "foundation/MemoParts.hpp"

#include "foundation/OwnedParams.hpp"
#include "GSRoot.hpp"
#include "UniString.hpp"

#include <cstring>

namespace {
template <typename T>
void Kill(T**& handle) {
    GSHandle h = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&h);
    handle = nullptr;
}
}  // namespace

void FreeMemoParts(API_ElementMemo& memo) {
    GSHandle params = reinterpret_cast<GSHandle>(memo.params);
    ReleaseParamRecords(&params);
    Kill(memo.coords);
    Kill(memo.pends);
    Kill(memo.parcs);
    Kill(memo.vertexIDs);
    Kill(memo.edgeIDs);
    Kill(memo.contourIDs);
    Kill(memo.edgeTrims);
    GSPtr sides = reinterpret_cast<GSPtr>(memo.sideMaterials);
    BMKillPtr(&sides);
    Kill(memo.meshPolyZ);
    Kill(memo.meshLevelCoords);
    Kill(memo.meshLevelEnds);
    Kill(memo.bezierDirs);
    delete memo.elemInfoString;
    Kill(memo.textContent);
    Kill(memo.textLineStarts);
    for (GSHandle& h : memo.reserved) BMKillHandle(&h);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
}

bool MemoHoldsParts(const API_ElementMemo& memo) {
    static const API_ElementMemo empty{};
    return std::memcmp(&memo, &empty, sizeof memo) != 0;
}
