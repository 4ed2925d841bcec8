#pragma once
// Element memos: the parts an element keeps beside its record, and the host's memo records (handles) to and from
// that stored form.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "project/MemoPart.hpp"

#include <cstdint>
#include <string>
#include <vector>

// One library-part parameter as the host keeps it: the record (its array handle null) and the array cells' bytes.
struct StoredParam {
    API_AddParType record;
    std::string cells;
    bool IsArray() const { return record.dim1 != 0 && record.dim2 != 0; }
};

// The memo parts of one element; an absent part is a null handle in the host's memo record.
struct StoredMemo {
    MemoPart<std::vector<API_Coord>> coords;
    MemoPart<std::vector<int32_t>> pends;
    MemoPart<std::vector<API_PolyArc>> parcs;
    MemoPart<std::vector<uint32_t>> vertexIDs;
    MemoPart<std::vector<uint32_t>> edgeIDs;
    MemoPart<std::vector<uint32_t>> contourIDs;
    MemoPart<std::vector<API_EdgeTrim>> edgeTrims;
    MemoPart<std::vector<API_OverriddenAttribute>> sideMaterials;
    MemoPart<std::vector<double>> meshPolyZ;
    MemoPart<std::vector<API_MeshLevelCoord>> meshLevelCoords;
    MemoPart<std::vector<int32_t>> meshLevelEnds;
    MemoPart<std::vector<API_SplineDir>> bezierDirs;
    MemoPart<std::vector<StoredParam>> params;
    MemoPart<std::u16string> elemInfoString;
    MemoPart<std::string> textContent;
    MemoPart<std::vector<int32_t>> textLineStarts;

    bool IsEmpty() const;
    // The same parts with the same bytes (parameters: records and cells).
    bool SameAs(const StoredMemo& other) const;
    // Copies the parts in `mask` from `source`; with onlyPresent, parts `source` lacks are left as they are,
    // otherwise they are removed.
    void Apply(const StoredMemo& source, uint64_t mask, bool onlyPresent);
};

// Reads the parts in `mask` that the record holds (null members are absent).
StoredMemo ReadApiMemo(const API_ElementMemo& memo, uint64_t mask);
// Fills a zeroed memo record with new handles for the parts in `mask`; APIERR_MEMFULL (and nothing allocated)
// when an allocation fails.
GSErrCode WriteApiMemo(const StoredMemo& stored, uint64_t mask, API_ElementMemo* memo);
// Releases every handle of the memo (parameter array cells included) and zeroes it.
void DisposeApiMemo(API_ElementMemo* memo);
// A parameter list as the host hands it out: a new handle of records with new array-cell handles; null on failure.
API_AddParType** MakeParamHandle(const std::vector<StoredParam>& params);
// The parameters of a handle (array cells copied); a null handle gives an empty list.
std::vector<StoredParam> ReadParamHandle(API_AddParType** params);
