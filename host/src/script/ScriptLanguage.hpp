#pragma once
// The stand-in host's script language: one command per line; words separated by blanks; "quoted text" with
// \" \\ \n \r \t escapes; '#' starts a comment outside quotes.
//
// Every command is a pattern of literal words and typed slots, e.g. "dialog <dialog:int> click <item:int>":
// kinds are int (decimal or 0x hexadecimal, -2147483648 to 0xFFFFFFFF), number (a finite decimal number, a
// length in metres), point ("x,y" or "x,y,z"), points (points separated by blanks, in one quoted text), text (any
// word or quoted text), dialog (a dialog id, or dialog/tab control/page for a tab page: "32571/3/1") and a choice
// of words (a|b|c). A slot in [brackets] at the end is optional. A whole script is checked before its first line
// runs: an unknown command or a bad argument is reported with its line number and nothing runs.
//
// Names are checked then too. A new-element slot gives the element the line makes (or finds) a name; an element
// slot takes a name that an earlier line gave, or that an element of the project had before the script; in an
// element-text every "{X}" is such a name. A kind registered with AddWords ("element-type") takes one of its
// words. A misspelt name refuses the script with the closest names.
//
// To extend the language: ScriptLanguage::Add with a new pattern and its handler (script/ScriptCommands.hpp
// lists the families of the host's commands).
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct ScriptToken {
    std::string text;
    bool quoted = false;
};

// A word as a script line would write it: a quoted word in double quotes with its quotes, backslashes, line feeds,
// returns and tabs escaped, so that TokenizeScriptLine reads it back as it is.
std::string WrittenScriptToken(const ScriptToken& token);

// Splits one line into words; false with a readable error (e.g. an unterminated quote).
bool TokenizeScriptLine(const std::string& line, std::vector<ScriptToken>* tokens, std::string* error);

// Strict number of a script: decimal or 0x hexadecimal, optional '-', -2147483648 to 0xFFFFFFFF.
bool ParseScriptInt(const std::string& text, int64_t* value);
// A finite decimal number, the whole text ("2.5", "-300", "1e3").
bool ParseScriptReal(const std::string& text, double* value);
// A dialog slot: "<dialog>" or "<dialog>/<tab control>/<page>", each 1 to 32767 (tab and page 0 when absent).
bool ParseScriptDialogRef(const std::string& text, int16_t* dialog, int16_t* tabItem, int16_t* page);

class ScriptArgs {
public:
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    const std::string& Text(const std::string& name) const;
    // Values above 0x7FFFFFFF wrap to negative 32-bit values (error codes are written 0x8106....).
    int32_t Int(const std::string& name) const;
    // The number as read, unwrapped.
    int64_t Number(const std::string& name) const;
    void Set(const std::string& name, const std::string& text, int64_t number) {
        values_[name] = text;
        numbers_[name] = number;
    }

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, int64_t> numbers_;
};

class ScriptContext;

// Runs one command: true when it did what it says (actions) or held (checks); `message` tells what was found.
using ScriptHandler = std::function<bool(ScriptContext& run, const ScriptArgs& args, std::string* message)>;

struct ScriptCommand {
    int line = 0;
    std::string source;
    size_t form = 0;
    ScriptArgs args;
};

class ScriptLanguage {
public:
    // isCheck: a failed check is counted and the script goes on; a failed action stops the script.
    void Add(const std::string& pattern, bool isCheck, ScriptHandler handler, const std::string& help = "");
    // A kind of slot that takes one of a set of words: `shown` are named in help and errors, `accepts` (may be null)
    // takes other spellings too (a number for a name). Patterns added later may use it as <slot:kind>.
    void AddWords(const std::string& kind, const std::string& what, std::vector<std::string> shown,
                  std::function<bool(const std::string&)> accepts = nullptr);
    // `namedBefore`: the element names the project has before the script runs; `dialogs`: the numbers of the
    // module's dialogs, which a slot named <dialog> takes (any from 1 to 32767 when empty).
    bool Parse(const std::string& text, std::vector<ScriptCommand>* commands, std::vector<std::string>* errors,
               const std::set<std::string>& namedBefore = {}, const std::set<int32_t>& dialogs = {}) const;
    // One line per command: the pattern and its help.
    std::string Usage() const;
    // One line per kind of AddWords: <...:kind>, what it names and its words.
    std::string WordsUsage() const;
    // The first words of every command ("click", "expect", ...), each once.
    std::vector<std::string> CommandWords() const;

    struct Slot {
        bool literal = true;
        std::string text;  // literal word, or the slot's name
        enum Kind { Int, Number, Point, Points, Text, Choice, Dialog, Element, NewElement, ElementText, Words };
        Kind kind = Text;
        std::vector<std::string> choices;  // of a Choice; of Words, its kind's name alone
        bool optional = false;
    };
    struct Form {
        std::string pattern;
        std::vector<Slot> slots;
        bool isCheck = false;
        ScriptHandler handler;
        std::string help;
    };
    const Form& At(size_t index) const { return forms_[index]; }
    size_t Size() const { return forms_.size(); }

private:
    struct WordList {
        std::string what;  // "element type"
        std::vector<std::string> shown;
        std::function<bool(const std::string&)> accepts;
    };
    struct Known {
        std::set<std::string> names;  // the element names given so far
        std::set<int32_t> dialogs;    // the module's dialogs
    };
    // The names of a matched line that are not known; false with why.
    bool CheckNames(const Form& form, const ScriptArgs& args, const Known& known, std::string* why) const;
    // After a line's error: the forms whose first `matched` words fit the line, as few as tell the user enough.
    std::string ClosestForms(const std::vector<ScriptToken>& tokens, size_t matched) const;

    std::vector<Form> forms_;
    std::map<std::string, WordList> words_;
};
