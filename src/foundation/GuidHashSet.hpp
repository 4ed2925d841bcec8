#pragma once
// A set of GUIDs in one array (open addressing, linear probing; an erase shifts the slots after it back): adding
// or finding one reads a slot or a few next to it, at any size. It keeps no order.
#include "APIDefs.hpp"

#include <cstddef>
#include <vector>

class GuidHashSet {
public:
    // True when the GUID was not in the set.
    bool Insert(const API_Guid& guid);
    // True when the GUID was in the set.
    bool Erase(const API_Guid& guid);
    bool Contains(const API_Guid& guid) const;
    // Room for `count` GUIDs in all without growing on the way.
    void Reserve(size_t count);
    void Clear();
    size_t Size() const { return size_ + (hasNull_ ? 1 : 0); }

private:
    size_t Home(const API_Guid& guid) const;
    size_t Mask() const { return slots_.size() - 1; }
    // The slot that holds the GUID, or slots_.size() when none does.
    size_t IndexOf(const API_Guid& guid) const;
    void Grow();
    void GrowTo(size_t slots);  // a power of two, more than now

    std::vector<API_Guid> slots_;  // a power of two of them, at most three quarters used; null: empty
    size_t size_ = 0;              // the GUIDs in slots_
    bool hasNull_ = false;         // the null GUID, which marks an empty slot, is kept apart
};
