#include "project/ProjectUndo.hpp"

GSErrCode ProjectUndo::RunUndoableCommand(const std::string& undoText, const std::function<GSErrCode()>& body) {
    if (inCommand_) return Refuse(APIERR_REFUSEDCMD, "an undoable command inside another");
    // The small parts whole; the elements as the command touches them (Touch).
    pending_ = UndoStep();
    pending_.attributes = model_.attributes;
    pending_.stories = model_.stories;
    pending_.databases = model_.databases;
    pending_.solidLinks = model_.solidLinks;
    pending_.firstSerial = nextSerial_;
    const uint64_t changesBefore = changes_;
    if (commandListener) commandListener(false);
    inCommand_ = true;
    const GSErrCode err = body ? body() : APIERR_BADPARS;
    inCommand_ = false;
    pending_.endSerial = nextSerial_;
    if (changes_ != changesBefore) {
        if (err != NoError) {
            // As the host does: a command that reports an error is taken back whole and leaves no undo step.
            TakeBack(pending_);
            if (commandListener) commandListener(true);
        } else {
            undoSteps_.push_back(std::move(pending_));
            undoTexts_.push_back(undoText);
            if (stepListener) stepListener();
        }
    }
    pending_ = UndoStep();
    return err;
}

void ProjectUndo::TakeBack(UndoStep& step) {
    for (const API_Guid& made : model_.elements.WithSerials(step.firstSerial, step.endSerial))
        model_.elements.Erase(made);
    for (auto& kv : step.elementsBefore) model_.elements.Put(kv.first, std::move(*kv.second));
    model_.attributes = std::move(step.attributes);
    attributeNames_.clear();
    model_.stories = std::move(step.stories);
    model_.databases = std::move(step.databases);
    model_.solidLinks = std::move(step.solidLinks);
    AfterModelRestored();
    // The model is back as it was, yet caches keyed on the change count must not take it for an older state.
    ++changes_;
}

bool ProjectUndo::Undo() {
    if (inCommand_ || undoSteps_.empty()) return false;
    TakeBack(undoSteps_.back());
    undoSteps_.pop_back();
    undoTexts_.pop_back();
    return true;
}

size_t ProjectUndo::UndoElementStates() const {
    size_t n = 0;
    for (const UndoStep& step : undoSteps_) n += step.elementsBefore.size() + step.made;
    return n;
}
