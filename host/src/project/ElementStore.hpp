#pragma once
// The project's elements by GUID in a hash table (a lookup costs the same at any project size; walking the table
// meets them in no particular order), with their creation order kept per database and per type as they come and
// go, so that listing them (all, or one type in the current database) walks only what it lists and sorts nothing.
// An element's type, database and creation serial never change once it is stored.
#include "APIDefs.hpp"
#include "project/Guids.hpp"
#include "project/StoredElement.hpp"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

struct GuidTypeLess {
    bool operator()(const std::pair<API_Guid, API_ElemTypeID>& a, const std::pair<API_Guid, API_ElemTypeID>& b) const {
        const GuidLess less;
        if (less(a.first, b.first)) return true;
        if (less(b.first, a.first)) return false;
        return a.second < b.second;
    }
};

// GUIDs in creation order. A removed one leaves a gap that is swept when gaps are half the list; one that comes
// back (an undo) fills its gap again.
class CreationOrder {
public:
    void Add(uint64_t serial, const API_Guid& guid);
    void Remove(uint64_t serial);
    bool Empty() const { return items_.size() == gaps_; }
    // The GUIDs of serials from `first` to before `end`.
    void InSerialRange(uint64_t first, uint64_t end, std::vector<API_Guid>* out) const;
    template <typename F>
    void ForEach(F&& f) const {
        for (const Item& i : items_)
            if (!IsNull(i.second)) f(i.first, i.second);
    }

private:
    using Item = std::pair<uint64_t, API_Guid>;
    static bool IsNull(const API_Guid& g);
    std::vector<Item> items_;  // by serial; a null GUID is a gap
    size_t gaps_ = 0;
};

class ElementStore {
public:
    using Map = std::unordered_map<API_Guid, StoredElement, GuidHash>;
    using const_iterator = Map::const_iterator;

    const_iterator begin() const { return elements_.begin(); }
    const_iterator end() const { return elements_.end(); }
    const_iterator find(const API_Guid& guid) const { return elements_.find(guid); }
    size_t size() const { return elements_.size(); }
    bool empty() const { return elements_.empty(); }
    size_t count(const API_Guid& guid) const { return elements_.count(guid); }

    StoredElement* FindMutable(const API_Guid& guid);
    // Stores the element under the GUID (in place of the one stored there).
    StoredElement& Put(const API_Guid& guid, StoredElement element);
    void Erase(const API_Guid& guid);
    const_iterator Erase(const_iterator it);

    // Every element in creation order.
    std::vector<API_Guid> InCreationOrder() const;
    // The elements of the databases (one or two) in creation order: of one type, or of every type (typeID 0).
    std::vector<API_Guid> InDatabases(const std::vector<API_Guid>& databases, API_ElemTypeID typeID) const;
    // The elements whose creation serial is from `first` to before `end`.
    std::vector<API_Guid> WithSerials(uint64_t first, uint64_t end) const;

private:
    void Index(const API_Guid& guid, const StoredElement& e);
    void Unindex(const StoredElement& e);
    // Merges lists by serial.
    static std::vector<API_Guid> Merged(const std::vector<const CreationOrder*>& lists);

    Map elements_;
    std::map<API_Guid, CreationOrder, GuidLess> byDatabase_;
    std::map<std::pair<API_Guid, API_ElemTypeID>, CreationOrder, GuidTypeLess> byType_;
};
