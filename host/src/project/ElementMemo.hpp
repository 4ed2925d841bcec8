#pragma once
// Element memos: the parts an element keeps beside its record, and the host's memo records (handles) to and from
// that stored form.
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <cstdint>
#include <optional>
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
    std::optional<std::vector<API_Coord>> coords;
    std::optional<std::vector<int32_t>> pends;
    std::optional<std::vector<API_PolyArc>> parcs;
    std::optional<std::vector<uint32_t>> vertexIDs;
    std::optional<std::vector<uint32_t>> edgeIDs;
    std::optional<std::vector<uint32_t>> contourIDs;
    std::optional<std::vector<API_EdgeTrim>> edgeTrims;
    std::optional<std::vector<API_OverriddenAttribute>> sideMaterials;
    std::optional<std::vector<double>> meshPolyZ;
    std::optional<std::vector<API_MeshLevelCoord>> meshLevelCoords;
    std::optional<std::vector<int32_t>> meshLevelEnds;
    std::optional<std::vector<API_SplineDir>> bezierDirs;
    std::optional<std::vector<StoredParam>> params;
    std::optional<std::u16string> elemInfoString;
    std::optional<std::string> textContent;
    std::optional<std::vector<int32_t>> textLineStarts;

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
