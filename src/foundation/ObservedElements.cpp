#include "foundation/ObservedElements.hpp"

#include <cstring>
#include <set>

namespace {
struct GuidLess {
    bool operator()(const API_Guid& a, const API_Guid& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};
std::set<API_Guid, GuidLess> observed;
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
