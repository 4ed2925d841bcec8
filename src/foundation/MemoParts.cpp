#include "foundation/MemoParts.hpp"

#include "foundation/OwnedParams.hpp"
#include "GSRoot.hpp"
#include "UniString.hpp"

#include <cstring>

void FreeMemoParts(API_ElementMemo& memo) {
    GSHandle params = reinterpret_cast<GSHandle>(memo.params);
    ReleaseParamRecords(&params);
    KillMemoHandle(memo.coords);
    KillMemoHandle(memo.pends);
    KillMemoHandle(memo.parcs);
    KillMemoHandle(memo.vertexIDs);
    KillMemoHandle(memo.edgeIDs);
    KillMemoHandle(memo.contourIDs);
    KillMemoHandle(memo.edgeTrims);
    GSPtr sides = reinterpret_cast<GSPtr>(memo.sideMaterials);
    BMKillPtr(&sides);
    KillMemoHandle(memo.meshPolyZ);
    KillMemoHandle(memo.meshLevelCoords);
    KillMemoHandle(memo.meshLevelEnds);
    KillMemoHandle(memo.bezierDirs);
    delete memo.elemInfoString;
    KillMemoHandle(memo.textContent);
    KillMemoHandle(memo.textLineStarts);
    for (GSHandle& h : memo.reserved) BMKillHandle(&h);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
}

bool MemoHoldsParts(const API_ElementMemo& memo) {
    static const API_ElementMemo empty{};
    return std::memcmp(&memo, &empty, sizeof memo) != 0;
}
