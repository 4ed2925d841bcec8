#pragma once
// The elements the add-on has attached its observer to, as its own attach and detach calls tell, and those a
// running command attached anew. The host does not take an observer back with a command it takes back, so a
// command that is taken back detaches the observers it added: an element the user placed, whose answer
// failed, is left as the user made it, not observed without its records.
#include "APIDefs.hpp"

#include <vector>

namespace ObservedElements {
// The host accepted an attach or a detach (called by the host-call wrappers).
void NoteAttached(const API_Guid& guid);
void NoteDetached(const API_Guid& guid);
// Another project is open: none of its elements is observed yet.
void Forget();
// About `count` elements are about to be attached (an import's points): room for them at once.
void ExpectAttached(size_t count);

// Records, while it lives, the elements attached that the add-on did not observe before. Only the outermost
// journal records; one made inside it does nothing.
class CommandJournal {
public:
    CommandJournal();
    ~CommandJournal();
    CommandJournal(const CommandJournal&) = delete;
    CommandJournal& operator=(const CommandJournal&) = delete;
    // The elements this journal recorded, handed over once and no longer counted as observed (the caller detaches
    // them: the command was taken back); none from a journal inside another.
    std::vector<API_Guid> TakeAdded();

private:
    bool outermost_;
};
}  // namespace ObservedElements
