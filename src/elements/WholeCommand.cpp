#include "elements/WholeCommand.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

namespace {
constexpr int32_t ExternalCommandEntry = 2;
}  // namespace

GS::UniString ExternalCommandUndoText() {
    QV_String text;
    GetResString(text, UndoTableBase + LanguageIndex, ExternalCommandEntry);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

bool RunWholeCommand(const std::function<bool()>& work) {
    bool ran = false;
    bool ok = false;
    const GSErrCode err = ACAPI_CallUndoableCommand(ExternalCommandUndoText(), [&]() -> GSErrCode {
        ran = true;
        const LeftoverWatch watch;
        ok = work();
        if (!ok) return LodravixErr_StepFailed;
        ok = !watch.Stranded();
        return watch.CommandBodyResult();
    });
    // Inside the caller's own undoable command the work runs in that one, and its leftovers fail it there.
    if (!ran && err == APIERR_REFUSEDCMD) {
        const LeftoverWatch watch;
        return work() && !watch.Stranded();
    }
    return ran && ok && err == NoError;
}
