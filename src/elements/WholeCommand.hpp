#pragma once
// The one undoable command every command of the add-on runs in. The outermost call opens the host's command; a call
// made while one of the add-on's commands runs (known from the depth of those running, never by asking the host)
// runs its work as part of that one, whose work must then answer the failure. How a failed work ends is the work's
// own answer: taken back whole (nothing half made stays: a line, fill or mesh without its record, a set with some
// objects changed and others not), or kept so far as one undo step when what it made stands on its own (a rebuild
// keeps the objects it rewrote; a new earthwork keeps the set whose objects all stand). A temporary element the host
// would not delete takes the whole command back either way. A command that fails also gives the user back the
// window and the selection they had when it started (and RunUserAction those before the whole action). The caller
// tells the user.
#include "UniString.hpp"

#include <functional>

// The undo text of the add-on's commands: entry 2 of the undo table ("External command").
GS::UniString ExternalCommandUndoText();

// How a command's work ended.
enum class CommandEnd {
    Done,
    Failed,     // take everything back
    KeepSoFar,  // failed, yet what it made stays as one undo step
    Cancelled,  // the user cancelled: what the work made on the way (its probes) is taken back, no step stays and
                // nothing is told
};

// `work` as one undoable command named `undoText`: true when it ended Done and the host kept it, or was cancelled. Inside a running
// command of the add-on the work runs as part of that one and the answer is the same; a leftover stranded by a
// nested work fails the caller's command too.
bool RunCommand(const GS::UniString& undoText, const std::function<CommandEnd()>& work);

// `work` as one undoable command that is taken back whole when it answers false.
bool RunWholeCommand(const std::function<bool()>& work);

// How many of the add-on's commands are running now (0 outside any).
int CommandDepth();

// How many outermost commands of the add-on the host has kept so far (done, or kept so far): an action that kept
// one has changed the project, whatever error it ends with.
int KeptCommandCount();

// One whole action of the user (a palette button, a menu command): a tool may deselect or change the window before
// its command starts, so when the action ends in a take-back (one of its commands failed, or an error or warning was
// shown, and none of its commands was kept) the user gets back the window and selection they had before the whole
// action. An action that kept what it made keeps the selection its tool left on purpose. A selection that could not
// be given back (not read as the action began, or not set again) is told once, as the action ends.
void RunUserAction(const std::function<void()>& action);
