#pragma once
// The numeric identifiers that an earlier release of the project gave its elements, one map per database. The
// project keeps them so that the module can turn the old identifiers its objects still carry into GUIDs.
#include "APIDefs.hpp"
#include "project/Guids.hpp"

#include <cstdint>
#include <map>
#include <utility>

class OldIdentifiers {
public:
    // The element `element` carried `oldId` in `database` (a later call for the same pair replaces it).
    void Set(const API_Guid& database, int32_t oldId, const API_Guid& element) { map_[{database, oldId}] = element; }
    // False when the pair is unknown.
    bool Find(const API_Guid& database, int32_t oldId, API_Guid* element) const;
    void Clear() { map_.clear(); }
    size_t Count() const { return map_.size(); }

private:
    struct KeyLess {
        bool operator()(const std::pair<API_Guid, int32_t>& a, const std::pair<API_Guid, int32_t>& b) const {
            if (GuidLess()(a.first, b.first)) return true;
            if (GuidLess()(b.first, a.first)) return false;
            return a.second < b.second;
        }
    };
    std::map<std::pair<API_Guid, int32_t>, API_Guid, KeyLess> map_;
};
