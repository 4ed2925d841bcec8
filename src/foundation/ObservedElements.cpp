#include "foundation/ObservedElements.hpp"

#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace {
// A terrain of a million points attaches a million observers: a hash of the GUID's two halves, not a tree walked
// by byte comparisons. Nothing walks the set, so its order does not matter.
struct GuidHash {
    size_t operator()(const API_Guid& g) const noexcept {
        uint64_t x[2];
        std::memcpy(x, &g, sizeof x);
        uint64_t h = x[0] ^ (x[1] * 0x9E3779B97F4A7C15ull);
        h ^= h >> 32;
        h *= 0xD6E8FEB86659FD93ull;
        h ^= h >> 32;
        return size_t(h);
    }
};
struct GuidEqual {
    bool operator()(const API_Guid& a, const API_Guid& b) const { return std::memcmp(&a, &b, sizeof a) == 0; }
};
std::unordered_set<API_Guid, GuidHash, GuidEqual> observed;
std::vector<API_Guid> recorded;            // the outermost open journal's new elements
std::vector<API_Guid>* journal = nullptr;  // &recorded while a journal is open
}  // namespace

namespace ObservedElements {
void NoteAttached(const API_Guid& guid) {
    if (observed.insert(guid).second && journal != nullptr) journal->push_back(guid);
}

void NoteDetached(const API_Guid& guid) { observed.erase(guid); }

void Forget() { observed.clear(); }

CommandJournal::CommandJournal() : outermost_(journal == nullptr) {
    if (!outermost_) return;
    recorded.clear();
    journal = &recorded;
}

CommandJournal::~CommandJournal() {
    if (outermost_) journal = nullptr;
}

std::vector<API_Guid> CommandJournal::TakeAdded() {
    if (!outermost_) return {};
    std::vector<API_Guid> added = std::move(recorded);
    recorded.clear();
    for (const API_Guid& guid : added) observed.erase(guid);
    return added;
}
}  // namespace ObservedElements
