#pragma once
// Elements a step must not leave behind: those it made only for its own use (the cutting slabs of height sampling,
// a terrain copy), the objects of a set that failed halfway, and the objects a new one replaces. One the host
// refuses to delete would outlive the command; only the host can still remove it, by taking that command back. So
// such a refusal is noted, and the body of the undoable command answers the host with an error when the note is
// set (`LeftoverWatch::CommandBodyResult`).
#include "APIElements.hpp"
#include "GSArray.hpp"

// A change the step made for its own use that it could not undo (a layer it opened and could not close again):
// like an element the host would not delete, it takes the command back. Outside any watch, nothing.
void NoteStrandedChange();
// Forgets a note no command took up (the module's life ends).
void ForgetStrandedChange();

// Deletes the elements; false, and the note set, when the host refuses.
bool DeleteLeftoverElements(const GS::Array<API_Guid>& guids);
bool DeleteLeftoverElement(const API_Guid& guid);

// Watches one undoable command's body, or a step run inside the caller's command: it sees only what was stranded
// since it started, and hands that on to the watch around it when it ends, so a nested step never hides the
// caller's note.
class LeftoverWatch {
public:
    LeftoverWatch();
    ~LeftoverWatch();
    LeftoverWatch(const LeftoverWatch&) = delete;
    LeftoverWatch& operator=(const LeftoverWatch&) = delete;
    // What the body answers the host: success, so that what the body made stays (its caller tells a failed step),
    // unless a leftover could not be deleted since the watch started; then an error, and the host takes the whole
    // command back.
    GSErrCode CommandBodyResult() const;
    // A leftover could not be deleted since the watch started.
    bool Stranded() const;

private:
    bool outer;  // the note as the watch around this one had it
};
