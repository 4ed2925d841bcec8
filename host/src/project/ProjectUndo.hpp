#pragma once
// Undoable commands. Model changes are refused outside one (APIERR_NEEDSUNDOSCOPE); the changes made inside one
// command form one undo step. A command whose body returns an error is taken back whole, as the host does: a body
// that wants what it made before a failed step to stay returns success and tells the failure itself. Undo restores
// the project as it was before the command (elements, attributes, stories, databases). A step keeps only the
// elements its command touched, so its memory follows the change, not the project's size.
#include "project/ProjectCore.hpp"

#include <functional>

class ProjectUndo : public virtual ProjectCore {
public:
    GSErrCode RunUndoableCommand(const std::string& undoText, const std::function<GSErrCode()>& body);
    bool InCommand() const { return inCommand_; }
    // Takes back the latest step; false when there is none (or a command is running).
    bool Undo();
    const std::vector<std::string>& UndoTexts() const { return undoTexts_; }
    // Element states kept by all undo steps together (what their memory grows with), an element made counted
    // as one.
    size_t UndoElementStates() const;

private:
    // Puts back what the step kept.
    void TakeBack(UndoStep& step);
};
