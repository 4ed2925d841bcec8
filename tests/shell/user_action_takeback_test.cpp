// A palette action taken back leaves the selection as the user had it before the whole action, also where the tool
// deselected before its command started: each action of the examples runs again with one host function failing.
#include "ExampleScript.hpp"
#include "InProcessHost.hpp"

#include <string>
#include <vector>

namespace user_action_takeback_test {

struct PaletteAction {
    const char* script;  // the example the action is a line of
    int line;
    std::vector<std::string> selected;  // the selection before the line
    std::vector<std::string> failing;   // host functions whose failure takes the action back
};

// The example up to line `line` with `function` failing on that line only, then the selection checked.
std::string ScriptWithFailure(const PaletteAction& action, const std::string& function, int* firstCheck) {
    const ExampleCut cut = ExampleUpTo(action.script, action.line);
    std::string text = cut.before + "fail " + function + " -1\n" + cut.at + "\nfail clear\n";
    *firstCheck = action.line + 3;
    text += "expect selection " + std::to_string(action.selected.size()) + "\n";
    for (const std::string& name : action.selected) text += "expect selected " + name + "\n";
    return text;
}

class UserActionTakeBackTest : public InProcessHostTest {};

TEST_F(UserActionTakeBackTest, ATakenBackPaletteActionLeavesTheSelectionAsBefore) {
    const std::vector<std::string> common = {"Attribute_Get", "CallUndoableCommand", "GetOwnResModule"};
    const std::vector<PaletteAction> actions = {
        {"site_markers", 48, {"T"}, {"Element_Create", "Element_GetMemo"}},  // spot heights
        {"plateau", 66, {"PLAT", "SPLAT"}, {"Element_Change", "Element_ChangeParameters"}},
        {"road", 45, {"ROAD"}, {"Element_Change", "Element_GetUserData"}},
    };
    for (const PaletteAction& action : actions) {
        std::vector<std::string> functions = common;
        functions.insert(functions.end(), action.failing.begin(), action.failing.end());
        for (const std::string& function : functions) {
            // Each run from a fresh host and dialog script: what a failing line left unused stays behind.
            int firstCheck = 0;
            const std::string script = ScriptWithFailure(action, function, &firstCheck);
            // What the failing line left unused is no matter here.
            const std::string text = RunAfresh(script, action.script);
            for (size_t check = 0; check <= action.selected.size(); ++check)
                EXPECT_EQ(text.find("FAILED (line " + std::to_string(firstCheck + int(check)) + ")"), std::string::npos)
                    << action.script << ":" << action.line << " with " << function << " failing\n"
                    << text.substr(text.size() > 3000 ? text.size() - 3000 : 0);
            // The failure reached the action.
            EXPECT_NE(log.str().find(function + " fails on purpose"), std::string::npos)
                << action.script << " " << function;
        }
    }
}

}  // namespace user_action_takeback_test
