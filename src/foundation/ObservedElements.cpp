#include "foundation/ObservedElements.hpp"

#include "foundation/GuidHashSet.hpp"

namespace {
// A terrain of a million points attaches a million observers: a flat hash set, not a tree of GUIDs.
GuidHashSet observed;
std::vector<API_Guid> recorded;            // the outermost open journal's new elements
std::vector<API_Guid>* journal = nullptr;  // &recorded while a journal is open
}  // namespace

namespace ObservedElements {
void NoteAttached(const API_Guid& guid) {
    if (observed.Insert(guid) && journal != nullptr) journal->push_back(guid);
}

void NoteDetached(const API_Guid& guid) { observed.Erase(guid); }

void Forget() { observed.Clear(); }

void ExpectAttached(size_t count) {
    observed.Reserve(observed.Size() + count);
    if (journal != nullptr) journal->reserve(journal->size() + count);
}

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
    for (const API_Guid& guid : added) observed.Erase(guid);
    return added;
}
}  // namespace ObservedElements
