#include "elements/UpkeepCommand.hpp"

#include "elements/ElementHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

#include "UniString.hpp"

bool RunWholeUpkeepCommand(const std::function<bool()>& pass) {
    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, 2);
    const GS::UniString undo(undoText.GetBuffer(), undoText.GetLength());
    bool ran = false;
    bool passed = false;
    const GSErrCode err = ACAPI_CallUndoableCommand(undo, [&]() -> GSErrCode {
        ran = true;
        passed = pass();
        return passed ? NoError : LodravixErr_StepFailed;
    });
    if (!ran && err == APIERR_REFUSEDCMD) return pass();
    return ran && passed && err == NoError;
}
