#include "elements/LeftoverElements.hpp"

#include "elements/ElementHelpers.hpp"
#include "foundation/ACAPI.hpp"

namespace {
bool strandedNote = false;
int watches = 0;
}  // namespace

void ForgetStrandedChange() { strandedNote = false; }

void NoteStrandedChange() {
    if (watches > 0) strandedNote = true;
}

bool DeleteLeftoverElements(const GS::Array<API_Guid>& guids) {
    if (guids.GetSize() == 0) return true;
    if (ACAPI_Element_Delete(guids) == NoError) return true;
    strandedNote = true;
    return false;
}

bool DeleteLeftoverElement(const API_Guid& guid) {
    GS::Array<API_Guid> one;
    one.Push(guid);
    return DeleteLeftoverElements(one);
}

LeftoverWatch::LeftoverWatch() : outer(strandedNote) {
    strandedNote = false;
    ++watches;
}

LeftoverWatch::~LeftoverWatch() {
    --watches;
    strandedNote = strandedNote || outer;
}

bool LeftoverWatch::Stranded() const { return strandedNote; }

GSErrCode LeftoverWatch::CommandBodyResult() const { return strandedNote ? LodravixErr_StepFailed : NoError; }
