#include "elements/WholeCommand.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/UserView.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ObservedElements.hpp"
#include "foundation/QV_String.hpp"

namespace {
constexpr int32_t ExternalCommandEntry = 2;
constexpr const char* BuiltInUndoText = "External command";

int depth = 0;
// Outermost commands so far that ended otherwise than done, and those the host kept (done, or kept so far).
int failedCommands = 0;
int keptCommands = 0;
// User actions running, and the error of the latest selection a failed command of theirs could not give back.
int userActions = 0;
int32_t lostSelection = NoErrorCode;

// Gives the user's view back; what could not be given back is told once, by the action around, or here outside one.
void GiveBackView(UserView& view) {
    const int32_t code = view.GiveBack();
    if (code == NoErrorCode) return;
    if (userActions > 0)
        lostSelection = code;
    else
        ShowErrorMessage(code, AlertKind::Error);
}

// Counts the command as running for as long as its work runs, whatever way the work leaves.
class Depth {
public:
    Depth() { ++depth; }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
};

// The work inside a command already running: its failure is the caller's to answer.
bool RunNested(const std::function<CommandEnd()>& work) {
    const Depth running;
    const LeftoverWatch watch;
    const CommandEnd end = work();
    // A cancel inside another command leaves its probes to the caller's command, which goes on.
    return (end == CommandEnd::Done || end == CommandEnd::Cancelled) && !watch.Stranded();
}
}  // namespace

GS::UniString ExternalCommandUndoText() {
    QV_String text;
    GetResString(text, UndoTableBase + LanguageIndex, ExternalCommandEntry);
    // The step still needs a name the user can read in the undo list when the resources would not give it.
    if (!IsResText(text)) text = QV_String(BuiltInUndoText);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

bool RunCommand(const GS::UniString& givenUndoText, const std::function<CommandEnd()>& work) {
    if (depth > 0) return RunNested(work);
    const bool unread = !IsResText(QV_String(givenUndoText.ToUStr(), givenUndoText.GetLength() * 2, Encoding_UTF16LE));
    const GS::UniString undoText = unread ? ExternalCommandUndoText() : givenUndoText;
    UserView view;
    bool ran = false;
    CommandEnd end = CommandEnd::Failed;
    bool stranded = false;
    ObservedElements::CommandJournal observers;
    const GSErrCode err = ACAPI_CallUndoableCommand(undoText, [&]() -> GSErrCode {
        ran = true;
        const Depth running;
        const LeftoverWatch watch;
        end = work();
        stranded = watch.Stranded();
        if (stranded || end == CommandEnd::Failed || end == CommandEnd::Cancelled) return LodravixErr_StepFailed;
        return NoError;
    });
    // The host takes back the elements, not the observers attached to those that stay. An element the take-back
    // removed is not there to detach.
    if (ran && err != NoError)
        for (const API_Guid& guid : observers.TakeAdded()) ACAPI_Element_DetachObserver(guid);
    const bool cancelled = ran && end == CommandEnd::Cancelled && !stranded;
    const bool ok = cancelled || (ran && err == NoError && end == CommandEnd::Done && !stranded);
    if (ran && err == NoError && !stranded) ++keptCommands;
    if (!ok) {
        GiveBackView(view);
        ++failedCommands;
    }
    return ok;
}

bool RunWholeCommand(const std::function<bool()>& work) {
    return RunCommand(ExternalCommandUndoText(), [&] { return work() ? CommandEnd::Done : CommandEnd::Failed; });
}

int CommandDepth() { return depth; }

int KeptCommandCount() { return keptCommands; }

void RunUserAction(const std::function<void()>& action) {
    UserView view;
    const int failedBefore = failedCommands;
    const int keptBefore = keptCommands;
    const int warningsBefore = WarningsShown();
    const int32_t lostBefore = lostSelection;
    lostSelection = NoErrorCode;
    ++userActions;
    action();
    --userActions;
    // An error the user was told of in an action that kept a command (a click off the terrain among good ones)
    // is no take-back: what the action made stays, and the selection its tool left with it.
    const bool failed = failedCommands != failedBefore || WarningsShown() != warningsBefore;
    if (failed && keptCommands == keptBefore) lostSelection = view.GiveBack();
    const int32_t lost = lostSelection;
    lostSelection = lostBefore;
    // An action inside another leaves the telling to the outer one.
    if (lost != NoErrorCode && userActions > 0)
        lostSelection = lost;
    else if (lost != NoErrorCode)
        ShowErrorMessage(lost, AlertKind::Error);
}
