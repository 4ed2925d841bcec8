#include "project/OldIdentifiers.hpp"

bool OldIdentifiers::Find(const API_Guid& database, int32_t oldId, API_Guid* element) const {
    const auto it = map_.find({database, oldId});
    if (it == map_.end()) return false;
    if (element != nullptr) *element = it->second;
    return true;
}
