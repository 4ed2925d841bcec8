// Script commands of the user's clicks in the plan window (queued before the module asks for input), with the
// checks of the inputs the module asked for.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

void AddInputCommands(ScriptLanguage& L) {
    L.Add(
        "click cancel", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            QueuedClick c;
            c.kind = QueuedClick::Cancel;
            c.scriptLine = r.Line();
            r.Host().Input().QueueClick(c);
            return true;
        },
        "queue: the user cancels the next input (Escape)");
    L.Add(
        "click done", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            QueuedClick c;
            c.kind = QueuedClick::Done;
            c.scriptLine = r.Line();
            r.Host().Input().QueueClick(c);
            return true;
        },
        "queue: the user finishes a polygon input");
    L.Add(
        "click <x:number> <y:number> [<element:text>] [<part:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"x", "y"}, &v, m)) return false;
            QueuedClick c;
            c.point = {v[0], v[1], 0.0};
            if (a.Has("element")) c.elementName = a.Text("element");
            if (a.Has("part")) c.partIndex = a.Int("part");
            c.scriptLine = r.Line();
            r.Host().Input().QueueClick(c);
            return true;
        },
        "queue: the user clicks at x y, optionally on the named element and its side or vertex <part>");
    L.Add(
        "expect inputs <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("inputs", int64_t(r.Host().Input().Inputs().size()), a.Int("count"), m);
        },
        "the module asked for <count> inputs (points, lines, polygons)");
    L.Add(
        "expect input <index:int> <state:clicked|picked|cancelled> [<prompt:text>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const auto& inputs = r.Host().Input().Inputs();
            const int32_t i = a.Int("index");
            if (i < 1 || size_t(i) > inputs.size()) {
                *m = "there are " + std::to_string(inputs.size()) + " inputs";
                return false;
            }
            const InteractiveInput::InputRecord& in = inputs[size_t(i) - 1];
            const std::string state = in.result != NoError ? "cancelled"
                : in.picked != APINULLGuid                 ? "picked"
                                                           : "clicked";
            *m = in.kind + " input \"" + in.prompt + "\" " + state;
            if (a.Has("prompt") && in.prompt != a.Text("prompt")) return false;
            return state == a.Text("state");
        },
        "input <index> (from 1) ended so, and showed that prompt");
    L.Add(
        "expect clicks-left <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("clicks left", int64_t(r.Host().Input().PendingClicks()), a.Int("count"), m);
        },
        "the number of queued clicks (and done/cancel) no input has taken yet");
    L.Add(
        "expect rubber-lines <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("rubber lines", int64_t(r.Host().Input().RubberLines().size()), a.Int("count"), m);
        },
        "the number of rubber lines the module drew while it asked for input");
}
