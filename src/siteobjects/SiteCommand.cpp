#include "siteobjects/SiteCommand.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

namespace {
constexpr int32_t ExternalCommandEntry = 2;
}  // namespace

GS::UniString SiteUndoText() {
    QV_String text;
    GetResString(text, UndoTableBase + LanguageIndex, ExternalCommandEntry);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

bool RunSiteCommand(const std::function<bool()>& work) {
    bool ok = false;
    const GSErrCode err = ACAPI_CallUndoableCommand(SiteUndoText(), [&]() -> GSErrCode {
        const LeftoverWatch watch;
        ok = work();
        if (!ok) return LodravixErr_StepFailed;
        ok = !watch.Stranded();
        return watch.CommandBodyResult();
    });
    return err == NoError && ok;
}
