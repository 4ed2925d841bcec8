#include "project/ProjectUndo.hpp"

GSErrCode ProjectUndo::RunUndoableCommand(const std::string& undoText, const std::function<GSErrCode()>& body) {
    if (inCommand_) return Refuse(APIERR_REFUSEDCMD, "an undoable command inside another");
    ProjectModel before = model_;
    const uint64_t changesBefore = changes_;
    inCommand_ = true;
    const GSErrCode err = body ? body() : APIERR_BADPARS;
    inCommand_ = false;
    if (changes_ != changesBefore) {
        undoSnapshots_.push_back(std::move(before));
        undoTexts_.push_back(undoText);
    }
    return err;
}

bool ProjectUndo::Undo() {
    if (inCommand_ || undoSnapshots_.empty()) return false;
    model_ = std::move(undoSnapshots_.back());
    undoSnapshots_.pop_back();
    undoTexts_.pop_back();
    AfterModelRestored();
    ++changes_;
    return true;
}
