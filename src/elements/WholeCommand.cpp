#include "elements/WholeCommand.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

namespace {
constexpr int32_t ExternalCommandEntry = 2;

int depth = 0;

// Counts the command as running for as long as its work runs, whatever way the work leaves.
class Depth {
public:
    Depth() { ++depth; }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
};

// What the user saw when the command started, the window in front and the selection, given back when the command
// fails: a failed command leaves the user where they were. What the host cannot tell is left as it is.
class UserView {
public:
    UserView() {
        windowKnown = ACAPI_Database(APIDb_GetCurrentWindowID, &window) == NoError;
        selectionKnown = ReadSelection(selection);
    }
    void GiveBack() {
        API_WindowInfo now = {};
        if (windowKnown && ACAPI_Database(APIDb_GetCurrentWindowID, &now) == NoError &&
            (now.typeID != window.typeID || !(now.databaseUnId == window.databaseUnId)))
            ACAPI_Automate(APIDo_ChangeWindowID, &window);
        GS::Array<API_Neig> nowSelected;
        if (!selectionKnown || !ReadSelection(nowSelected) || SameElements(nowSelected, selection)) return;
        ACAPI_Element_DeselectAll();
        if (selection.GetSize() > 0) ACAPI_Element_Select(selection, true);
    }

private:
    static bool ReadSelection(GS::Array<API_Neig>& neigs) {
        API_SelectionInfo info = {};
        const GSErrCode err = ACAPI_Selection_Get(&info, &neigs, false);
        if (info.marquee != nullptr) {
            GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
            BMKillHandle(&marquee);
        }
        if (err == APIERR_NOSEL) neigs.Clear();
        return err == NoError || err == APIERR_NOSEL;
    }
    static bool SameElements(const GS::Array<API_Neig>& a, const GS::Array<API_Neig>& b) {
        if (a.GetSize() != b.GetSize()) return false;
        for (uint32_t i = 0; i < a.GetSize(); ++i)
            if (!(a[i].guid == b[i].guid)) return false;
        return true;
    }

    API_WindowInfo window = {};
    GS::Array<API_Neig> selection;
    bool windowKnown = false;
    bool selectionKnown = false;
};

// The work inside a command already running: its failure is the caller's to answer.
bool RunNested(const std::function<CommandEnd()>& work) {
    const Depth running;
    const LeftoverWatch watch;
    const CommandEnd end = work();
    return end == CommandEnd::Done && !watch.Stranded();
}
}  // namespace

GS::UniString ExternalCommandUndoText() {
    QV_String text;
    GetResString(text, UndoTableBase + LanguageIndex, ExternalCommandEntry);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

bool RunCommand(const GS::UniString& undoText, const std::function<CommandEnd()>& work) {
    if (depth > 0) return RunNested(work);
    UserView view;
    bool ran = false;
    CommandEnd end = CommandEnd::Failed;
    bool stranded = false;
    const GSErrCode err = ACAPI_CallUndoableCommand(undoText, [&]() -> GSErrCode {
        ran = true;
        const Depth running;
        const LeftoverWatch watch;
        end = work();
        stranded = watch.Stranded();
        if (stranded || end == CommandEnd::Failed) return LodravixErr_StepFailed;
        return NoError;
    });
    const bool ok = ran && err == NoError && end == CommandEnd::Done && !stranded;
    if (!ok) view.GiveBack();
    return ok;
}

bool RunWholeCommand(const std::function<bool()>& work) {
    return RunCommand(ExternalCommandUndoText(), [&] { return work() ? CommandEnd::Done : CommandEnd::Failed; });
}

int CommandDepth() { return depth; }
