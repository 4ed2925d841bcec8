#pragma once
// The project's elements by GUID in a hash table (a lookup costs the same at any project size; walking the table
// meets them in no particular order), with their creation order kept per database and per type as they come and
// go, so that listing them (all, or one type in the current database) walks only what it lists and sorts nothing.
// An element's type, database and creation serial never change once it is stored; its name (the one a script or
// test gives it) changes only through SetName, so that the names are kept by name too and finding one walks
// nothing.
#include "APIDefs.hpp"
#include "project/GuidTable.hpp"
#include "project/Guids.hpp"
#include "project/StoredElement.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
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
    size_t Count() const { return items_.size() - gaps_; }
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
    using value_type = std::pair<const API_Guid, StoredElement>;

    // Walks the elements in the table's order (no particular one).
    class const_iterator {
    public:
        const_iterator(const ElementStore* store, size_t slot) : store_(store), slot_(slot) { Skip(); }
        const value_type& operator*() const { return *store_->table_.SlotAt(slot_).value; }
        const value_type* operator->() const { return store_->table_.SlotAt(slot_).value.get(); }
        const_iterator& operator++() {
            ++slot_;
            Skip();
            return *this;
        }
        bool operator==(const const_iterator& other) const { return slot_ == other.slot_; }
        bool operator!=(const const_iterator& other) const { return slot_ != other.slot_; }

    private:
        void Skip() {
            while (slot_ < store_->table_.capacity() && !store_->table_.SlotAt(slot_).value) ++slot_;
        }
        const ElementStore* store_;
        size_t slot_;
    };

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, table_.capacity()); }
    const_iterator find(const API_Guid& guid) const { return const_iterator(this, table_.IndexOf(guid)); }
    // Calls f(guid, element) for each element in the table's order, reading ahead: the elements' blocks, then the
    // record and user data each points to, are asked for some elements before f reads them, so that a walk over
    // millions of elements waits for memory a few times over, not once an element and block.
    template <typename F>
    void ForEachReadingAhead(F&& f) const {
        ForEachReadingAhead(0, table_.capacity(), std::forward<F>(f));
    }
    // The same for the table's slots from `from` to before `to` (slots run to capacity()): walks of ranges at once.
    template <typename F>
    void ForEachReadingAhead(size_t from, size_t to, F&& f) const {
        constexpr size_t kNode = 16, kParts = 8;  // how far ahead each level is asked for
        const size_t n = std::min(to, table_.capacity());
        for (size_t i = from; i < n; ++i) {
            if (i + kNode < n) __builtin_prefetch(table_.SlotAt(i + kNode).value.get());
            if (i + kParts < n)
                if (const value_type* ahead = table_.SlotAt(i + kParts).value.get()) {
                    ahead->second.record.Prefetch();
                    if (ahead->second.userData) ahead->second.userData->bytes.Prefetch();
                }
            if (const value_type* v = table_.SlotAt(i).value.get()) f(v->first, v->second);
        }
    }
    size_t size() const { return table_.size(); }
    size_t capacity() const { return table_.capacity(); }
    bool empty() const { return table_.empty(); }
    size_t count(const API_Guid& guid) const { return table_.IndexOf(guid) < table_.capacity() ? 1 : 0; }

    StoredElement* FindMutable(const API_Guid& guid);
    // Stores the element under the GUID (in place of the one stored there); the GUID is not null.
    StoredElement& Put(const API_Guid& guid, StoredElement element);
    void Erase(const API_Guid& guid);
    void Erase(const_iterator it);

    // Every element in creation order.
    std::vector<API_Guid> InCreationOrder() const;
    // The elements of the databases (one or two) in creation order: of one type, or of every type (typeID 0).
    std::vector<API_Guid> InDatabases(const std::vector<API_Guid>& databases, API_ElemTypeID typeID) const;
    // The elements whose creation serial is from `first` to before `end`.
    std::vector<API_Guid> WithSerials(uint64_t first, uint64_t end) const;
    // The elements of every database whose type `wanted` takes, in creation order.
    std::vector<API_Guid> OfTypes(const std::function<bool(API_ElemTypeID)>& wanted) const;
    // How many elements of each type every database holds together.
    std::map<API_ElemTypeID, int64_t> CountByType() const;

    using NameIndex = std::map<std::string, std::set<API_Guid, GuidLess>>;
    // Names the element ("" takes its name away); false when no element has the GUID.
    bool SetName(const API_Guid& guid, const std::string& name);
    // Each name the elements carry, with the elements that carry it in GUID order.
    const NameIndex& Names() const { return byName_; }

private:
    void Index(const API_Guid& guid, const StoredElement& e);
    void Unindex(const API_Guid& guid, const StoredElement& e);
    void UnindexName(const API_Guid& guid, const std::string& name);
    // Merges lists by serial.
    static std::vector<API_Guid> Merged(const std::vector<const CreationOrder*>& lists);

    // Each element in a block of its own, so that it stays where it is while the table grows.
    GuidTable<std::unique_ptr<value_type>> table_;
    std::map<API_Guid, CreationOrder, GuidLess> byDatabase_;
    std::map<std::pair<API_Guid, API_ElemTypeID>, CreationOrder, GuidTypeLess> byType_;
    NameIndex byName_;
};
