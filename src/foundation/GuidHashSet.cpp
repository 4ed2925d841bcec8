#include "foundation/GuidHashSet.hpp"

#include <cstdint>
#include <cstring>

namespace {
bool IsNull(const API_Guid& g) {
    uint64_t x[2];
    std::memcpy(x, &g, sizeof x);
    return (x[0] | x[1]) == 0;
}
bool Same(const API_Guid& a, const API_Guid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

size_t GuidHashSet::Home(const API_Guid& guid) const {
    uint64_t x[2];
    std::memcpy(x, &guid, sizeof x);
    // Both halves folded in and spread by one multiply: GUIDs may differ in a few bits of either half. The first
    // byte's four lowest bits are kept as the lowest: GUIDs handed out one after another fall side by side, sixteen
    // at a time, so that a set filled in their order is written in runs.
    constexpr uint64_t run = 15;
    const uint64_t folded = (x[0] & ~run) ^ ((x[1] << 31) | (x[1] >> 33));
    const uint64_t spread = folded * 0xD6E8FEB86659FD93ull;
    return size_t(((spread ^ (spread >> 32)) & ~run) | (x[0] & run)) & Mask();
}

size_t GuidHashSet::IndexOf(const API_Guid& guid) const {
    if (slots_.empty()) return 0;
    for (size_t i = Home(guid);; i = (i + 1) & Mask()) {
        if (IsNull(slots_[i])) return slots_.size();
        if (Same(slots_[i], guid)) return i;
    }
}

bool GuidHashSet::Contains(const API_Guid& guid) const {
    if (IsNull(guid)) return hasNull_;
    return IndexOf(guid) < slots_.size();
}

void GuidHashSet::Grow() { GrowTo(slots_.empty() ? 16 : slots_.size() * 2); }

void GuidHashSet::GrowTo(size_t slots) {
    std::vector<API_Guid> old(slots, API_Guid{});
    old.swap(slots_);
    for (const API_Guid& g : old) {
        if (IsNull(g)) continue;
        size_t i = Home(g);
        while (!IsNull(slots_[i])) i = (i + 1) & Mask();
        slots_[i] = g;
    }
}

void GuidHashSet::Reserve(size_t count) {
    size_t slots = slots_.empty() ? 16 : slots_.size();
    while (count * 4 > slots * 3) slots *= 2;
    if (slots > slots_.size()) GrowTo(slots);
}

bool GuidHashSet::Insert(const API_Guid& guid) {
    if (IsNull(guid)) {
        const bool added = !hasNull_;
        hasNull_ = true;
        return added;
    }
    if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
    size_t i = Home(guid);
    for (; !IsNull(slots_[i]); i = (i + 1) & Mask())
        if (Same(slots_[i], guid)) return false;
    slots_[i] = guid;
    ++size_;
    return true;
}

bool GuidHashSet::Erase(const API_Guid& guid) {
    if (IsNull(guid)) {
        const bool had = hasNull_;
        hasNull_ = false;
        return had;
    }
    size_t hole = IndexOf(guid);
    if (hole >= slots_.size()) return false;
    slots_[hole] = API_Guid{};
    --size_;
    // A slot of the run after the hole moves back into it unless its home lies between the hole and it, so that
    // no search meets an empty slot before its GUID.
    for (size_t i = (hole + 1) & Mask(); !IsNull(slots_[i]); i = (i + 1) & Mask()) {
        const size_t home = Home(slots_[i]);
        const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
        if (stays) continue;
        slots_[hole] = slots_[i];
        slots_[i] = API_Guid{};
        hole = i;
    }
    return true;
}

void GuidHashSet::Clear() {
    std::vector<API_Guid>().swap(slots_);
    size_ = 0;
    hasNull_ = false;
}
