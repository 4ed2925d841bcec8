// Element memos: the host's memo records (handles) to and from the stored form.
#include "project/ElementMemo.hpp"

#include "GSRoot.hpp"
#include "UniString.hpp"

#include <cstring>

namespace {
template <typename T>
std::vector<T> ReadHandle(T** handle) {
    std::vector<T> out;
    if (handle == nullptr || *handle == nullptr) return out;
    const size_t n = size_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle))) / sizeof(T);
    out.resize(n);
    if (n > 0) std::memcpy(static_cast<void*>(out.data()), *handle, n * sizeof(T));
    return out;
}

// A new handle holding the records; null on failure.
template <typename T>
T** NewHandle(const std::vector<T>& items) {
    GSHandle h = BMAllocateHandle(GSSize(items.size() * sizeof(T)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return nullptr;
    if (!items.empty()) std::memcpy(*h, static_cast<const void*>(items.data()), items.size() * sizeof(T));
    return reinterpret_cast<T**>(h);
}

template <typename T>
void KillHandle(T*** handle) {
    GSHandle h = reinterpret_cast<GSHandle>(*handle);
    BMKillHandle(&h);
    *handle = nullptr;
}

template <typename Part>
void CopyPart(Part& target, const Part& source, bool onlyPresent) {
    if (source.has_value() || !onlyPresent) target = source;
}

// Allocates one part when present; false when the allocation failed.
template <typename T>
bool WritePart(const MemoPart<std::vector<T>>& part, T*** target) {
    if (!part.has_value()) return true;
    *target = NewHandle(*part);
    return *target != nullptr;
}
}  // namespace

bool StoredMemo::IsEmpty() const {
    return !coords && !pends && !parcs && !vertexIDs && !edgeIDs && !contourIDs && !edgeTrims && !sideMaterials &&
        !meshPolyZ && !meshLevelCoords && !meshLevelEnds && !bezierDirs && !params && !elemInfoString && !textContent &&
        !textLineStarts;
}

void StoredMemo::Apply(const StoredMemo& s, uint64_t mask, bool onlyPresent) {
    if (mask & APIMemoMask_Polygon) {
        CopyPart(coords, s.coords, onlyPresent);
        CopyPart(pends, s.pends, onlyPresent);
        CopyPart(parcs, s.parcs, onlyPresent);
        CopyPart(vertexIDs, s.vertexIDs, onlyPresent);
        CopyPart(edgeIDs, s.edgeIDs, onlyPresent);
        CopyPart(contourIDs, s.contourIDs, onlyPresent);
    }
    if (mask & APIMemoMask_EdgeTrims) CopyPart(edgeTrims, s.edgeTrims, onlyPresent);
    if (mask & APIMemoMask_SideMaterials) CopyPart(sideMaterials, s.sideMaterials, onlyPresent);
    if (mask & APIMemoMask_MeshPolyZ) CopyPart(meshPolyZ, s.meshPolyZ, onlyPresent);
    if (mask & APIMemoMask_MeshLevel) {
        CopyPart(meshLevelCoords, s.meshLevelCoords, onlyPresent);
        CopyPart(meshLevelEnds, s.meshLevelEnds, onlyPresent);
    }
    if (mask & APIMemoMask_BezierDirs) CopyPart(bezierDirs, s.bezierDirs, onlyPresent);
    if (mask & APIMemoMask_AddPars) CopyPart(params, s.params, onlyPresent);
    if (mask & APIMemoMask_ElemInfoString) CopyPart(elemInfoString, s.elemInfoString, onlyPresent);
    if (mask & APIMemoMask_TextContent) {
        CopyPart(textContent, s.textContent, onlyPresent);
        CopyPart(textLineStarts, s.textLineStarts, onlyPresent);
    }
}

std::vector<StoredParam> ReadParamHandle(API_AddParType** params) {
    std::vector<StoredParam> out;
    for (const API_AddParType& rec : ReadHandle(params)) {
        StoredParam p;
        p.record = rec;
        if (p.IsArray()) {
            if (rec.value.array != nullptr) p.cells.assign(*rec.value.array, size_t(BMGetHandleSize(rec.value.array)));
            p.record.value.array = nullptr;
        }
        out.push_back(p);
    }
    return out;
}

API_AddParType** MakeParamHandle(const std::vector<StoredParam>& params) {
    std::vector<API_AddParType> records;
    for (const StoredParam& p : params) records.push_back(p.record);
    API_AddParType** h = NewHandle(records);
    if (h == nullptr) return nullptr;
    for (size_t i = 0; i < params.size(); ++i) {
        if (!params[i].IsArray()) continue;
        GSHandle cells = BMAllocateHandle(GSSize(params[i].cells.size()), 0, 0);
        if (cells == nullptr) {
            for (size_t k = 0; k < i; ++k)
                if (params[k].IsArray()) BMKillHandle(&(*h)[k].value.array);
            KillHandle(&h);
            return nullptr;
        }
        if (!params[i].cells.empty()) std::memcpy(*cells, params[i].cells.data(), params[i].cells.size());
        (*h)[i].value.array = cells;
    }
    return h;
}

StoredMemo ReadApiMemo(const API_ElementMemo& memo, uint64_t mask) {
    StoredMemo s;
    if (mask & APIMemoMask_Polygon) {
        if (memo.coords != nullptr) s.coords = ReadHandle(memo.coords);
        if (memo.pends != nullptr) s.pends = ReadHandle(memo.pends);
        if (memo.parcs != nullptr) s.parcs = ReadHandle(memo.parcs);
        if (memo.vertexIDs != nullptr) s.vertexIDs = ReadHandle(memo.vertexIDs);
        if (memo.edgeIDs != nullptr) s.edgeIDs = ReadHandle(memo.edgeIDs);
        if (memo.contourIDs != nullptr) s.contourIDs = ReadHandle(memo.contourIDs);
    }
    if ((mask & APIMemoMask_EdgeTrims) && memo.edgeTrims != nullptr) s.edgeTrims = ReadHandle(memo.edgeTrims);
    if ((mask & APIMemoMask_SideMaterials) && memo.sideMaterials != nullptr) {
        const GSPtr block = reinterpret_cast<GSPtr>(memo.sideMaterials);
        const size_t n = size_t(BMGetPtrSize(block)) / sizeof(API_OverriddenAttribute);
        s.sideMaterials = std::vector<API_OverriddenAttribute>(memo.sideMaterials, memo.sideMaterials + n);
    }
    if ((mask & APIMemoMask_MeshPolyZ) && memo.meshPolyZ != nullptr) s.meshPolyZ = ReadHandle(memo.meshPolyZ);
    if (mask & APIMemoMask_MeshLevel) {
        if (memo.meshLevelCoords != nullptr) s.meshLevelCoords = ReadHandle(memo.meshLevelCoords);
        if (memo.meshLevelEnds != nullptr) s.meshLevelEnds = ReadHandle(memo.meshLevelEnds);
    }
    if ((mask & APIMemoMask_BezierDirs) && memo.bezierDirs != nullptr) s.bezierDirs = ReadHandle(memo.bezierDirs);
    if ((mask & APIMemoMask_AddPars) && memo.params != nullptr) s.params = ReadParamHandle(memo.params);
    if ((mask & APIMemoMask_ElemInfoString) && memo.elemInfoString != nullptr)
        s.elemInfoString = memo.elemInfoString->ToU16String();
    if ((mask & APIMemoMask_TextContent) && memo.textContent != nullptr) {
        const size_t size = size_t(BMGetHandleSize(memo.textContent));
        s.textContent = std::string(*memo.textContent, strnlen(*memo.textContent, size));
    }
    if ((mask & APIMemoMask_TextContent) && memo.textLineStarts != nullptr)
        s.textLineStarts = ReadHandle(memo.textLineStarts);
    return s;
}

GSErrCode WriteApiMemo(const StoredMemo& s, uint64_t mask, API_ElementMemo* memo) {
    std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    bool ok = true;
    if (mask & APIMemoMask_Polygon) {
        ok = ok && WritePart(s.coords, &memo->coords) && WritePart(s.pends, &memo->pends) &&
            WritePart(s.parcs, &memo->parcs) && WritePart(s.vertexIDs, &memo->vertexIDs) &&
            WritePart(s.edgeIDs, &memo->edgeIDs) && WritePart(s.contourIDs, &memo->contourIDs);
    }
    if (mask & APIMemoMask_EdgeTrims) ok = ok && WritePart(s.edgeTrims, &memo->edgeTrims);
    if (ok && (mask & APIMemoMask_SideMaterials) && s.sideMaterials) {
        const size_t bytes = s.sideMaterials->size() * sizeof(API_OverriddenAttribute);
        GSPtr block = BMAllocatePtr(GSSize(bytes), ALLOCATE_CLEAR, 0);
        if (block == nullptr) {
            ok = false;
        } else {
            if (bytes > 0) std::memcpy(block, s.sideMaterials->data(), bytes);
            memo->sideMaterials = reinterpret_cast<API_OverriddenAttribute*>(block);
        }
    }
    if (mask & APIMemoMask_MeshPolyZ) ok = ok && WritePart(s.meshPolyZ, &memo->meshPolyZ);
    if (mask & APIMemoMask_MeshLevel)
        ok = ok && WritePart(s.meshLevelCoords, &memo->meshLevelCoords) &&
            WritePart(s.meshLevelEnds, &memo->meshLevelEnds);
    if (mask & APIMemoMask_BezierDirs) ok = ok && WritePart(s.bezierDirs, &memo->bezierDirs);
    if (ok && (mask & APIMemoMask_AddPars) && s.params) {
        memo->params = MakeParamHandle(*s.params);
        ok = memo->params != nullptr;
    }
    if (ok && (mask & APIMemoMask_TextContent) && s.textContent) {
        GSHandle h = BMAllocateHandle(GSSize(s.textContent->size() + 1), ALLOCATE_CLEAR, 0);
        if (h == nullptr) {
            ok = false;
        } else {
            std::memcpy(*h, s.textContent->c_str(), s.textContent->size() + 1);
            memo->textContent = h;
        }
    }
    if (mask & APIMemoMask_TextContent) ok = ok && WritePart(s.textLineStarts, &memo->textLineStarts);
    if (ok && (mask & APIMemoMask_ElemInfoString) && s.elemInfoString)
        memo->elemInfoString = new GS::UniString(*s.elemInfoString);
    if (!ok) {
        DisposeApiMemo(memo);
        return APIERR_MEMFULL;
    }
    return NoError;
}

void DisposeApiMemo(API_ElementMemo* memo) {
    if (memo == nullptr) return;
    KillHandle(&memo->coords);
    KillHandle(&memo->pends);
    KillHandle(&memo->parcs);
    KillHandle(&memo->vertexIDs);
    KillHandle(&memo->edgeIDs);
    KillHandle(&memo->contourIDs);
    KillHandle(&memo->edgeTrims);
    if (memo->sideMaterials != nullptr) {
        GSPtr block = reinterpret_cast<GSPtr>(memo->sideMaterials);
        BMKillPtr(&block);
    }
    KillHandle(&memo->meshPolyZ);
    KillHandle(&memo->meshLevelCoords);
    KillHandle(&memo->meshLevelEnds);
    KillHandle(&memo->bezierDirs);
    if (memo->params != nullptr && *memo->params != nullptr) {
        const GSSize n =
            BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->params)) / GSSize(sizeof(API_AddParType));
        for (GSSize i = 0; i < n; ++i) {
            API_AddParType& rec = (*memo->params)[i];
            if (rec.dim1 != 0 && rec.dim2 != 0) BMKillHandle(&rec.value.array);
        }
    }
    KillHandle(&memo->params);
    delete memo->elemInfoString;
    BMKillHandle(&memo->textContent);
    KillHandle(&memo->textLineStarts);
    for (GSHandle& h : memo->reserved) BMKillHandle(&h);
    std::memset(static_cast<void*>(memo), 0, sizeof *memo);
}

namespace {
size_t Units(const char16_t* text, size_t max) {
    size_t n = 0;
    while (n < max && text[n] != 0) ++n;
    return n;
}

// Two parameters hold the same: a text's bytes after its terminator and a number's unused bytes do not count.
bool SameParam(const StoredParam& a, const StoredParam& b) {
    const API_AddParType& x = a.record;
    const API_AddParType& y = b.record;
    if (x.typeID != y.typeID || x.index != y.index || x.flags != y.flags || x.dim1 != y.dim1 || x.dim2 != y.dim2 ||
        std::strncmp(x.name, y.name, sizeof x.name) != 0 || a.cells != b.cells)
        return false;
    const size_t dx = Units(x.uDescname, 256), dy = Units(y.uDescname, 256);
    if (dx != dy || std::memcmp(x.uDescname, y.uDescname, dx * sizeof(char16_t)) != 0) return false;
    if (a.IsArray()) return true;
    if (x.typeID != APIParT_Text) return std::memcmp(&x.value.real, &y.value.real, sizeof x.value.real) == 0;
    const size_t vx = Units(x.value.uStr, 256), vy = Units(y.value.uStr, 256);
    return vx == vy && std::memcmp(x.value.uStr, y.value.uStr, vx * sizeof(char16_t)) == 0;
}

template <typename T>
bool SameBytes(const MemoPart<std::vector<T>>& a, const MemoPart<std::vector<T>>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return a->size() == b->size() && (a->empty() || std::memcmp(a->data(), b->data(), a->size() * sizeof(T)) == 0);
}
}  // namespace

bool StoredMemo::SameAs(const StoredMemo& other) const {
    if (params.has_value() != other.params.has_value()) return false;
    if (params) {
        if (params->size() != other.params->size()) return false;
        for (size_t i = 0; i < params->size(); ++i) {
            if (!SameParam((*params)[i], (*other.params)[i])) return false;
        }
    }
    return SameBytes(coords, other.coords) && SameBytes(pends, other.pends) && SameBytes(parcs, other.parcs) &&
        SameBytes(vertexIDs, other.vertexIDs) && SameBytes(edgeIDs, other.edgeIDs) &&
        SameBytes(contourIDs, other.contourIDs) && SameBytes(edgeTrims, other.edgeTrims) &&
        SameBytes(sideMaterials, other.sideMaterials) && SameBytes(meshPolyZ, other.meshPolyZ) &&
        SameBytes(meshLevelCoords, other.meshLevelCoords) && SameBytes(meshLevelEnds, other.meshLevelEnds) &&
        SameBytes(bezierDirs, other.bezierDirs) &&
        elemInfoString.value_or(std::u16string()) == other.elemInfoString.value_or(std::u16string()) &&
        textContent == other.textContent && textLineStarts == other.textLineStarts;
}
