#pragma once
// A hash table keyed by GUID with its slots in one array (open addressing, linear probing, a deletion shifts the
// slots after it back): a lookup reads one slot or a few next to it, not a chain of nodes spread over the heap,
// and growing walks that one array. The null GUID marks an empty slot and is never a key (GuidSet keeps it apart).
#include "APIDefs.hpp"
#include "project/Guids.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

template <typename V>
class GuidTable {
public:
    struct Slot {
        API_Guid key = {};
        V value = {};
    };

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() {
        std::vector<Slot>().swap(slots_);
        size_ = 0;
    }

    // The slot of the key, or capacity() when it is absent.
    size_t IndexOf(const API_Guid& key) const {
        if (slots_.empty() || IsNull(key)) return slots_.size();
        for (size_t i = Home(key);; i = (i + 1) & Mask()) {
            if (IsNull(slots_[i].key)) return slots_.size();
            if (slots_[i].key == key) return i;
        }
    }
    V* Find(const API_Guid& key) {
        const size_t i = IndexOf(key);
        return i < slots_.size() ? &slots_[i].value : nullptr;
    }
    const V* Find(const API_Guid& key) const {
        const size_t i = IndexOf(key);
        return i < slots_.size() ? &slots_[i].value : nullptr;
    }
    // The value of the key, made (V()) when it is absent, and whether it was made. The key is not null.
    std::pair<V*, bool> Insert(const API_Guid& key) {
        if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
        size_t i = Home(key);
        for (; !IsNull(slots_[i].key); i = (i + 1) & Mask())
            if (slots_[i].key == key) return {&slots_[i].value, false};
        slots_[i].key = key;
        ++size_;
        return {&slots_[i].value, true};
    }
    // False when the key is absent. Slots after it may move back.
    bool Erase(const API_Guid& key) {
        size_t hole = IndexOf(key);
        if (hole >= slots_.size()) return false;
        slots_[hole] = Slot();
        --size_;
        // Every slot of the run after the hole that may sit in it (its home is not between the hole and it) moves
        // back, so that no lookup meets an empty slot before its key.
        for (size_t i = (hole + 1) & Mask(); !IsNull(slots_[i].key); i = (i + 1) & Mask()) {
            const size_t home = Home(slots_[i].key);
            const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
            if (stays) continue;
            slots_[hole] = std::move(slots_[i]);
            slots_[i] = Slot();
            hole = i;
        }
        return true;
    }

    // The slots in array order, for walks: empty ones have a null key.
    size_t capacity() const { return slots_.size(); }
    const Slot& SlotAt(size_t i) const { return slots_[i]; }
    static bool IsNull(const API_Guid& g) {
        uint64_t x[2];
        std::memcpy(x, &g, sizeof x);
        return (x[0] | x[1]) == 0;
    }

private:
    size_t Mask() const { return slots_.size() - 1; }
    size_t Home(const API_Guid& key) const { return GuidHash()(key) & Mask(); }
    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.resize(old.empty() ? 16 : old.size() * 2);
        for (Slot& s : old) {
            if (IsNull(s.key)) continue;
            size_t i = Home(s.key);
            while (!IsNull(slots_[i].key)) i = (i + 1) & Mask();
            slots_[i] = std::move(s);
        }
    }

    std::vector<Slot> slots_;  // a power of two of them, at most three quarters used
    size_t size_ = 0;
};

// A set of GUIDs (the null one too).
class GuidSet {
public:
    size_t count(const API_Guid& g) const {
        return GuidTable<char>::IsNull(g) ? hasNull_ : table_.IndexOf(g) < table_.capacity();
    }
    bool insert(const API_Guid& g) {
        if (GuidTable<char>::IsNull(g)) return !std::exchange(hasNull_, true);
        return table_.Insert(g).second;
    }
    template <typename It>
    void insert(It first, It last) {
        for (; first != last; ++first) insert(*first);
    }
    size_t erase(const API_Guid& g) {
        if (GuidTable<char>::IsNull(g)) return std::exchange(hasNull_, false) ? 1 : 0;
        return table_.Erase(g) ? 1 : 0;
    }
    void clear() {
        table_.clear();
        hasNull_ = false;
    }
    void swap(GuidSet& other) {
        std::swap(table_, other.table_);
        std::swap(hasNull_, other.hasNull_);
    }
    size_t size() const { return table_.size() + (hasNull_ ? 1 : 0); }

private:
    GuidTable<char> table_;
    bool hasNull_ = false;
};
